// The help pages (".htx" entries): single- and double-byte (CP949) text in
// lines ended by line feeds; the first '#' ends a page. A page keeps at most
// 3839 bytes and shows at most 128 rows.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

namespace HelpPages {

constexpr int kPages = 7;
constexpr size_t kMaxBytes = 3839;
// The stored bytes, the line feed that closes the last row and a NUL.
constexpr size_t kTextSize = kMaxBytes + 2;
constexpr int kMaxRows = 128;

// Stores an entry's bytes before its first '#' (at most kMaxBytes) in text
// (kTextSize bytes), then a line feed and a NUL; the count stored.
size_t StorePage(const uint8_t* data, size_t size, char* text);
// Where the rows of text's n stored bytes start: at 0 and after every line
// feed before the last stored byte, at most kMaxRows; the row count.
int RowStarts(const char* text, size_t n, uint16_t* starts);
// The row starting at start, up to its line feed (text[n] is one).
std::string_view RowText(const char* text, size_t n, size_t start);

// A hit of the search: the page index and its row; row -1 when nothing was
// found (the start page was loaded again).
struct SHit {
    int page = 0;
    int row = -1;
};

// Searches from the row after top of page start: the rest of that page,
// the following pages in table order, then the start page's rows above
// top, loading each page once. load(p) shows page p and gives its row count
// (0 when it cannot be opened); has(row) says whether that row of the shown
// page holds the key. At most kPages loads.
SHit Search(int start, int top, int rowCount, const std::function<int(int)>& load,
            const std::function<bool(int)>& has);

}  // namespace HelpPages
