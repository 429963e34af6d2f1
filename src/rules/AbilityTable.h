// The 24 special abilities: id, owned bit, category and class restriction.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

struct AbilityRow {
    int32_t id;
    uint32_t bit;         // one bit of the category's owned mask
    int32_t category;     // 1 attack, 2 support, 6 cure
    int32_t classGroup;   // 0, 1 or 2; 255 = any class group
    const char* korean;   // CP949
    const char* english;
};

constexpr int kAbilityCount = 24;
constexpr int32_t kAnyClassGroup = 255;

// Ordered by id: row i has id i.
extern const std::array<AbilityRow, kAbilityCount> AbilityTable;

// The row of id 0..23, or null.
const AbilityRow* FindAbilityRow(int id);

// Ability ids.
enum AbilityId : int {
    kAbilityEscape = 0,
    kAbilityPowerBreak = 1,
    kAbilityCounterGuard = 2,
    kAbilityGuardBreak = 3,
    kAbilityCounterBreak = 4,
    kAbilityMaximumForce = 5,
    kAbilityPowerBreakII = 6,
    kAbilityWarriorHealing = 7,
    kAbilityFireStorm = 8,
    kAbilityEvation = 9,
    kAbilityHealing = 10,
    kAbilityEarthQuake = 11,
    kAbilityMagicHealing = 12,
    kAbilityHealingII = 13,
    kAbilityDevilHealing = 14,
    kAbilityCure = 15,
    kAbilityElectricEye = 16,
    kAbilityAirOn = 17,
    kAbilityFreeze = 18,
    kAbilityThunderBolt = 19,
    kAbilityLighting = 20,
    kAbilityElectricEyeII = 21,
    kAbilityHide = 22,
    kAbilityPsychicforce = 23,
};
