#include "core/HanCodeConv.h"

#include <cstdint>

#include "core/HanCodeTables.inc"

namespace {

// Both directions as flat tables indexed by the two-byte code (lead byte
// high); 0 where the code is no modern syllable. Built by the compiler.
struct FlatTables {
    uint16_t toJohab[65536];
    uint16_t toCp949[65536];
};

constexpr FlatTables BuildFlatTables()
{
    FlatTables t{};
    for (int s = 0; s < 11172; ++s) {
        t.toJohab[hantables::kSyllableCp949[s]] = hantables::kSyllableJohab[s];
        t.toCp949[hantables::kSyllableJohab[s]] = hantables::kSyllableCp949[s];
    }
    return t;
}

constinit const FlatTables kTables = BuildFlatTables();

char* Convert(const char* src, char* dst, const uint16_t* table)
{
    const auto* s = reinterpret_cast<const uint8_t*>(src);
    auto* d = reinterpret_cast<uint8_t*>(dst);
    for (;;) {
        const uint8_t lead = s[0];
        if (lead < 0x80) {
            *d = lead;
            if (lead == 0)
                break;
            ++s;
            ++d;
            continue;
        }
        const uint8_t trail = s[1];
        if (trail == 0) {
            // A lone lead byte: keep it; the NUL still ends the text.
            d[0] = lead;
            d[1] = 0;
            break;
        }
        const uint16_t code = table[(lead << 8) | trail];
        if (code != 0) {
            d[0] = static_cast<uint8_t>(code >> 8);
            d[1] = static_cast<uint8_t>(code);
        } else {
            d[0] = lead;
            d[1] = trail;
        }
        s += 2;
        d += 2;
    }
    return dst;
}

}  // namespace

char* CHanCodeConv::CP949ToJohab(const char* src, char* dst)
{
    return Convert(src, dst, kTables.toJohab);
}

char* CHanCodeConv::JohabToCP949(const char* src, char* dst)
{
    return Convert(src, dst, kTables.toCp949);
}

bool CHanCodeConv::HasFinalConsonant(const char* text)
{
    // Walk the characters from the start: only the last one counts, and a
    // trail byte must never be mistaken for the start of a character.
    const auto* p = reinterpret_cast<const uint8_t*>(text);
    unsigned last = 0;
    while (*p) {
        if (*p >= 0x80 && p[1] != 0) {
            last = (p[0] << 8) | p[1];
            p += 2;
        } else {
            last = 0;
            ++p;
        }
    }
    const uint16_t johab = kTables.toJohab[last];
    return johab != 0 && (johab & 31) > 1;  // final field: 1 is "no final"
}
