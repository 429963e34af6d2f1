// The creature base of the player's own character, the other players and
// the monsters: the server id, the character record, the group key and the
// sprite-set entry that draws it. Orders, actions and drawing build on it.
#pragma once
#include <array>
#include <cstdint>

#include "world/CharacterRecord.h"
#include "world/Obj.h"

class CObrCharEntry;

class CCreature : public CObj {
public:
    // The group key: the leader's id and six member ids (the group header).
    static constexpr int kGroupWords = 7;
    using GroupKey = std::array<uint16_t, kGroupWords>;

    CCreature() { m_kind = kindCreature; }

    // Puts the creature on the map at (x, y) with its server id, entry and a
    // copy of the record; it is active and alive, on the grids, with no
    // group, no status bits and no turn.
    void Spawn(CObjLayer* layer, int id, int x, int y, const CObrCharEntry* entry, const CharacterRecord& record);
    // On: the object grid at its cell holds it and the id grid at its
    // server cell its id. Off: the object grid is cleared where it holds it.
    void SetOnGrid(int on) override;
    // Off the map; the entry is forgotten with the slot.
    void RemoveFromMap() override;

    int GetServerId() const { return m_serverId; }
    int IsMonster() const { return m_serverId >= 1000 ? 1 : 0; }
    CharacterRecord& GetCharRecord() { return m_record; }
    const CharacterRecord& GetCharRecord() const { return m_record; }
    const CObrCharEntry* GetEntry() const { return m_pEntry; }
    uint16_t GetGroupId() const { return m_groupKey[0]; }
    const GroupKey& GetGroupKey() const { return m_groupKey; }
    void SetGroupKey(const GroupKey& key) { m_groupKey = key; }
    uint32_t GetStatusFlags() const { return m_statusFlags; }
    void SetStatusFlags(uint32_t flags) { m_statusFlags = flags; }
    int GetFieldsRequested() const { return m_fieldsRequested; }
    void SetFieldsRequested(int on) { m_fieldsRequested = static_cast<uint8_t>(on ? 1 : 0); }
    int GetMyTurn() const { return m_myTurn; }

protected:
    int32_t m_serverId = 0;
    int32_t m_serverTileX = 0;
    int32_t m_serverTileY = 0;
    CharacterRecord m_record;
    uint8_t m_fieldsRequested = 1;
    int32_t m_direction = 0;
    // The cell still held in the object grid while a step ends.
    int32_t m_leavingX = 0;
    int32_t m_leavingY = 0;
    int32_t m_myTurn = 0;
    GroupKey m_groupKey{};
    const CObrCharEntry* m_pEntry = nullptr;
    uint32_t m_statusFlags = 0;
};
