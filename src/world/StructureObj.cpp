#include "world/StructureObj.h"

#include <algorithm>
#include <cstring>

#include "core/ItemSpriteSet.h"
#include "core/RleImage.h"
#include "world/BGLayer.h"
#include "world/ObjLayer.h"
#include "world/ObrEntry.h"

namespace {
constexpr int kPieceMap = 0;
constexpr int kSolidMap = 1;
constexpr uint8_t kNoPiece = 255;
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

void CStructureObj::Update()
{
    int w = 0, h = 0, farX = 0, farY = 0;
    CBGLayer* bg = m_pLayer ? m_pLayer->GetBackground() : nullptr;
    if (!m_active || !bg || !Extent(w, h, farX, farY))
        return;
    const CItemSpriteSet* set = m_pDescriptor->GetSpriteSet();
    const uint8_t* pieces = set->GetPlane(kPieceMap);
    if (!pieces)
        return;
    CObjLayer& layer = *m_pLayer;
    auto meetsView = [&layer](int64_t left, int64_t top, int64_t width, int64_t height) {
        return left + width > layer.GetViewLeft() && left < layer.GetViewRight() && top + height > layer.GetViewTop() &&
               top < layer.GetViewBottom();
    };
    int sx = 0, sy = 0;
    bg->WorldToScreen(m_pixelX, m_pixelY, sx, sy);
    if (!meetsView(static_cast<int64_t>(sx) - set->GetPoint().x, static_cast<int64_t>(sy) - set->GetPoint().y,
                   set->GetSize().cx, set->GetSize().cy))
        return;
    const int x0 = m_tileX - w / 2, y0 = m_tileY - h / 2;
    int rowX = 0, rowY = 0;
    bg->TileToScreen(x0, y0, rowX, rowY);
    rowX += CBGLayer::kTileWidth / 2;
    rowY += CBGLayer::kTileHeight / 2;
    for (int r = 0; r < h; ++r, rowX -= CBGLayer::kTileWidth / 2, rowY += CBGLayer::kTileHeight / 2) {
        int px = rowX, py = rowY;
        for (int c = 0; c < w; ++c, px += CBGLayer::kTileWidth / 2, py += CBGLayer::kTileHeight / 2) {
            const uint8_t p = pieces[static_cast<size_t>(r) * static_cast<size_t>(w) + static_cast<size_t>(c)];
            CRleImage* frame = p == kNoPiece ? nullptr : set->GetFrame(p);
            if (!frame || !meetsView(static_cast<int64_t>(px) - frame->GetHotSpot().x,
                                     static_cast<int64_t>(py) - frame->GetHotSpot().y, frame->GetDataWidth(),
                                     frame->GetDataHeight()))
                continue;
            int mode = 0;
            uint32_t param = 0;
            if (layer.m_inBattle) {
                const uint8_t light = bg->GetSight(x0 + c, y0 + r);
                if (light < CBGLayer::kFullSight) {
                    mode = 3;
                    param = light;
                }
            } else if (m_state == 2) {
                mode = 2;
            }
            layer.AddDrawItem(this, px, py, 0, frame, mode, param);
        }
    }
}
