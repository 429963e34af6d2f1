// A group: the leader's id and six member ids (0 = empty slot). The same 14
// bytes travel on the wire and serve as my creature's group key. Alone, a
// player's record reads leader = my id, members[0] = my id.
#pragma once
#include <array>
#include <cstdint>

using GroupRecord = std::array<uint16_t, 7>;

constexpr int kGroupLeader = 0;
constexpr int kGroupFirstMember = 1;
constexpr int kGroupMemberSlots = 6;

inline GroupRecord AloneGroup(uint16_t me) { return GroupRecord{me, me, 0, 0, 0, 0, 0}; }

// The leader is 0 or someone other than me.
inline bool GroupIsLedByOther(const GroupRecord& g, uint16_t me) { return g[0] == 0 || g[0] != me; }

// No member slot holds anyone but me.
inline bool GroupHasNoOtherMembers(const GroupRecord& g, uint16_t me)
{
    for (int i = kGroupFirstMember; i <= kGroupMemberSlots; ++i)
        if (g[static_cast<size_t>(i)] != 0 && g[static_cast<size_t>(i)] != me)
            return false;
    return true;
}

// I lead and some member slot holds someone other than me.
inline bool GroupIsMineWithMembers(const GroupRecord& g, uint16_t me)
{
    return g[0] == me && !GroupHasNoOtherMembers(g, me);
}

// I lead and some member slot is free.
inline bool GroupIsMineAndHasFreeSlot(const GroupRecord& g, uint16_t me)
{
    if (g[0] != me)
        return false;
    for (int i = kGroupFirstMember; i <= kGroupMemberSlots; ++i)
        if (g[static_cast<size_t>(i)] == 0)
            return true;
    return false;
}

// The member slot (1..6) holding id, or -1 for id 0 or an id not held.
inline int GroupMemberSlot(const GroupRecord& g, uint16_t id)
{
    if (id == 0)
        return -1;
    for (int i = kGroupFirstMember; i <= kGroupMemberSlots; ++i)
        if (g[static_cast<size_t>(i)] == id)
            return i;
    return -1;
}
