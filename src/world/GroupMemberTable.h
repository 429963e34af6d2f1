// The records of the other members of my group, as the group and profile
// windows show them: eight slots, each an id (0 = free) and the member's
// character record.
#pragma once
#include <array>
#include <cstdint>

#include "world/CharacterRecord.h"
#include "world/GroupRecord.h"

class CGroupMemberTable {
public:
    static constexpr int kSlots = 8;

    // The slot of the id; -1 for id 0 or an id not held.
    int FindIndex(uint32_t id) const;
    // The first free slot, -1 when all are used.
    int FindFree() const;
    // The slot of the id, else the first free slot (taken for the id, its
    // record cleared); -1 for id 0 or a full table.
    int Claim(uint32_t id);
    // The member's record, or null.
    CharacterRecord* GetRecord(uint32_t id);
    // Frees every slot whose id is not one of the group's six member ids.
    void Prune(const GroupRecord& group);
    void Clear();

    uint32_t GetId(int slot) const { return InRange(slot) ? m_ids[static_cast<size_t>(slot)] : 0; }
    // The member the windows show (0 for none).
    uint32_t m_selectedId = 0;

private:
    static bool InRange(int slot) { return slot >= 0 && slot < kSlots; }
    std::array<uint32_t, kSlots> m_ids{};
    std::array<CharacterRecord, kSlots> m_records{};
};
