#include "windows/CabinetCell.h"

#include "windows/MouseCursor.h"
#include "windows/PlayerInfo.h"

namespace {
constexpr int kSlots = CPlayerInfo::kCabinetSlots;
}  // namespace

CCabinetCell::CCabinetCell(CWidget* owner, int32_t offsetX, int32_t offsetY)
    : CImageWidget(kId, nullptr, owner, offsetX, offsetY)
{
}

void CCabinetCell::Refresh()
{
    if (m_state == kClosed || m_state == kClosing)
        return;
    m_count = 0;
    while (m_count < kSlots && g_playerInfo.GetCabinetItem(m_count) != 0)
        ++m_count;
}

int32_t CCabinetCell::SlotAt(int32_t x, int32_t y) const
{
    const CPoint w = WindowPos();
    const int64_t dx = int64_t{x} - (w.x + kOrigin), dy = int64_t{y} - (w.y + kOrigin);
    if (dx < 0 || dy < 0 || dx / kCellW >= kColumns || dy / kCellH >= kRows)
        return -1;
    return m_top + kColumns * static_cast<int32_t>(dy / kCellH) + static_cast<int32_t>(dx / kCellW);
}

void CCabinetCell::Draw(uint8_t* surface)
{
    Update();
    if (m_state == kClosed)
        return;
    const CPoint w = WindowPos();
    for (int slot = 0; slot < kSlots; ++slot) {
        const int c = slot % kColumns, r = slot / kColumns;
        int iw = 0, ih = 0;
        if (DrawItemIcon(g_playerInfo.GetCabinetItem(slot), w.x + kIconX + kCellW * c, w.y + kIconY + kCellH * r,
                         surface, false, &iw, &ih) &&
            m_iconW == 1 && m_iconH == 1) {
            m_iconW = iw;
            m_iconH = ih;
        }
    }
}

int CCabinetCell::OnLButtonDown(int32_t x, int32_t y)
{
    const int32_t slot = SlotAt(x, y);
    // One item at a time.
    if (m_state != kOpen || slot < 0 || slot >= kSlots || g_mouseCursor.IsCarrying())
        return 0;
    g_mouseCursor.PickUp(g_playerInfo.GetCabinetItem(slot), CMouseCursor::kFromCabinet, slot);
    g_playerInfo.SetCabinetItem(slot, 0);
    Refresh();
    return 1;
}

int CCabinetCell::OnLButtonUp(int32_t x, int32_t y)
{
    const int32_t slot = SlotAt(x, y);
    if (m_state != kOpen || slot < 0 || slot >= kSlots)
        return 0;
    if (g_mouseCursor.GetItemId() >= 0)
        g_mouseCursor.DropOnCabinet(slot);
    Refresh();
    return 1;
}
