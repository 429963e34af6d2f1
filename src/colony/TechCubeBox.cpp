#include "colony/TechCubeBox.h"

#include "app/CommandRing.h"
#include "app/MouseState.h"
#include "colony/BaseFacPanel.h"
#include "colony/ColonyService.h"
#include "colony/SimBuildingTable.h"
#include "colony/SimColony.h"
#include "colony/SimCursor.h"
#include "colony/SimPanelList.h"
#include "colony/TechCubeButton.h"
#include "core/Blit.h"

std::array<int16_t, 20> g_techCubeCounters{};

namespace {

constexpr uint32_t kCmdCancelBase = 88;

}  // namespace

CTechCubeBox::CTechCubeBox() : CWidgetWindow(kId, "TechCubeBox.slr", 0, 0, -528, 0, 0) {}

void CTechCubeBox::SetState(int32_t state)
{
    g_simCursor.SetLocked(state == kOpening || state == kOpen ? 1 : 0);
    CWidgetWindow::SetState(state);
}

int CTechCubeBox::CellAt(int32_t x, int32_t y) const
{
    const int64_t dx = int64_t{x} - m_pos.x;
    const int64_t dy = int64_t{y} - m_pos.y;
    if (dx < 0 || dy < 0)
        return -1;
    const int64_t c = dx / kCell;
    const int64_t r = dy / kCell;
    if (c >= kColumns || r >= kRows)
        return -1;
    return static_cast<int>(r * kColumns + c);
}

void CTechCubeBox::Draw(uint8_t* surface)
{
    WindowDraw(surface);
    if (m_state == kClosed || !surface)
        return;
    for (int slot = 0; slot < CSimColony::kCubeSlots; ++slot) {
        const int colour = g_simColony.m_cubes[static_cast<size_t>(slot)];
        if (colour < 0 || colour >= kCubeColours || slot == m_dragged)
            continue;
        int16_t& counter = g_techCubeCounters[static_cast<size_t>(slot)];
        g_techCubeSprites.Draw(CTechCubeButton::CubeFrame(colour, counter), m_pos.x + kCell * (slot % kColumns),
                               m_pos.y + kCell * (slot / kColumns), ScreenTarget(surface));
        counter = static_cast<int16_t>(counter + 1);
    }
    if (m_dragged >= 0) {
        const int colour = g_simColony.m_cubes[static_cast<size_t>(m_dragged)];
        if (colour >= 0 && colour < kCubeColours)
            g_techCubeSprites.Draw(CTechCubeButton::CubeFrame(colour, 0), g_mouseState.GetX() - 50,
                                   g_mouseState.GetY() - 50, ScreenTarget(surface));
    }
}

int CTechCubeBox::OnLButtonDown(int32_t x, int32_t y)
{
    if (!BodyHit(x, y) || m_state != kOpen || m_dragged >= 0)
        return 0;
    const int slot = CellAt(x, y);
    if (slot < 0)
        return 0;
    if (g_simColony.m_cubes[static_cast<size_t>(slot)] != kNoCube)
        m_dragged = slot;
    return 1;
}

bool CTechCubeBox::TakesCube(CWidget* panel)
{
    return panel && panel->GetId() == CBaseFacPanel::kId && panel->GetState() == kOpen && g_simCursor.HasPick();
}

int CTechCubeBox::OnLButtonUp(int32_t x, int32_t y)
{
    if (m_dragged < 0)
        return BodyHit(x, y);
    const int from = m_dragged;
    m_dragged = -1;
    const int colour = g_simColony.m_cubes[static_cast<size_t>(from)];
    CWidget* panel = g_simPanelList.FindOpen();
    if (TakesCube(panel) && panel->OnLButtonUp(x, y)) {
        if (g_simCursor.GetPickedFacility()->InsertCube(colour))
            g_simColony.SetCubeSlot(from, kNoCube);
        return 1;
    }
    const int to = CellAt(x, y);
    if (to >= 0) {
        g_simColony.SetCubeSlot(from, g_simColony.m_cubes[static_cast<size_t>(to)]);
        g_simColony.SetCubeSlot(to, colour);
        Colony().SendCubes();
    }
    return 1;
}

int32_t CTechCubeBox::OnEscape()
{
    g_commandRing.Push(kCmdCancelBase);
    return m_id;
}
