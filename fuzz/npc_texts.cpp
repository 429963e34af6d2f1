// Arbitrary bytes as the NPC talk text through the talk box's wrap (exactly
// the input's bytes, so a read past them is caught), as a "Profile.sav"
// through the profile record's line reader and as help pages with a search. The wrap gives one to ten lines
// of whole characters, at most 43 bytes each, taken from the text in order;
// the profile keeps three terminated lines of whole characters.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz_seeds.h"
#include "windows/HelpPages.h"
#include "windows/ProfileRecord.h"
#include "windows/TalkBoxWin.h"

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

// Every lead byte of the n bytes has its trail among them.
bool WholeCharacters(const char* s, size_t n)
{
    for (size_t i = 0; i < n; i += static_cast<uint8_t>(s[i]) >= 0x80 ? 2 : 1)
        if (static_cast<uint8_t>(s[i]) >= 0x80 && i + 1 >= n)
            return false;
    return true;
}

struct SPage {
    std::array<char, HelpPages::kTextSize> text{};
    size_t size = 0;
    std::array<uint16_t, HelpPages::kMaxRows> starts{};
    int rows = 0;
    bool opened = false;
};

void Load(SPage& page, const std::string& bytes)
{
    page.opened = !bytes.empty();
    if (!page.opened)
        return;
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    page.size = HelpPages::StorePage(data, bytes.size(), page.text.data());
    Check(page.size <= HelpPages::kMaxBytes && page.size <= bytes.size());
    Check(std::memcmp(page.text.data(), bytes.data(), page.size) == 0);
    Check(std::memchr(page.text.data(), '#', page.size) == nullptr);
    Check(page.text[page.size] == '\n' && page.text[page.size + 1] == '\0');
    page.rows = HelpPages::RowStarts(page.text.data(), page.size, page.starts.data());
    Check(page.rows >= 1 && page.rows <= HelpPages::kMaxRows);
    size_t next = 0;
    for (int i = 0; i < page.rows; ++i) {
        const size_t start = page.starts[static_cast<size_t>(i)];
        Check(start == next && start <= page.size);
        const std::string_view row = HelpPages::RowText(page.text.data(), page.size, start);
        Check(row.find('\n') == std::string_view::npos && start + row.size() <= page.size);
        next = start + row.size() + 1;
    }
}

// The same bytes as help pages and a search word. Layout: key length (low
// 4 bits), the key, the start page, the top row, then up to seven pages
// separated by 0xFF bytes (an empty one cannot be opened). A page keeps at
// most 3839 bytes before its "#", ends in a line feed and a NUL and yields
// at most 128 rows; the search loads every page at most once and a hit is a
// row that holds the word.
void FuzzHelp(const uint8_t* data, size_t size)
{
    if (size < 3)
        return;
    const size_t keyLen = data[0] & 0x0F;
    if (size < 3 + keyLen)
        return;
    const std::string key(reinterpret_cast<const char*>(data + 1), keyLen);
    const int start = data[1 + keyLen] % HelpPages::kPages;
    const int top = data[2 + keyLen];
    std::array<std::string, HelpPages::kPages> bytes;
    size_t p = 0;
    for (size_t i = 3 + keyLen; i < size; ++i) {
        if (data[i] == 0xFF) {
            if (++p == bytes.size())
                break;
        } else {
            bytes[p] += static_cast<char>(data[i]);
        }
    }

    std::array<SPage, HelpPages::kPages> pages;
    SPage* shown = &pages[static_cast<size_t>(start)];
    Load(*shown, bytes[static_cast<size_t>(start)]);
    int loads = 0, asked = 0, shownIndex = start;
    auto load = [&](int page) {
        Check(page >= 0 && page < HelpPages::kPages && ++loads <= HelpPages::kPages);
        shownIndex = page;
        shown = &pages[static_cast<size_t>(page)];
        *shown = SPage{};
        Load(*shown, bytes[static_cast<size_t>(page)]);
        return shown->opened ? shown->rows : 0;
    };
    std::string_view lastRow;
    auto has = [&](int row) {
        Check(shown->opened && row >= 0 && row < shown->rows);
        ++asked;
        lastRow = HelpPages::RowText(shown->text.data(), shown->size, shown->starts[static_cast<size_t>(row)]);
        return lastRow.find(key) != std::string_view::npos;
    };
    const int rows = shown->opened ? shown->rows : 0;
    const HelpPages::SHit hit = HelpPages::Search(start, top, rows, load, has);
    Check(hit.page == shownIndex);
    if (hit.row >= 0) {
        Check(hit.row < shown->rows && lastRow.find(key) != std::string_view::npos);
        return;
    }
    // Nothing: every row was asked about once, but the start page's top row.
    Check(hit.page == start && loads == HelpPages::kPages);
    int expected = 0;
    for (const SPage& page : pages)
        expected += page.opened ? page.rows : 0;
    if (pages[static_cast<size_t>(start)].opened && top < pages[static_cast<size_t>(start)].rows)
        --expected;
    Check(asked == expected);
    }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* dir = std::getenv("QUORVEL_FUZZ_SEED_DIR")) {
        WriteSeed(dir, "talk", std::string(" \xB0\xA1\xB3\xAA talk to me, traveller ") + std::string(60, 'a'));
        WriteSeed(dir, "lone_lead", std::string(41, 'a') + "\xB0");
        WriteSeed(dir, "profile", "first line\r\n\xB0\xA1\xB0\xA1 second\nthird line that runs on far too long\n");
        WriteSeed(dir, "two_pages", std::string("\x04walk\x00\x00", 7) + "a\nwalk\n#x\xFF\xFFrun\nwalk here\n");
        WriteSeed(dir, "top_only", std::string("\x03top\x02\x01", 6) + "a\ntop\nb\xFF" "c\n\xFF" "d");
        WriteSeed(dir, "none", std::string("\x01z\x06\x00", 4));
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto text = std::make_unique<char[]>(size);
    std::memcpy(text.get(), data, size);
    TalkLines lines;
    std::memset(&lines, 0x5A, sizeof lines);
    const int count = WrapTalkText(text.get(), size, lines);
    Check(count >= 1 && count <= kTalkLines);
    size_t used = 0;
    for (int i = 0; i < kTalkLines; ++i) {
        const auto& line = lines[static_cast<size_t>(i)];
        const size_t n = strnlen(line.data(), line.size());
        Check(n < line.size() && n <= kTalkLineBytes + 1);
        Check(i < count || n == 0);
        Check(WholeCharacters(line.data(), n));
        used += n;
    }
    Check(used <= size);

    ProfileRecord rec;
    std::memset(rec.lines, 0xB0, sizeof rec.lines);
    rec.ParseLines(data, size);
    for (const auto& line : rec.lines) {
        const size_t n = strnlen(line, sizeof line);
        Check(n <= ProfileRecord::kLineKept && WholeCharacters(line, n));
        for (size_t i = n; i < sizeof line; ++i)
            Check(line[i] == 0);
    }
    FuzzHelp(data, size);
    return 0;
}
