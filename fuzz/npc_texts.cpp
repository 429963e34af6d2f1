// Arbitrary bytes as the NPC talk text through the talk box's wrap (exactly
// the input's bytes, so a read past them is caught) and as a "Profile.sav"
// through the profile record's line reader. The wrap gives one to ten lines
// of whole characters, at most 43 bytes each, taken from the text in order;
// the profile keeps three terminated lines of whole characters.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "fuzz_seeds.h"
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

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* dir = std::getenv("QUORVEL_FUZZ_SEED_DIR")) {
        WriteSeed(dir, "talk", std::string(" \xB0\xA1\xB3\xAA talk to me, traveller ") + std::string(60, 'a'));
        WriteSeed(dir, "lone_lead", std::string(41, 'a') + "\xB0");
        WriteSeed(dir, "profile", "first line\r\n\xB0\xA1\xB0\xA1 second\nthird line that runs on far too long\n");
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
    return 0;
}
