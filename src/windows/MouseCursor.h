// The item carried on the mouse cursor, and the drops that move it between
// the item list, the equipment, the cabinet and the field. Each change of
// the player's lists is reported to the server as a character field. An
// item is moved only when its destination has room: a drop that cannot
// complete leaves it carried and tells the server nothing.
#pragma once
#include <cstdint>

class CMouseCursor {
public:
    enum Source : int32_t { kFromItems = 0, kFromEquipment = 1, kFromCabinet = 2, kFromSingleSlot = 3 };
    // Item 88 in its equipment slot raises character field 24 toward 12.
    static constexpr int kSpeedItem = 88;
    static constexpr uint32_t kSpeedCap = 12;
    // Battles and maps numbered from here are death matches.
    static constexpr int kDeathMatchFirst = 20001;
    static constexpr int kBigChatWindow = 3;
    static constexpr int kCabinetWindow = 98;

    void PickUp(int id, int source, int slot)
    {
        m_itemId = id;
        m_source = source;
        m_slot = slot;
        m_removalReported = false;
    }
    int GetItemId() const { return m_itemId; }
    bool IsCarrying() const { return m_itemId > 0; }
    int GetSource() const { return m_source; }
    int GetSlot() const { return m_slot; }
    void Clear()
    {
        m_itemId = m_targetX = m_targetY = 0;
        m_removalReported = false;
    }
    void SetTarget(int x, int y)
    {
        m_targetX = x;
        m_targetY = y;
    }
    int GetTargetX() const { return m_targetX; }
    int GetTargetY() const { return m_targetY; }
    int32_t* GetTargetPtr() { return &m_targetX; }

    // The carried item's picture centred on the point.
    void Draw(int x, int y, uint8_t* surface) const;

    // The drops on an item-list cell (0..99), an equipment box (0..7) and a
    // cabinet cell (0..19).
    void DropOnInventory(int cell);
    void DropOnEquipSlot(int equip);
    void DropOnCabinet(int cell);
    // Back where it came from, unless the server's answer about it is
    // awaited or the big chat is open. A released item whose removal was
    // reported reports its return. With no room it stays carried.
    void ReturnCarried();
    // The carried item may be released to the field: nothing awaits the
    // server's answer, colony mode is off, the cabinet is closed and it came
    // from the item list or the equipment.
    bool CanRelease() const;
    // Releases it to the field: the removal is reported and the item waits
    // in g_lastMouseCursor. False (nothing changes) when it may not go.
    bool DropCarried();
    // The removal of a released item from its source, reported.
    void ReportRelease();
    // The server accepted the released item: item 88 taken from its box
    // gives field 24 back its class value.
    void ApplyToPlayer();

    // List edits with their reports: a removal closes the gap (57, 67), an
    // insertion at a position moves the later entries up into the first
    // empty one (56, 66; false and nothing sent when there is none).
    static void RemoveSlotItem(int slot);
    static bool InsertIntoList(int position, int id);
    static void RemoveCabinetSlot(int slot);
    static bool InsertIntoCabinet(int position, int id);

private:
    // The gap the pick-up left at the source slot is closed; an item that
    // arrived into it meanwhile stays.
    void RemoveSourceSlot() const;
    void DropFromList(int cell);

    int32_t m_itemId = 0;
    int32_t m_source = 0;
    int32_t m_slot = 0;
    int32_t m_targetX = 0;
    int32_t m_targetY = 0;
    bool m_removalReported = false;
};

// The item being carried, and the one last released to the field until the
// server answers.
extern CMouseCursor g_mouseCursor;
extern CMouseCursor g_lastMouseCursor;

// An item's inventory picture centred on x, its top at y (centred on y
// with middle); false without one. w and h (may be null) get its size.
bool DrawItemIcon(int id, int x, int y, uint8_t* surface, bool middle, int* w = nullptr, int* h = nullptr);
// The release over the field (the UI layer's g_dropMouseItem): the object
// layer drops or gives the carried item, whose removal is then reported.
void DropMouseItemOnField(int sx, int sy);
