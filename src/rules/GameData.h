// The game data set up while the object files load: the effect sprite sets
// of the abilities and the two stat-to-level tables.
#pragma once
#include <array>
#include <cstdint>

#include "core/EffectSpriteSet.h"

constexpr int kStatLevelSizeA = 2030;
constexpr int kStatLevelSizeB = 1524;
// The level a character's skill value A (record field 20) or B (field 26)
// stands for, 0..78 (78 is "MASTER"). Constant data: filled before start-up.
extern const std::array<uint32_t, kStatLevelSizeA> StatLevelTableA;
extern const std::array<uint32_t, kStatLevelSizeB> StatLevelTableB;
// The table entries for a skill value, which is clamped into the table.
int StatLevelA(int skill);
int StatLevelB(int skill);

// Effect sets the ability routines draw; empty until InitGameData.
extern CEffectSpriteSet g_powerBrakeSet;    // "data\POWERBRAKE.TLR"
extern CEffectSpriteSet g_whipSet;          // "data\WHIP.TLR"
extern CEffectSpriteSet g_magicBallSet;     // "data\MAGICBALL.TLR"
extern CEffectSpriteSet g_esperAttSet;      // "data\esperatt.TLR"
extern CEffectSpriteSet g_maximumForceSet;  // "data\MaximumForce.TLR"

// Loads the five effect sets in that order; a missing or damaged file
// leaves its set empty.
void InitGameData();
// Empties the five sets (between tests, and at exit).
void FreeGameData();
