#include "ui/ScrollThumb.h"

CScrollThumb::CScrollThumb(CWidget* owner, int32_t offsetX, int32_t offsetY, int32_t trackLeft, int32_t trackTop,
                           int32_t trackRight, int32_t trackBottom, CWidget* list)
    : CImageWidget(0, kThumbFile, owner, offsetX, offsetY),
      m_list(list),
      m_trackHeight(trackBottom - trackTop),
      m_trackLeft(trackLeft),
      m_trackTop(trackTop),
      m_trackRight(trackRight),
      m_trackBottom(trackBottom)
{
}

void CScrollThumb::Refresh()
{
    double a = 0.0, b = 0.0;
    if (m_list)
        m_list->GetScrollFraction(&a, &b);
    m_thumbTop = static_cast<int32_t>(m_trackHeight * a);
    m_thumbBottom = static_cast<int32_t>(m_trackHeight * b);
    if (m_thumbBottom - m_thumbTop < kMinThumb) {
        m_thumbTop = static_cast<int32_t>((m_trackHeight - kMinThumb) * a);
        m_thumbBottom = m_thumbTop + kMinThumb;
    }
}

bool CScrollThumb::InTrack(int32_t x, int32_t y, int32_t margin) const
{
    const CPoint o = m_owner ? *m_owner->GetPos() : CPoint{};
    const int64_t left = int64_t{o.x} + m_trackLeft - margin, right = int64_t{o.x} + m_trackRight + margin;
    const int64_t top = int64_t{o.y} + m_trackTop - margin, bottom = int64_t{o.y} + m_trackBottom + margin;
    return left < x && x < right && top < y && y < bottom;
}

void CScrollThumb::ScrollTo(int32_t y)
{
    if (!m_list || m_trackHeight == 0)
        return;
    const int64_t oy = m_owner ? m_owner->GetPos()->y : 0;
    m_list->SetScrollFraction(static_cast<double>(int64_t{y} - (oy + m_trackTop)) / m_trackHeight);
}
