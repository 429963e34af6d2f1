#include "rules/AbilitySet.h"

#include <bit>

#include "app/CommandRing.h"
#include "world/CharacterRecord.h"
#include "world/Character.h"
#include "world/ObjLayer.h"

int CAbilitySet::Slot(int category)
{
    return category >= 1 && category <= kCategories ? category - 1 : -1;
}

int CAbilitySet::GetClassGroup() const
{
    const int g = m_pOwner ? m_pOwner->bytes[CharacterRecord::kClassGroup] : 0;
    return g <= 2 ? g : 0;
}

bool CAbilitySet::Allowed(const AbilityRow& row) const
{
    return row.classGroup == kAnyClassGroup || row.classGroup == GetClassGroup();
}

void CAbilitySet::SetOwned(int id)
{
    const AbilityRow* row = FindAbilityRow(id);
    if (row && Slot(row->category) >= 0)
        m_owned[static_cast<size_t>(Slot(row->category))] |= row->bit;
}

void CAbilitySet::ToggleOwned(int id)
{
    const AbilityRow* row = FindAbilityRow(id);
    if (row && Slot(row->category) >= 0)
        m_owned[static_cast<size_t>(Slot(row->category))] ^= row->bit;
}

bool CAbilitySet::OwnerHasGroup() const
{
    return !m_pOwner || m_pOwner->bytes[CharacterRecord::kClassGroup] <= 2;
}

int CAbilitySet::SetOwnedIfAllowed(int id)
{
    if (!OwnerHasGroup())
        return 0;
    const AbilityRow* row = FindAbilityRow(id);
    if (row && Allowed(*row))
        SetOwned(id);
    return 1;
}

int CAbilitySet::ToggleOwnedIfAllowed(int id)
{
    if (!OwnerHasGroup())
        return 0;
    const AbilityRow* row = FindAbilityRow(id);
    if (row && Allowed(*row))
        ToggleOwned(id);
    return 1;
}

uint32_t CAbilitySet::GetOwnedMask(int category) const
{
    const int s = Slot(category);
    return s >= 0 ? m_owned[static_cast<size_t>(s)] : 0;
}

int CAbilitySet::CountOwned(int category) const
{
    return std::popcount(GetOwnedMask(category));
}

const AbilityRow* CAbilitySet::GetNthOwned(int category, int n) const
{
    if (n < 0 || n >= 32)
        return nullptr;
    const uint32_t mask = GetOwnedMask(category);
    for (const AbilityRow& row : AbilityTable) {
        if (row.category != category || !(mask & row.bit) || !Allowed(row))
            continue;
        if (n-- == 0)
            return &row;
    }
    return nullptr;
}

int CAbilitySet::IsOwned(int id) const
{
    const AbilityRow* row = FindAbilityRow(id);
    return row && (GetOwnedMask(row->category) & row->bit) ? 1 : 0;
}

int CAbilitySet::Select(int id)
{
    if (!IsOwned(id))
        return 0;
    const int category = FindAbilityRow(id)->category;
    const int slot = Slot(category);
    if (slot < 0)
        return 0;
    m_current[static_cast<size_t>(slot)] = id;
    // Categories 4 and 5 share one current ability; the other slot and the
    // further one become 0 so that the sum read for category 7 is the id.
    if (category == 4 || category == 5) {
        m_current[category == 4 ? 4 : 3] = 0;
        m_current[kCategories] = 0;
    }
    return 1;
}

int CAbilitySet::GetCurrentId(int category) const
{
    if (category == kSharedCategory)
        return m_current[3] + m_current[4] + m_current[kCategories];
    const int s = Slot(category);
    return s >= 0 ? m_current[static_cast<size_t>(s)] : -1;
}

int CAbilitySet::SelectCategory(int category)
{
    if (category != 1 && category != 2 && category != 3 && category != 6)
        return 0;
    if (GetCurrentId(category) == -1)
        return 0;
    m_selected = category;
    return 1;
}

int CAbilitySet::GetSelectedAbilityId() const
{
    if (m_selected == 0)
        return -1;
    const int id = GetCurrentId(m_selected);
    return id == -1 ? 0 : id;
}

const AbilityRow* CAbilitySet::GetCurrentRow(int category) const
{
    if (category != 1 && category != 2 && category != 3 && category != 6 && category != kSharedCategory)
        return nullptr;
    return FindAbilityRow(GetCurrentId(category));
}

void CAbilitySet::SelectNext(int category)
{
    const int s = Slot(category);
    if (s < 0)
        return;
    const int current = m_current[static_cast<size_t>(s)];
    const uint32_t mask = m_owned[static_cast<size_t>(s)];
    const AbilityRow* first = nullptr;
    bool found = false;
    for (const AbilityRow& row : AbilityTable) {
        if (row.category != category || !(mask & row.bit) || !Allowed(row))
            continue;
        if (!first)
            first = &row;
        if (found) {
            m_current[static_cast<size_t>(s)] = row.id;
            g_commandRing.Push(kCommandRefreshAbilities);
            return;
        }
        if (row.id == current)
            found = true;
    }
    if (found && first) {
        m_current[static_cast<size_t>(s)] = first->id;
        g_commandRing.Push(kCommandRefreshAbilities);
    }
}

int CAbilitySet::StartSelectedAbility(CObj* target)
{
    const CObjLayer* layer = GetObjLayer();
    const CCreature* me = layer ? layer->GetMyCharacter() : nullptr;
    // Characters and second creatures are the creatures an ability can aim
    // at.
    const bool creature =
        target && (target->GetKind() == CObj::kindCharacter || target->GetKind() == CObj::kindCreatureAlt);
    if (m_selected == 0 || !m_pCaster || !creature || target == me) {
        m_selected = 0;
        return 0;
    }
    m_pCaster->StartAbility(GetSelectedAbilityId(), static_cast<CCreature*>(target), 0, 0, 0, 0, nullptr);
    return 1;
}
