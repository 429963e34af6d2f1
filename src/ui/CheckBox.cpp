#include "ui/CheckBox.h"

#include "core/Blit.h"

CCheckBox::CCheckBox(int32_t id, const char* slrName, CWidget* owner, int32_t offsetX, int32_t offsetY,
                     int32_t commandCode, int ticked)
    : CButtonWidget(id, slrName, owner, offsetX, offsetY, commandCode, kRepeatFrames), m_ticked(ticked)
{
    m_mark.Load(kMarkFile);
}

CCheckBox::CCheckBox(int32_t id, const char* slrName, int32_t openX, int32_t openY, int32_t closedX, int32_t closedY,
                     int32_t commandCode, int ticked)
    : CButtonWidget(id, slrName, openX, openY, closedX, closedY, commandCode, kRepeatFrames), m_ticked(ticked)
{
    m_mark.Load(kMarkFile);
}

int CCheckBox::CheckRelease(int32_t x, int32_t y)
{
    const int posted = ButtonRelease(x, y);
    if (posted)
        m_ticked = !m_ticked;
    return posted;
}

int CCheckBox::OnLButtonUp(int32_t x, int32_t y)
{
    return CheckRelease(x, y);
}

void CCheckBox::Draw(uint8_t* surface)
{
    ButtonDraw(surface);
    if (!surface)
        return;
    // Left of the button, centred on its height.
    const int32_t x = m_pos.x - m_mark.GetWidth();
    const int32_t y = m_pos.y + (m_sprite.GetHeight() - m_mark.GetHeight()) / 2;
    m_mark.Draw(m_ticked ? 1 : 0, x, y, ScreenTarget(surface));
}
