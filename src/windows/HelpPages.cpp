#include "windows/HelpPages.h"

#include <algorithm>
#include <cstring>

namespace HelpPages {

size_t StorePage(const uint8_t* data, size_t size, char* text)
{
    size_t n = 0;
    while (n < size && n < kMaxBytes && data[n] != '#') {
        text[n] = static_cast<char>(data[n]);
        ++n;
    }
    text[n] = '\n';
    text[n + 1] = '\0';
    return n;
}

int RowStarts(const char* text, size_t n, uint16_t* starts)
{
    int count = 0;
    starts[count++] = 0;
    for (size_t i = 0; i + 1 < n && count < kMaxRows; ++i)
        if (text[i] == '\n')
            starts[count++] = static_cast<uint16_t>(i + 1);
    return count;
}

std::string_view RowText(const char* text, size_t n, size_t start)
{
    if (start > n)
        return {};
    const void* lf = std::memchr(text + start, '\n', n + 1 - start);
    const size_t end = lf ? static_cast<size_t>(static_cast<const char*>(lf) - text) : n;
    return std::string_view(text + start, end - start);
}

SHit Search(int start, int top, int rowCount, const std::function<int(int)>& load,
            const std::function<bool(int)>& has)
{
    if (start < 0 || start >= kPages)
        start = 0;
    int page = start, rows = rowCount, i = top + 1;
    for (int loads = 0;; ++loads) {
        // Back on the start page, only the rows above the old top are left.
        const int end = loads == kPages ? std::min(top, rows) : rows;
        for (; i < end; ++i)
            if (has(i))
                return SHit{page, i};
        if (loads == kPages)
            return SHit{page, -1};
        page = (page + 1) % kPages;
        rows = load(page);
        i = 0;
    }
}

}  // namespace HelpPages
