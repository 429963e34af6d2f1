// Shared by the rules tests: records built field by field and the draws the
// runtime's generator will make from a seed.
#pragma once
#include <cstdint>

#include "world/CharacterRecord.h"

// The runtime generator's sequence, computed apart from plat::Rand.
struct Draws {
    explicit Draws(uint32_t seed) : state(seed) {}
    int Next()
    {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }
    uint32_t state;
};

struct StatLine {
    int cls = 0;
    int group = 0;
    int strength = 0, agility = 0, constitution = 0, wisdom = 0, courage = 0;
};

inline CharacterRecord MakeRecord(const StatLine& s)
{
    CharacterRecord r;
    r.SetU32(CharacterRecord::kClass, static_cast<uint32_t>(s.cls));
    r.bytes[CharacterRecord::kClassGroup] = static_cast<uint8_t>(s.group);
    r.SetU32(CharacterRecord::kStrength, static_cast<uint32_t>(s.strength));
    r.SetU32(CharacterRecord::kAgility, static_cast<uint32_t>(s.agility));
    r.SetU32(CharacterRecord::kConstitution, static_cast<uint32_t>(s.constitution));
    r.SetU32(CharacterRecord::kWisdom, static_cast<uint32_t>(s.wisdom));
    r.SetU32(CharacterRecord::kCourage, static_cast<uint32_t>(s.courage));
    return r;
}

inline void SetI32(CharacterRecord& r, size_t off, int v) { r.SetU32(off, static_cast<uint32_t>(v)); }
