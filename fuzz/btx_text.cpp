// Arbitrary description bytes through the .btx reader: it ends at "#" or
// at the end, keeps at most its line count, and every line fits the panel
// and ends on a character.
#include <cstdint>
#include <cstdlib>

#include "colony/BtxText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto lines = CBtxText::Parse(data, size);
    if (lines.size() > CBtxText::kMaxLines)
        std::abort();
    for (const auto& line : lines) {
        if (line.size() > CBtxText::kMaxLineBytes || CBtxText::CutLength(line, line.size()) != line.size())
            std::abort();
        if (line.find('\n') != std::string::npos || line.find('#') != std::string::npos)
            std::abort();
    }
    return 0;
}
