// A small standing object of one cell: the town NPCs, the ground items and
// the battle markers.
#pragma once
#include <cstdint>

#include "world/Obj.h"

class CObrCharEntry;

class CNpc : public CObj {
public:
    CNpc() { m_kind = kindNpc; }

    // Active and alive at (x, y) with its name and entry, on the grid.
    void Spawn(CObjLayer* layer, std::string_view name, int x, int y, const CObrCharEntry* entry);
    void SetOnGrid(int on) override;
    // The stand animation, its name while the mouse is over it, and (with
    // the flag) leaving the map 14 cells from my character.
    void Update() override;
    // Off the map; the entry is forgotten with the slot.
    void RemoveFromMap() override;

    const CObrCharEntry* GetEntry() const { return m_pEntry; }
    // The value given when it was added (a battle marker's battle number).
    int32_t GetValue() const { return m_value; }
    void SetValue(int32_t v) { m_value = v; }
    // A battle marker's battle number; 0 for any other NPC.
    int32_t GetBattle() const { return m_battle; }
    void SetBattle(int32_t battle) { m_battle = battle; }
    int GetDirection() const { return m_direction; }
    void SetDirection(int d) { m_direction = d & 7; }
    void SetRemoveWhenFar(int on) { m_removeWhenFar = on ? 1 : 0; }

protected:
    int32_t m_direction = 0;
    int32_t m_animTick = 0;
    int32_t m_removeWhenFar = 0;
    int32_t m_value = 0;
    int32_t m_battle = 0;
    const CObrCharEntry* m_pEntry = nullptr;
};
