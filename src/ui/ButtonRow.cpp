#include "ui/ButtonRow.h"

#include <algorithm>

#include "app/CommandRing.h"
#include "core/Blit.h"
#include "core/Locale.h"

CButtonRow::CButtonRow(int32_t id, const char* slrName, int32_t openX, int32_t openY, int32_t closedX,
                       int32_t closedY, int32_t count, int32_t pitch, const int32_t* commandCodes,
                       const char* const* koreanTips, const char* const* englishTips)
    : CWidget(id, slrName, openX, openY, closedX, closedY),
      m_count(std::max(0, count)),
      m_pitch(pitch),
      m_commandCodes(commandCodes),
      m_hovered(m_count),
      m_tips(IsNonKoreanLocale() ? englishTips : koreanTips)
{
}

int CButtonRow::OnMouseMove(int32_t x, int32_t y)
{
    if (m_pinned)
        return 0;
    m_hovered = m_count;
    for (int32_t i = 0; i < m_count; ++i) {
        if (m_sprite.HitTest(i, x - m_pos.x, y - (m_pos.y + i * m_pitch))) {
            m_hovered = i;
            break;
        }
    }
    return 0;
}

int CButtonRow::OnLButtonDown(int32_t, int32_t)
{
    if (m_pinned || m_hovered < 0 || m_hovered >= m_count)
        return 0;
    m_frame = m_hovered;
    if (m_commandCodes)
        g_commandRing.Push(static_cast<uint32_t>(m_commandCodes[m_hovered]));
    return 1;
}

void CButtonRow::DrawButton(int32_t i, uint8_t* surface)
{
    const int32_t frame = i == m_hovered ? i + m_count : i;
    m_sprite.Draw(frame, m_pos.x, m_pos.y + i * m_pitch, ScreenTarget(surface));
}

void CButtonRow::Draw(uint8_t* surface)
{
    if (m_state == kClosed)
        return;
    Update();
    if (surface) {
        const int32_t selected = m_frame;
        for (int32_t i = 0; i < std::min(selected, m_count); ++i)
            DrawButton(i, surface);
        for (int32_t i = m_count - 1; i > selected && i >= 0; --i)
            DrawButton(i, surface);
        if (selected >= 0 && selected < m_count)
            DrawButton(selected, surface);
    }
    if (m_hovered >= 0 && m_hovered < m_count) {
        m_tooltip = m_tips ? m_tips[m_hovered] : nullptr;
        DrawTooltip(m_pos.x + 20, m_pos.y + m_hovered * m_pitch + 10, surface);
    }
}
