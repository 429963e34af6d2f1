// The player's data for the connection: the own character's id, class and
// battle state, and the item and equipment lists of character records.
#pragma once
#include <cstddef>
#include <cstdint>

struct CharacterRecord;

class CPlayerInfo {
public:
    static constexpr int kItemSlots = 100;
    static constexpr int kEquipSlots = 8;
    // The player may carry 80 items although the list has 100 slots.
    static constexpr int kCarryLimit = 80;

    // g_myId.
    uint16_t GetCharId() const;
    // The battle number stored on entering a battle, 0 after leaving.
    uint32_t GetBattleState() const { return m_battleState; }
    void SetBattleState(uint32_t battle) { m_battleState = battle; }
    // The class (row of the class tables, 0..5) and the class group (0..2)
    // of the player's character, set when it is published.
    int GetClass() const { return m_class; }
    void SetClass(int cls) { m_class = cls; }
    int GetCharKind() const { return m_charKind; }
    void SetCharKind(int kind) { m_charKind = kind; }
    // The five base stats of GetClass (strength, agility, constitution,
    // wisdom, courage); a class outside 0..5 gives five zeros.
    const int32_t* GetClassStats() const;

    // The record the player's character holds: the view's object layer's
    // own record (null before the layer exists).
    CharacterRecord* GetMyRecord() const;

    // The 100 item ids / 8 equipment ids of a record, as signed 16-bit
    // values; 0 for a slot outside 0..99 / 0..7.
    static int GetItem(const CharacterRecord& rec, int slot);
    static int GetEquip(const CharacterRecord& rec, int slot);
    // Store an id; a negative id or a slot outside the list is ignored.
    static void SetItem(CharacterRecord& rec, int slot, int id);
    static void SetEquip(CharacterRecord& rec, int slot, int id);
    // The address of a record's item list (100 x u16 little-endian bytes).
    static uint8_t* GetItemList(CharacterRecord& rec);
    static uint8_t* GetEquipList(CharacterRecord& rec);

    // The highest used slot of my item list, -1 when empty.
    int LastUsedItemSlot() const;
    // Removes the first entry of id; the last used entry moves into the
    // gap; sends field 52 with both slots. False (and nothing sent) when the
    // id is 0 or not held.
    bool RemoveItem(int id);
    // 80 or more entries used, counted from slot 0 to the first empty one.
    bool IsListFull() const;
    // 0 when the item may be taken, 1 when 80 or more items are carried, 2
    // when the list, the equipment and the item would exceed CalcMaxWeight.
    int IsOverWeight(int id) const;

    // The account id of the login record (at most 16 bytes) and the name of
    // the character chosen at selection (at most 11), always terminated in
    // size bytes.
    void GetLoginId(char* out, size_t size) const;
    void GetCharName(char* out, size_t size) const;

    void Reset() { *this = CPlayerInfo{}; }

private:
    uint32_t m_battleState = 0;
    int m_class = 0;
    int m_charKind = 0;
};

extern CPlayerInfo g_playerInfo;
