#include "rules/GameData.h"

#include <algorithm>

#include "platform/Debug.h"

CEffectSpriteSet g_powerBrakeSet;
CEffectSpriteSet g_whipSet;
CEffectSpriteSet g_magicBallSet;
CEffectSpriteSet g_esperAttSet;
CEffectSpriteSet g_maximumForceSet;

namespace {

// First skill value of each level 0..78. Table A's widths are
// max(1, 2L/3) except level 47's, which is one short.
constexpr std::array<uint16_t, 79> kLevelStartA = {
    0,    1,    2,    3,    5,    7,    10,   14,   18,   23,   29,   35,   42,   50,   58,   67,
    77,   87,   98,   110,  122,  135,  149,  163,  178,  194,  210,  227,  245,  263,  282,  302,
    322,  343,  365,  387,  410,  434,  458,  483,  509,  535,  562,  590,  618,  647,  677,  707,
    737,  769,  801,  834,  868,  902,  937,  973,  1009, 1046, 1084, 1122, 1161, 1201, 1241, 1282,
    1324, 1366, 1409, 1453, 1497, 1542, 1588, 1634, 1681, 1729, 1777, 1826, 1876, 1926, 1977,
};
// Table B's widths are max(1, L/2).
constexpr std::array<uint16_t, 79> kLevelStartB = {
    0,    1,    2,    3,    4,    6,    8,    11,   14,   18,   22,   27,   32,   38,   44,   51,
    58,   66,   74,   83,   92,   102,  112,  123,  134,  146,  158,  171,  184,  198,  212,  227,
    242,  258,  274,  291,  308,  326,  344,  363,  382,  402,  422,  443,  464,  486,  508,  531,
    554,  578,  602,  627,  652,  678,  704,  731,  758,  786,  814,  843,  872,  902,  932,  963,
    994,  1026, 1058, 1091, 1124, 1158, 1192, 1227, 1262, 1298, 1334, 1371, 1408, 1446, 1484,
};

// Entry i holds the largest level whose start is <= i.
template <size_t N>
constexpr std::array<uint32_t, N> LevelTable(const std::array<uint16_t, 79>& starts)
{
    std::array<uint32_t, N> table{};
    uint32_t level = 0;
    for (size_t i = 0; i < N; ++i) {
        while (level + 1 < starts.size() && starts[level + 1] <= i)
            ++level;
        table[i] = level;
    }
    return table;
}

void LoadSet(CEffectSpriteSet& set, const char* name)
{
    if (set.Load(name) != 0)
        plat::DebugPrintf("%s: not loaded, its effect stays empty\n", name);
}

}  // namespace

const std::array<uint32_t, kStatLevelSizeA> StatLevelTableA = LevelTable<kStatLevelSizeA>(kLevelStartA);
const std::array<uint32_t, kStatLevelSizeB> StatLevelTableB = LevelTable<kStatLevelSizeB>(kLevelStartB);

int StatLevelA(int skill)
{
    return static_cast<int>(StatLevelTableA[static_cast<size_t>(std::clamp(skill, 0, kStatLevelSizeA - 1))]);
}

int StatLevelB(int skill)
{
    return static_cast<int>(StatLevelTableB[static_cast<size_t>(std::clamp(skill, 0, kStatLevelSizeB - 1))]);
}

void InitGameData()
{
    LoadSet(g_powerBrakeSet, "data\\POWERBRAKE.TLR");
    LoadSet(g_whipSet, "data\\WHIP.TLR");
    LoadSet(g_magicBallSet, "data\\MAGICBALL.TLR");
    LoadSet(g_esperAttSet, "data\\esperatt.TLR");
    LoadSet(g_maximumForceSet, "data\\MaximumForce.TLR");
}

void FreeGameData()
{
    for (CEffectSpriteSet* set : {&g_powerBrakeSet, &g_whipSet, &g_magicBallSet, &g_esperAttSet, &g_maximumForceSet})
        set->FreeFrames();
}
