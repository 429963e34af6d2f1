#include "colony/TechWin.h"

#include <algorithm>

#include "core/Blit.h"
#include "windows/PlayerInfo.h"

CTechWin* g_pTechWin = nullptr;

CTechWin::CTechWin() : CWidgetWindow(kId, "TechWin.slr", 528, 0, 800, 0, 0)
{
    m_cubes.Load("TechCube.slr");
    g_pTechWin = this;
}

CTechWin::~CTechWin()
{
    if (g_pTechWin == this)
        g_pTechWin = nullptr;
}

CPoint CTechWin::UsedPointPos(int32_t i) const
{
    return CPoint{m_pos.x + (i % 4) * 60 + 15, m_pos.y + (i / 4) * 64 + 20};
}

void CTechWin::Draw(uint8_t* surface)
{
    WindowDraw(surface);
    if (m_state == kClosed)
        return;
    const int32_t used = std::clamp(g_playerInfo.GetTechUsed(), 0, kMaxShown);
    for (int32_t i = used - 1; i >= 0 && surface; --i) {
        const CPoint p = UsedPointPos(i);
        m_cubes.Draw((m_counter + i) % 9, p.x, p.y, ScreenTarget(surface));
    }
    m_counter = (m_counter + 1) % 9;
}
