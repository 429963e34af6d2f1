// The abilities one character owns, the current one of each category and the
// category armed for the next click on the field.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "rules/AbilityTable.h"

struct CharacterRecord;
class CCreature;
class CObj;

class CAbilitySet {
public:
    // Categories 1..6 have a mask and a current ability; 7 names the slot
    // that categories 4 and 5 share.
    static constexpr int kCategories = 6;
    static constexpr int kSharedCategory = 7;

    // owner: the record of the owning character, whose class group decides
    // the class restriction (null reads as group 0); caster: the character
    // that starts the abilities.
    explicit CAbilitySet(const CharacterRecord* owner = nullptr, CCreature* caster = nullptr)
        : m_pOwner(owner), m_pCaster(caster)
    {
    }
    void SetOwner(const CharacterRecord* owner) { m_pOwner = owner; }

    // OR / XOR the row's bit into its category's mask.
    void SetOwned(int id);
    void ToggleOwned(int id);
    // The same when the row's class restriction is 255 or the owner's group;
    // an owner whose class group is not 0, 1 or 2 gets nothing and 0.
    int SetOwnedIfAllowed(int id);
    int ToggleOwnedIfAllowed(int id);
    // Set bits of the category's mask; 0 outside 1..6.
    int CountOwned(int category) const;
    // The owner's class group 0, 1 or 2; any other value reads as 0.
    int GetClassGroup() const;
    // The n-th (from 0) owned, class-allowed ability of the category in id
    // order; null when there are fewer or n >= 32.
    const AbilityRow* GetNthOwned(int category, int n) const;
    int IsOwned(int id) const;
    // Makes an owned id the current one of its category; 1, else 0.
    int Select(int id);
    int GetSelectedCategory() const { return m_selected; }
    void ClearSelectedCategory() { m_selected = 0; }
    // Arms category 1, 2, 3 or 6 when it has a current ability; 1, else 0.
    int SelectCategory(int category);
    // -1 when nothing is armed; else the armed category's current id, 0
    // when that slot holds none.
    int GetSelectedAbilityId() const;
    // The row of the current ability of category 1, 2, 3, 6 or 7; null.
    const AbilityRow* GetCurrentRow(int category) const;
    // Makes the next owned, class-allowed ability of the category current
    // (wrapping) and pushes UI command 110; nothing when the current one is
    // not among them.
    void SelectNext(int category);
    // The row of id 0..23, or null.
    static const AbilityRow* GetRow(int id) { return FindAbilityRow(id); }
    // With a category armed, the caster starts its current ability on a
    // creature other than my own character: 1. Otherwise (a structure, a
    // base creature, no creature at all, my character) nothing is armed
    // any more: 0.
    int StartSelectedAbility(CObj* target);

    uint32_t GetOwnedMask(int category) const;
    // The current id of category 1..6, or the shared slot for 7; -1 none.
    int GetCurrentId(int category) const;

private:
    bool Allowed(const AbilityRow& row) const;
    bool OwnerHasGroup() const;
    // Category slot index 0..5, or -1.
    static int Slot(int category);

    std::array<uint32_t, kCategories> m_owned{};
    // Current ids of categories 1..6, then the further slot of the 4/5 pair.
    std::array<int32_t, kCategories + 1> m_current{-1, -1, -1, -1, -1, -1, -1};
    int32_t m_selected = 0;
    const CharacterRecord* m_pOwner;
    CCreature* m_pCaster;
};

// The UI command that refreshes the ability window.
constexpr uint32_t kCommandRefreshAbilities = 110;
