#include "world/GroupMemberTable.h"

int CGroupMemberTable::FindIndex(uint32_t id) const
{
    if (id == 0)
        return -1;
    for (int i = 0; i < kSlots; ++i)
        if (m_ids[static_cast<size_t>(i)] == id)
            return i;
    return -1;
}

int CGroupMemberTable::FindFree() const
{
    for (int i = 0; i < kSlots; ++i)
        if (m_ids[static_cast<size_t>(i)] == 0)
            return i;
    return -1;
}

int CGroupMemberTable::Claim(uint32_t id)
{
    if (id == 0)
        return -1;
    int slot = FindIndex(id);
    if (slot >= 0)
        return slot;
    slot = FindFree();
    if (slot < 0)
        return -1;
    m_ids[static_cast<size_t>(slot)] = id;
    m_records[static_cast<size_t>(slot)] = CharacterRecord{};
    return slot;
}

CharacterRecord* CGroupMemberTable::GetRecord(uint32_t id)
{
    const int slot = FindIndex(id);
    return slot < 0 ? nullptr : &m_records[static_cast<size_t>(slot)];
}

void CGroupMemberTable::Prune(const GroupRecord& group)
{
    for (uint32_t& id : m_ids)
        if (id != 0 && (id > 0xFFFF || GroupMemberSlot(group, static_cast<uint16_t>(id)) < 0))
            id = 0;
}

void CGroupMemberTable::Clear()
{
    m_ids.fill(0);
    m_selectedId = 0;
}
