#include "ui/EditWidget.h"

#include <algorithm>

#include "core/Blit.h"

CEditWidget::CEditWidget(int32_t id, const char* slrName, int32_t openX, int32_t openY, int32_t closedX,
                         int32_t closedY, int32_t lineCount, int vertical)
    : CWidgetWindow(id, slrName, openX, openY, closedX, closedY, lineCount), m_vertical(vertical)
{
}

void CEditWidget::Update()
{
    const bool vertical = m_vertical == 1;
    int32_t& cur = vertical ? m_pos.y : m_pos.x;
    int32_t& step = vertical ? m_step.y : m_step.x;
    const int32_t open = vertical ? m_openPos.y : m_openPos.x;
    const int32_t closed = vertical ? m_closedPos.y : m_closedPos.x;
    const int64_t edge = vertical ? kScreenHeight : kScreenWidth;
    const int64_t size = vertical ? m_sprite.GetHeight() : m_sprite.GetWidth();
    const int64_t t = g_uiFrameTicks;
    auto clamp32 = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };

    if (m_state == kOpening) {
        // Towards the open coordinate, from whichever side it is.
        if ((open > cur && step < 0) || (open < cur && step > 0))
            step = -step;
        cur = clamp32(cur + step * t);
        if ((static_cast<int64_t>(open) - cur) * step < 1) {
            m_state = kOpen;
            cur = open;
        }
    } else if (m_state == kClosing) {
        // On through the far edge, in the direction it came in. Without a
        // step on its axis it could never get there: it closes at once.
        if (cur >= edge || step == 0) {
            m_state = kClosed;
            cur = closed;
            return;
        }
        cur = clamp32(cur + step * t);
        if (cur < -size || cur >= edge) {
            m_state = kClosed;
            cur = closed;
        }
    }
    if (m_clearXBit)
        m_pos.x &= ~2;
}
