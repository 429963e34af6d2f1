#include "windows/ItemBox.h"

#include <algorithm>
#include <cstdint>

#include "app/StringTable.h"
#include "rules/StartPositions.h"
#include "windows/ItemGrid.h"
#include "windows/MouseCursor.h"
#include "windows/PlayerInfo.h"
#include "windows/UiService.h"
#include "world/ObjLayer.h"

namespace {

const char* FrameFile(int32_t kind) { return kind == 2 ? "data\\ItmBox2.slr" : "data\\ItmBox.slr"; }

int Worn(int slot)
{
    const CharacterRecord* rec = g_playerInfo.GetMyRecord();
    return rec ? CPlayerInfo::GetEquip(*rec, slot) : 0;
}

}  // namespace

CItemBox::CItemBox(int32_t kind, int32_t openX, int32_t openY, int32_t closedX, int32_t closedY)
    : CImageWidget(0, kind == 0 ? nullptr : FrameFile(kind), openX, openY, closedX, closedY), m_kind(kind)
{
}

void CItemBox::Draw(uint8_t* surface)
{
    if (m_kind == 0)
        Update();
    else
        BaseDraw(surface);
}

CItemBoxGroup::CItemBoxGroup(CWidget* window, int32_t slot, int32_t kind, int32_t delay, int32_t openX,
                             int32_t openY, int32_t closedX, int32_t closedY)
    : CItemBox(kind, openX, openY, closedX, closedY), m_window(window), m_delay(delay), m_slot(slot)
{
    m_countdown = delay;
    m_step = CPoint{-kSlideStep, 0};
    m_state = kClosed;
}

void CItemBoxGroup::Update()
{
    const int64_t t = g_uiFrameTicks;
    const auto clamp32 = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    if (m_state == kOpening) {
        if (m_countdown > 0) {
            m_countdown = clamp32(m_countdown - kSlideStep * t);
        } else {
            m_pos.x = clamp32(m_pos.x + m_step.x * t);
            if (m_pos.x <= m_openPos.x) {
                m_pos = m_openPos;
                m_state = kOpen;
                m_countdown = m_delay - kFirstDelay;
            }
        }
    } else if (m_state == kClosing) {
        if (m_countdown >= 1) {
            m_countdown = clamp32(m_countdown - kSlideStep * t);
        } else {
            m_pos.x = clamp32(m_pos.x - m_step.x * t);
            if (m_pos.x >= m_closedPos.x) {
                m_pos = m_closedPos;
                m_state = kClosed;
                m_countdown = m_delay;
            }
        }
    }
}

void CItemBoxGroup::Draw(uint8_t* surface)
{
    CItemBox::Draw(surface);
    if (m_state == kClosed)
        return;
    const int id = Worn(m_slot);
    if (id <= 0)
        return;
    DrawItemIcon(id, m_pos.x + m_sprite.GetWidth() / 2, m_pos.y + 5, surface, false);
    if (m_hover && m_window)
        DrawItemHoverText(id, m_window->GetPos()->x, m_window->GetPos()->y, surface);
}

int CItemBoxGroup::OnMouseMove(int32_t x, int32_t y)
{
    m_hover = m_state == kOpen && Hit(x, y);
    return 0;
}

int CItemBoxGroup::OnLButtonDown(int32_t x, int32_t y)
{
    CharacterRecord* rec = g_playerInfo.GetMyRecord();
    // One item at a time.
    if (m_state == kClosed || !rec || !Hit(x, y) || g_mouseCursor.IsCarrying())
        return 0;
    g_mouseCursor.PickUp(CPlayerInfo::GetEquip(*rec, m_slot), CMouseCursor::kFromEquipment, m_slot);
    CPlayerInfo::SetEquip(*rec, m_slot, 0);
    return 1;
}

int CItemBoxGroup::OnLButtonUp(int32_t x, int32_t y)
{
    if (m_state == kClosed || !Hit(x, y))
        return 0;
    if (g_mouseCursor.GetItemId() >= 0)
        g_mouseCursor.DropOnEquipSlot(m_slot);
    return 1;
}

int CItemBoxGroup::OnLButtonDblClk(int32_t x, int32_t y)
{
    if (m_state == kClosed || !Hit(x, y))
        return 0;
    if (m_slot != kTravelSlot || Worn(m_slot) != kTravelItem)
        return 1;
    CObjLayer* layer = GetObjLayer();
    if (g_inJail == 1) {
        Ui().AddLine(GetGameString(202));
    } else if (layer && !layer->m_inBattle) {
        const StartPosition start = GetStartPosition();
        layer->StageChange().Init(CStageChange::kMove, start.map, start.x, start.y);
    }
    return 1;
}
