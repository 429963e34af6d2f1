#include "ui/InputBox.h"

#include "ui/TextCut.h"

CInputBox::CInputBox(int32_t id, CWidget* owner, int32_t offsetX, int32_t offsetY, int32_t rectLeft,
                     int32_t rectTop, int32_t rectRight, int32_t rectBottom)
    : CWidgetWindow(id, nullptr, 0, 0, 0, 0, 1), m_owner(owner), m_offsetX(offsetX), m_offsetY(offsetY)
{
    m_inputRect = CRect{rectLeft, rectTop, rectRight, rectBottom};
    m_maxLen = kMaxLen;
}

int CInputBox::OnLButtonDown(int32_t x, int32_t y)
{
    // The owner may have moved since the box was last placed.
    if (m_owner)
        m_pos = CPoint{m_owner->GetPos()->x + m_offsetX, m_owner->GetPos()->y + m_offsetY};
    return CWidgetWindow::OnLButtonDown(x, y);
}

void CInputBox::GetInputPos(CPoint* out)
{
    if (out)
        *out = m_pos;
}

void CInputBox::Draw(uint8_t*)
{
    // No state test: a closed owner lies at its closed place, off screen.
    if (m_owner)
        DrawText(m_owner->GetPos()->x + m_offsetX, m_owner->GetPos()->y + m_offsetY, m_input.data(), 0);
}

void CInputBox::SetText(const char* text)
{
    CopyTextCut(m_input.data(), m_input.size(), text);
}
