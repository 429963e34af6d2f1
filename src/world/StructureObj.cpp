#include "world/StructureObj.h"

#include <algorithm>
#include <cstring>

#include "core/ItemSpriteSet.h"
#include "world/BGLayer.h"
#include "world/ObjLayer.h"
#include "world/ObrEntry.h"

namespace {
constexpr int kSolidMap = 1;
}  // namespace

void CStructureObj::Create(CObjLayer* layer, std::string_view name, int x, int y,
                           const CObrBuildingEntry* descriptor, const uint8_t* footprint, int count)
{
    Place(layer, name, x, y);
    m_active = 1;
    m_alive = 1;
    m_state = 0;
    m_pDescriptor = descriptor;
    m_footprintCount = std::clamp(count, 0, kMaxFootprint);
    m_footprint.fill(0);
    if (footprint && m_footprintCount > 0)
        std::memcpy(m_footprint.data(), footprint, static_cast<size_t>(m_footprintCount));
    SetOnGrid(1);
    MarkFootprint(0);
}

bool CStructureObj::Extent(int& w, int& h, int& farX, int& farY) const
{
    const CItemSpriteSet* set = m_pDescriptor ? m_pDescriptor->GetSpriteSet() : nullptr;
    if (!set)
        return false;
    w = set->GetPlaneSize().cx;
    h = set->GetPlaneSize().cy;
    if (w <= 0 || h <= 0)
        return false;
    farX = m_tileX - w / 2 + w - 1;
    farY = m_tileY - h / 2 + h - 1;
    return true;
}

void CStructureObj::SetOnGrid(int on)
{
    int w = 0, h = 0, farX = 0, farY = 0;
    if (!m_pLayer || !Extent(w, h, farX, farY))
        return;
    const uint8_t* solid = m_pDescriptor->GetSpriteSet()->GetPlane(kSolidMap);
    const ObjHandle value = on ? m_handle : kCellEmpty;
    if (solid) {
        const int x0 = m_tileX - w / 2, y0 = m_tileY - h / 2;
        for (int r = 0; r < h; ++r)
            for (int c = 0; c < w; ++c)
                if (solid[static_cast<size_t>(r) * static_cast<size_t>(w) + static_cast<size_t>(c)] != 0)
                    m_pLayer->SetObjectCell(x0 + c, y0 + r, value);
    }
    m_pLayer->SetStructureCell(farX, farY, value);
}

void CStructureObj::RemoveFromMap()
{
    CObj::RemoveFromMap();
    m_pDescriptor = nullptr;
}

void CStructureObj::MarkFootprint(int on)
{
    int w = 0, h = 0, farX = 0, farY = 0;
    CBGLayer* bg = m_pLayer ? m_pLayer->GetBackground() : nullptr;
    if (bg && Extent(w, h, farX, farY)) {
        for (int i = 0; i < m_footprintCount; ++i) {
            const uint8_t b = m_footprint[static_cast<size_t>(i)];
            const int x = farX - (b >> 4), y = farY - (b & 15);
            const uint8_t flags = bg->GetCellFlags(x, y);
            bg->SetCellFlags(x, y, on ? (flags | kFlagDrawn) : (flags & ~kFlagDrawn & 0xFF));
        }
    }
    m_footprintMarked = on;
}
