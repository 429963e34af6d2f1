// The battle records the field keeps: the participants the server
// announces, the block a battle is entered from, the opponent table of who
// stands against whom and the pair notices.
#pragma once
#include <array>
#include <cstdint>

#include "core/ByteReader.h"

struct BattleParticipant {
    static constexpr int kSize = 20;
    // A tile x of this value: the participant is not placed.
    static constexpr uint16_t kNotPlaced = 65535;

    uint16_t id = 0;  // below 1000 a player; 0 = free slot
    uint16_t x = 0;
    uint16_t y = 0;
    uint16_t type = 0;
    uint8_t speedClass = 0;
    uint8_t attribute = 0;
    uint16_t groupKey = 0;
    uint16_t level = 0;
    uint32_t status = 0;
    uint16_t field31 = 0;

    static BattleParticipant Read(CByteReader& r)
    {
        BattleParticipant p;
        p.id = r.U16();
        p.x = r.U16();
        p.y = r.U16();
        p.type = r.U16();
        p.speedClass = r.U8();
        p.attribute = r.U8();
        p.groupKey = r.U16();
        p.level = r.U16();
        p.status = r.U32();
        p.field31 = r.U16();
        return p;
    }
};

constexpr int kMaxParticipants = 24;

// What a battle is entered from: the join reply's values and participants.
struct BattleBlock {
    uint32_t battle = 0;
    uint32_t centreX = 0;
    uint32_t centreY = 0;
    uint32_t opponent = 0;
    uint32_t count = 0;
    std::array<BattleParticipant, kMaxParticipants> participants{};
};

// Slot j pairs first[j] against second[j] (free while second[j] is 0); the
// record is free while key is 0.
struct OpponentRecord {
    static constexpr int kPairs = 24;
    std::array<uint32_t, kPairs> first{};
    std::array<uint32_t, kPairs> second{};
    uint32_t key = 0;
    uint32_t groupKey = 0;
};
constexpr int kOpponentRecords = 24;

using OpponentTable = std::array<OpponentRecord, kOpponentRecords>;

inline OpponentRecord* FindOpponentRecord(OpponentTable& t, uint32_t key)
{
    for (OpponentRecord& r : t)
        if (r.key == key)
            return &r;
    return nullptr;
}

inline bool HasOpponentPair(const OpponentRecord& r, uint32_t a, uint32_t b)
{
    for (int j = 0; j < OpponentRecord::kPairs; ++j)
        if (r.second[static_cast<size_t>(j)] == b && r.first[static_cast<size_t>(j)] == a)
            return true;
    return false;
}

// The pair (a, b) in the record of key (taken from the free ones when
// there is none, with that group key). A full table or record drops it, and
// a pair already held is not held twice.
inline void AddOpponentPair(OpponentTable& t, uint32_t key, uint32_t group, uint32_t a, uint32_t b)
{
    if (key == 0 || a == 0 || b == 0 || a == b)
        return;
    OpponentRecord* r = FindOpponentRecord(t, key);
    if (!r) {
        r = FindOpponentRecord(t, 0);
        if (!r)
            return;
        r->key = key;
        r->groupKey = group;
    }
    if (HasOpponentPair(*r, a, b))
        return;
    for (int j = 0; j < OpponentRecord::kPairs; ++j) {
        const auto sj = static_cast<size_t>(j);
        if (r->second[sj] == 0) {
            r->first[sj] = a;
            r->second[sj] = b;
            return;
        }
    }
}


// Free while sender is 0.
struct PairNotice {
    uint32_t sender = 0;
    uint32_t opponent = 0;
    uint32_t addressee = 0;
};
constexpr int kPairNotices = 20;
