#include "ui/ToggleButton.h"

#include "core/Blit.h"

CToggleButton::CToggleButton(int32_t id, const char* slrName, CWidget* owner, int32_t offsetX, int32_t offsetY,
                             int32_t value, int32_t* selection)
    : CButtonWidget(id, slrName, owner, offsetX, offsetY, 0, kRepeatFrames), m_value(value), m_selection(selection)
{
}

int CToggleButton::OnLButtonDown(int32_t x, int32_t y)
{
    if (m_look == kLookDisabled || !Hit(x, y))
        return 0;
    if (m_selection)
        *m_selection = m_value;
    m_pressed = 1;
    return 1;
}

void CToggleButton::Draw(uint8_t* surface)
{
    if (m_state == kClosed)
        return;
    Update();
    const bool selected = m_selection && *m_selection == m_value;
    if (surface)
        m_sprite.Draw(selected ? kLookPressed : kLookNormal, m_pos.x, m_pos.y, ScreenTarget(surface));
}
