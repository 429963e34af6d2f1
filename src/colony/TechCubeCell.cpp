#include "colony/TechCubeCell.h"

#include <algorithm>

#include "colony/TechCube.h"
#include "colony/TechWin.h"
#include "core/Blit.h"
#include "windows/PlayerInfo.h"

CTechCubeCell::CTechCubeCell(CTechCube* flying) : CWidget(kId, "TechCube.slr", 50, 50, 50, -450), m_flying(flying)
{
}

void CTechCubeCell::Draw(uint8_t* surface)
{
    if (m_state == kClosed)
        return;
    Update();
    const int32_t points = std::clamp(g_playerInfo.GetTechPoints(), 0, kMaxShown);
    for (int32_t i = 0; i < points && surface; ++i)
        m_sprite.Draw((m_counter + i) % 9, m_pos.x + kPitch * i, m_pos.y, ScreenTarget(surface));
    m_counter = (m_counter + 1) % 9;
}

int CTechCubeCell::OnLButtonDown(int32_t x, int32_t y)
{
    const int64_t lx = int64_t{x} - m_pos.x;
    const int64_t ly = int64_t{y} - m_pos.y;
    if (m_state == kClosed || ly < 1 || ly >= kHeight || lx < 1 || lx >= int64_t{kPitch} * g_playerInfo.GetTechPoints())
        return 0;
    if (!g_pTechWin || !m_flying || !g_playerInfo.SpendTechPoint())
        return 1;
    const CPoint to = g_pTechWin->UsedPointPos(g_playerInfo.GetTechUsed());
    m_flying->MoveTo(x, y, to.x, to.y);
    return 1;
}
