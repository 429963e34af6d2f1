// The item carried on the mouse cursor. Minimal form: the carried id, its
// source and the pending field target; the drops come with the inventory.
#pragma once
#include <cstdint>

class CMouseCursor {
public:
    enum Source : int32_t { kFromItems = 0, kFromEquipment = 1, kFromCabinet = 2, kFromSingleSlot = 3 };

    void PickUp(int id, int source, int slot)
    {
        m_itemId = id;
        m_source = source;
        m_slot = slot;
    }
    int GetItemId() const { return m_itemId; }
    int GetSource() const { return m_source; }
    int GetSlot() const { return m_slot; }
    void Clear() { m_itemId = m_targetX = m_targetY = 0; }
    void SetTarget(int x, int y)
    {
        m_targetX = x;
        m_targetY = y;
    }
    int GetTargetX() const { return m_targetX; }
    int GetTargetY() const { return m_targetY; }
    // The follow-up of an accepted drop or gift (item 88's field 24).
    void ApplyToPlayer() {}
    // Puts the carried item back where it came from and clears the cursor.
    void ReturnCarried() { Clear(); }

private:
    int32_t m_itemId = 0;
    int32_t m_source = 0;
    int32_t m_slot = 0;
    int32_t m_targetX = 0;
    int32_t m_targetY = 0;
};

// The item being carried, and the one last released to the field until the
// server answers.
extern CMouseCursor g_mouseCursor;
extern CMouseCursor g_lastMouseCursor;
