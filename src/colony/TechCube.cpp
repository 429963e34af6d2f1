#include "colony/TechCube.h"

#include "core/Blit.h"
#include "windows/PlayerInfo.h"

CTechCube::CTechCube() : CWidget(0, "TechCube.slr", 0, 0, 0, 0) {}

void CTechCube::MoveTo(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY)
{
    m_current = CPoint{fromX, fromY};
    m_delta = CPoint{static_cast<int32_t>((int64_t{toX} - fromX) / kSteps),
                     static_cast<int32_t>((int64_t{toY} - fromY) / kSteps)};
    m_steps = kSteps;
}

void CTechCube::Draw(uint8_t* surface)
{
    if (m_steps < 0)
        return;
    if (surface && m_sprite.IsLoaded())
        m_sprite.Draw(m_steps % 9, m_current.x, m_current.y, ScreenTarget(surface));
    m_current.x += m_delta.x;
    m_current.y += m_delta.y;
    if (m_steps == 0)
        g_playerInfo.AddTechUsed();
    --m_steps;
}
