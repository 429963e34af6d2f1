#include "ui/NumberBox.h"

#include "core/TextLayer.h"
#include "ui/InputFocus.h"
#include "ui/TextCut.h"

CNumberBox::CNumberBox(int32_t id, CWidget* owner, int32_t offsetX, int32_t offsetY, int32_t rectLeft,
                       int32_t rectTop, int32_t rectRight, int32_t rectBottom, int32_t maxLen)
    : CInputBox(id, owner, offsetX, offsetY, rectLeft, rectTop, rectRight, rectBottom),
      m_textX(offsetX),
      m_textY(offsetY)
{
    m_maxLen = maxLen;
}

void CNumberBox::GetInputPos(CPoint* out)
{
    if (out)
        *out = CPoint{m_textX + kTextDx, m_textY + kTextDy};
}

void CNumberBox::DrawNumber()
{
    if (CTextLayer* text = g_pTextLayer)
        text->DrawText(m_textX + kTextDx, m_textY + kTextDy, m_input.data(), 0);
}

void CNumberBox::Draw(uint8_t* surface)
{
    if (m_state != kOpen)
        return;
    DrawNumber();
    WindowDraw(surface);
}

void CNumberBox::Clear()
{
    m_input.fill(0);
    if (CTextLayer* text = g_pTextLayer) {
        text->SetInputText(m_input.data(), kInputSize);
        text->ClearInput();
    }
}

void CNumberBox::SetAndDrawText(const char* text)
{
    if (m_state != kOpen)
        return;
    CopyTextCut(m_input.data(), m_input.size(), text);
    DrawNumber();
}

void CNumberBox::TakeFocus()
{
    g_inputFocus.SetFocusWidget(this);
    g_inputFocus.BeginWidgetInput();
}
