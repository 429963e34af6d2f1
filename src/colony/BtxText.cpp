#include "colony/BtxText.h"

#include <algorithm>

#include "core/ResFile.h"

size_t CBtxText::CutLength(const std::string& line, size_t max)
{
    size_t i = 0;
    while (i < line.size()) {
        const size_t w = static_cast<uint8_t>(line[i]) > 127 && i + 1 < line.size() ? 2 : 1;
        if (i + w > max)
            break;
        i += w;
    }
    return i;
}

std::vector<std::string> CBtxText::Parse(const uint8_t* data, size_t size)
{
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; data && i < size && data[i] != '#'; ++i) {
        if (data[i] != '\n') {
            // Two bytes past the limit are enough to cut on a character.
            if (line.size() < kMaxLineBytes + 2)
                line.push_back(static_cast<char>(data[i]));
            continue;
        }
        if (lines.size() < kMaxLines) {
            line.resize(CutLength(line, kMaxLineBytes));
            lines.push_back(line);
        }
        line.clear();
    }
    return lines;
}

std::vector<std::string> CBtxText::Load(const char* name)
{
    const int h = name ? ResOpen(name) : -1;
    if (h < 0)
        return {};
    const long size = ResSize(h);
    if (size <= 0)
        return {};
    std::vector<uint8_t> bytes(std::min(static_cast<size_t>(size), kMaxFileBytes));
    const size_t got = ResRead(bytes.data(), 1, bytes.size(), h);
    return Parse(bytes.data(), got);
}
