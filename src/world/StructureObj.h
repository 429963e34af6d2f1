// A building or other large piece of scenery: it covers a footprint of
// cells, blocks the solid ones and is drawn one diamond piece per cell. Its
// building entry's item set holds the footprint size W x H (the plane size),
// the piece map (plane 0, 255 = no piece) and the solid map (plane 1).
#pragma once
#include <array>
#include <cstdint>

#include "world/Obj.h"

class CObrBuildingEntry;

class CStructureObj : public CObj {
public:
    static constexpr int kMaxFootprint = 255;

    CStructureObj() { m_kind = kindStructure; }

    // Active and alive at (x, y); footprint bytes (dx << 4 | dy, back from
    // the footprint's far corner) copied; on the grids, footprint unmarked.
    void Create(CObjLayer* layer, std::string_view name, int x, int y, const CObrBuildingEntry* descriptor,
                const uint8_t* footprint, int count);
    // The solid cells of the W x H rectangle whose left-top cell is
    // (x - W/2, y - H/2) hold it in the object grid (or 0), and the
    // structure grid at the far corner.
    void SetOnGrid(int on) override;
    // Off the map; the building entry is forgotten with the slot.
    void RemoveFromMap() override;
    // Every footprint cell gains (on) or loses the drawn flag.
    void MarkFootprint(int on);
    // Adds one diamond piece per cell of the piece map to the draw list
    // (255 and frames the set lacks draw nothing): in battle shaded by the
    // light of its cell, outside see-through in state 2.
    void Update() override;

    const CObrBuildingEntry* GetDescriptor() const { return m_pDescriptor; }
    int GetFootprintCount() const { return m_footprintCount; }
    int IsFootprintMarked() const { return m_footprintMarked; }
    uint8_t GetState() const { return m_state; }
    void SetSeeThrough(int on) { m_state = on ? 2 : 0; }

protected:
    // The footprint size and the far corner; false without a sized set.
    bool Extent(int& w, int& h, int& farX, int& farY) const;

    uint8_t m_state = 0;
    int32_t m_footprintMarked = 0;
    int32_t m_footprintCount = 0;
    std::array<uint8_t, kMaxFootprint> m_footprint{};
    const CObrBuildingEntry* m_pDescriptor = nullptr;
};
