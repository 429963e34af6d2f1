// A facility description (.btx): text up to a "#" byte, lines ended by a
// line feed; a carriage return belongs to its line. A line without a line
// feed before the "#" (or the end) is not a line. Lines are cut, on a
// character boundary, to what a colony panel holds.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CBtxText {
public:
    // Bytes a line keeps: a 6-pixel byte or a 12-pixel two-byte character
    // from x 40 to the panel's edge.
    static constexpr size_t kMaxLineBytes = 38;
    // Lines from y 205 in steps of 25 within the panel.
    static constexpr size_t kMaxLines = 16;
    // More of an entry is never read.
    static constexpr size_t kMaxFileBytes = 64 * 1024;

    static std::vector<std::string> Parse(const uint8_t* data, size_t size);
    // The entry of the archive; no lines when it is missing.
    static std::vector<std::string> Load(const char* name);
    // The longest prefix of at most max bytes that ends on a character.
    static size_t CutLength(const std::string& line, size_t max);
};
