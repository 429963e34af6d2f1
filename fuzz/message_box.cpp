// Arbitrary texts through the scrolling message box: each NUL-separated
// piece of the input is set as the text, then lines are taken until the box
// reports it has shown everything. The walk must end within the text, never
// split past its end, and finish in a bounded number of lines.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_seeds.h"
#include "platform/headless/HeadlessPlatform.h"
#include "windows/SystemWindows.h"

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

void WriteSeeds(const std::string& dir)
{
    WriteSeed(dir, "ascii", std::string(150, 'a'));
    WriteSeed(dir, "hangul", std::string(66, 'a') + "\xB0\xA1" "bc" + std::string("\0\xC7\xD1\xB1\xDB", 5));
    WriteSeed(dir, "lone_lead", std::string("ab\xB0", 3) + std::string("\0", 1) + std::string(66, 'x') + "\xFF");
    WriteSeed(dir, "long", std::string(3000, '\xB1'));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* seeds = std::getenv("QUORVEL_FUZZ_SEED_DIR"))
        WriteSeeds(seeds);
    static plat::CHeadlessPlatform platform;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CMessageBoxWin* box = new CMessageBoxWin;
    const std::string input(reinterpret_cast<const char*>(data), size);
    size_t at = 0;
    do {
        const size_t end = std::min(input.find('\0', at), input.size());
        const std::string piece = input.substr(at, end - at);
        box->SetText(piece.c_str());
        const size_t kept = std::min(piece.size(), size_t{CMessageBoxWin::kTextSize - 1});
        Check(box->GetOffset() == 0);
        Check(box->IsEmpty() == (kept == 0));
        // At least 66 bytes a line (a double-byte character may end it at 68).
        const int most = static_cast<int>(kept / 66) + 2;
        int lines = 0;
        int32_t last = 0;
        while (!box->IsEmpty()) {
            Check(++lines <= most);
            box->NextLine();
            const int32_t offset = box->GetOffset();
            Check(offset > last && offset <= static_cast<int32_t>(kept));
            const size_t shown = std::strlen(box->GetLine(CMessageBoxWin::kLines - 1));
            Check(shown == static_cast<size_t>(offset - last) && shown <= 68);
            Check(std::memcmp(box->GetLine(CMessageBoxWin::kLines - 1), piece.data() + last, shown) == 0);
            last = offset;
        }
        Check(last == static_cast<int32_t>(kept));
        // Shown in full, the lines keep cycling and the offset stays.
        box->NextLine();
        Check(box->GetOffset() == last);
        for (int i = 0; i < CMessageBoxWin::kLines; ++i)
            Check(std::strlen(box->GetLine(i)) < CMessageBoxWin::kLineSize);
        at = end + 1;
    } while (at < input.size());
    return 0;
}
