#include "ui/TooltipArea.h"

CTooltipArea::CTooltipArea(int32_t id, CWidget* owner, int32_t offsetX, int32_t offsetY, int32_t width,
                           int32_t height, int32_t tipX, int32_t tipY)
    : CImageWidget(id, nullptr, owner, offsetX, offsetY),
      m_tipX(tipX),
      m_tipY(tipY),
      m_width(width),
      m_height(height)
{
}

int CTooltipArea::OnMouseMove(int32_t x, int32_t y)
{
    m_hover = 0;
    if (m_owner) {
        const int64_t left = int64_t{m_owner->GetPos()->x} + m_offsetX;
        const int64_t top = int64_t{m_owner->GetPos()->y} + m_offsetY;
        m_hover = left < x && x < left + m_width && top < y && y < top + m_height;
    }
    return 0;
}

void CTooltipArea::Draw(uint8_t* surface)
{
    if (m_hover && m_owner)
        DrawTooltip(m_owner->GetPos()->x + m_tipX, m_owner->GetPos()->y + m_tipY, surface);
}
