#include "ui/ButtonWidget.h"

#include "app/CommandRing.h"
#include "core/Blit.h"
#include "world/ObjLayer.h"

CButtonWidget::CButtonWidget(int32_t id, const char* slrName, CWidget* owner, int32_t offsetX, int32_t offsetY,
                             int32_t commandCode, int32_t repeatInterval)
    : CImageWidget(id, slrName, owner, offsetX, offsetY), m_commandCode(commandCode), m_repeatInterval(repeatInterval)
{
}

CButtonWidget::CButtonWidget(int32_t id, const char* slrName, int32_t openX, int32_t openY, int32_t closedX,
                             int32_t closedY, int32_t commandCode, int32_t repeatInterval)
    : CImageWidget(id, slrName, openX, openY, closedX, closedY),
      m_commandCode(commandCode),
      m_repeatInterval(repeatInterval)
{
}

void CButtonWidget::SetState(int32_t state)
{
    BaseSetState(state);
    if (state == kClosing) {
        m_look = kLookNormal;
        m_pressed = 0;
    }
}

int CButtonWidget::OnMouseMove(int32_t x, int32_t y)
{
    if (m_look == kLookDisabled)
        return 0;
    if (Hit(x, y))
        m_look = m_pressed ? kLookPressed : kLookHover;
    else
        m_look = kLookNormal;
    return 0;  // every control under the cursor sees the move
}

int CButtonWidget::OnLButtonDown(int32_t x, int32_t y)
{
    if (m_look == kLookDisabled || !Hit(x, y))
        return 0;
    const uint32_t now = g_frameClock;
    // Signed difference: the clock may wrap.
    if (!m_neverPressed && static_cast<int32_t>(now - m_lastPress) < m_repeatInterval)
        return 1;
    m_neverPressed = false;
    m_lastPress = now;
    m_look = kLookPressed;
    m_pressed = 1;
    return 1;
}

int CButtonWidget::ButtonRelease(int32_t x, int32_t y)
{
    if (m_look == kLookDisabled || m_state != kOpen)
        return 0;
    int result = 0;
    if (m_pressed && Hit(x, y)) {
        g_commandRing.Push(static_cast<uint32_t>(m_commandCode));
        result = 1;
    }
    m_pressed = 0;
    OnMouseMove(x, y);
    return result;
}

int CButtonWidget::OnLButtonUp(int32_t x, int32_t y)
{
    return ButtonRelease(x, y);
}

void CButtonWidget::ButtonDraw(uint8_t* surface)
{
    if (m_state == kClosed) {
        m_pressed = 0;
        return;
    }
    Update();
    if (surface)
        m_sprite.Draw(m_look, m_pos.x, m_pos.y, ScreenTarget(surface));
    if (m_look == kLookHover || m_look == kLookPressed)
        DrawTooltip(m_pos.x, m_pos.y - 14, surface);
}

void CButtonWidget::Draw(uint8_t* surface)
{
    ButtonDraw(surface);
}

int32_t CButtonWidget::GetPressState() const
{
    if (!m_pressed)
        return m_look;
    return m_look == kLookNormal ? kHeldOff : m_look;
}
