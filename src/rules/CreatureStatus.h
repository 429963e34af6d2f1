// A creature's timed status (frozen, hidden) and turn stances, and the
// abilities a character learns by class and level.
#pragma once
#include <cstddef>
#include <cstdint>

class CAbilitySet;
struct CharacterRecord;

struct CreatureStatusBits {
    enum : uint32_t {
        kFrozen = 0x1,
        kHidden = 0x2,
        kCounterGuard = 0x4,
        kEvation = 0x8,
        kAirOn = 0x10,
        kTurnStances = 0x1C,
    };
    // Updates a bit lasts before it clears itself.
    static constexpr uint32_t kFrozenUpdates = 250;
    static constexpr uint32_t kHiddenUpdates = 300;

    uint32_t bits = 0;
    // Updates since the bit was last set or cleared.
    uint32_t frozenCount = 0;
    uint32_t hiddenCount = 0;
};

// Adds the abilities of the record's class (0..5) up to its stored level
// through SetOwnedIfAllowed; never removes any. Other classes learn nothing.
void LearnAbilities(CAbilitySet& set, const CharacterRecord& rec);

// Set or clear the bit and restart its count. mine: the creature is my own
// character, whose thaw (or reappearance) is told to the other clients:
// battle sub-command 200 with value 1, then command 36 with the status bits.
void SetFrozen(CreatureStatusBits& s, bool on, bool mine);
void SetHidden(CreatureStatusBits& s, bool on, bool mine);
inline bool IsFrozen(const CreatureStatusBits& s) { return (s.bits & CreatureStatusBits::kFrozen) != 0; }
inline bool IsHidden(const CreatureStatusBits& s) { return (s.bits & CreatureStatusBits::kHidden) != 0; }
// One creature update: frozen thaws on the 250th, hidden shows on the 300th.
void UpdateStatusTimers(CreatureStatusBits& s, bool mine);
// The creature's turn came: the three stances end.
inline void ClearTurnStances(CreatureStatusBits& s) { s.bits &= ~uint32_t{CreatureStatusBits::kTurnStances}; }
// WarriorHealing, Healing, HealingII, DevilHealing and Cure aim at friends.
bool IsHealAbility(int id);

