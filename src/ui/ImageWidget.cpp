#include "ui/ImageWidget.h"

CImageWidget::CImageWidget(int32_t id, const char* slrName, CWidget* owner, int32_t offsetX, int32_t offsetY)
    : CWidget(id, slrName, 800, 0, 800, 0), m_owner(owner), m_offsetX(offsetX), m_offsetY(offsetY)
{
}

CImageWidget::CImageWidget(int32_t id, const char* slrName, int32_t openX, int32_t openY, int32_t closedX,
                           int32_t closedY)
    : CWidget(id, slrName, openX, openY, closedX, closedY)
{
}

void CImageWidget::AttachedUpdate()
{
    if (!m_owner || m_state == kMovingOpen) {
        Slide();
        return;
    }
    const CPoint* at = m_owner->GetPos();
    m_pos = CPoint{at->x + m_offsetX, at->y + m_offsetY};
    m_state = m_owner->GetState();
    if (m_state == kOpen)
        m_openPos = m_pos;
    else if (m_state == kClosed)
        m_closedPos = m_pos;
}

void CImageWidget::Update()
{
    AttachedUpdate();
}
