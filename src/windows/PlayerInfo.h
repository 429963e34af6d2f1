// The player's data for the connection: the own character's id, class and
// battle state, the item and equipment lists of character records, the
// cabinet, the single slot, the tech points, and the inventory operations
// that change the player's record and report each change to the server.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

struct CharacterRecord;

class CPlayerInfo {
public:
    static constexpr int kItemSlots = 100;
    static constexpr int kEquipSlots = 8;
    static constexpr int kCabinetSlots = 20;
    // The player may carry 80 items although the list has 100 slots.
    static constexpr int kCarryLimit = 80;
    // How long the refusal notices stay, in UI ticks.
    static constexpr int kNoticeTicks = 200;

    CPlayerInfo() = default;

    // ---- the tech points ----------------------------------------------------
    int GetTechPoints() const { return m_techPointsLeft; }
    int GetTechUsed() const { return m_techPointsUsed; }
    // One point less when one is left; false (nothing changes) otherwise.
    bool SpendTechPoint();
    void AddTechUsed() { ++m_techPointsUsed; }

    // ---- who the player is --------------------------------------------------
    // g_myId.
    uint16_t GetCharId() const;
    // The battle number of the battle the object layer is in, 0 outside one.
    uint32_t GetBattleState() const;
    // The class (row of the class tables, 0..5) and the class group (0..2)
    // of the player's character, set when it is published.
    int GetClass() const { return m_class; }
    void SetClass(int cls) { m_class = cls; }
    int GetCharKind() const { return m_charKind; }
    void SetCharKind(int kind) { m_charKind = kind; }
    int GetMapId() const;
    // The five base stats of GetClass (strength, agility, constitution,
    // wisdom, courage); a class outside 0..5 gives five zeros.
    const int32_t* GetClassStats() const;
    // The item's class restriction admits GetClass: 0 any class, 1 classes
    // 4 and 5, 2 classes 0 and 1, 3 classes 2 and 3, anything else none.
    bool CanClassUse(int itemId) const;
    static bool RestrictionAdmits(int restriction, int cls);

    // The account id of the login record (at most 16 bytes), the name of
    // the character chosen at selection (at most 11) and the record's
    // profile text, always terminated within size bytes.
    void GetLoginId(char* out, size_t size) const;
    void GetCharName(char* out, size_t size) const;
    void GetProfileText(char* out, size_t size) const;

    // ---- the player's record ------------------------------------------------
    // The player's record: my character's while it exists, else the object
    // layer's own copy; null before the layer exists.
    CharacterRecord* GetMyRecord() const;
    // The record's level, money, free parameter points, game time and the
    // colony's value; 0 without a record.
    int GetLevel() const;
    int GetMoney() const;
    int GetRemain() const;
    uint32_t GetGameTime() const;
    int GetHqValue() const;

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

    // ---- the cabinet and the single slot --------------------------------------
    // The cabinet's 20 ids; the object layer keeps the list the server sent
    // while it exists.
    uint16_t* GetCabinetList();
    // 0 for a slot outside 0..19.
    int GetCabinetItem(int slot) const;
    // A negative id or a slot outside 0..19 is ignored.
    void SetCabinetItem(int slot, int id);
    int GetSingleSlot() const { return m_singleSlot; }
    void SetSingleSlot(int id);
    // The item id an item list window writes its choice into; -1 at start.
    int32_t* GetChosenItemPtr() { return &m_chosenItem; }

    // ---- the inventory operations --------------------------------------------
    // The highest used slot of my item list, -1 when empty.
    int LastUsedItemSlot() const;
    // Appends id after the last used slot; sends field 51. False (nothing
    // changes) without a record, for an id that is not positive or when
    // the 100 slots are used.
    bool AddItem(int id);
    // Removes the first entry of id; the last used entry moves into the
    // gap; sends field 52 with both slots. False (and nothing sent) when the
    // id is 0 or not held.
    bool RemoveItem(int id);
    // 80 or more entries used, counted from slot 0 to the first empty one.
    bool IsListFull() const;
    // 0 when the item may be taken, 1 when 80 or more items are carried, 2
    // when the list, the equipment and the item would exceed CalcMaxWeight.
    int IsOverWeight(int id) const;
    // A purchase: the notice line says why when the money is below the
    // price or the item cannot be carried; else the item is added, the
    // price paid (field 51, then field 30) and the windows refreshed. True
    // when bought.
    bool TryTakeItem(int id, int price);
    // A sale: pays the price only when the item was held and the money
    // stays below 2^31 (field 52, then field 30). True when sold.
    bool SellItem(int id, int price);
    // Takes off every equipped item the player's level or class may not use
    // (field 51, then field 53), as long as the item list can take it.
    void UnequipUnusable();

    void Reset() { *this = CPlayerInfo{}; }

private:
    std::array<uint16_t, kCabinetSlots> m_cabinet{};
    uint16_t m_singleSlot = 0;
    int32_t m_techPointsLeft = 2;
    int32_t m_techPointsUsed = 13;
    int32_t m_chosenItem = -1;
    int m_class = 0;
    int m_charKind = 0;
};

extern CPlayerInfo g_playerInfo;
