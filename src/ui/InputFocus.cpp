#include "ui/InputFocus.h"

#include "core/Blit.h"
#include "core/TextLayer.h"
#include "intro/IntroLayer.h"
#include "ui/Widget.h"

CInputFocus g_inputFocus;

namespace {

// Target, style and colours of every edit line: colour 60, no background.
void PrepareEditLine(CTextLayer* text, uint8_t* surface)
{
    text->SetTarget(surface, kScreenWidth, kScreenHeight);
    text->SetColor(0);
    text->SetColors(60, 255);
}

}  // namespace

CWidget* CInputFocus::SetFocusWidget(CWidget* w)
{
    if (w && w != m_focusWidget && w->IsInputEnabled()) {
        m_focusWidget = w;
        if (CTextLayer* text = g_pTextLayer) {
            text->SetInputText(w->GetText(), CTextLayer::kEditBufferSize);
            text->ResetInputState();
        }
    }
    return m_focusWidget;
}

void CInputFocus::SetHomeWidget(CWidget* w)
{
    m_homeWidget = w;
    SetFocusWidget(w);
}

void CInputFocus::RestoreFocus()
{
    if (!m_homeWidget)
        return;
    SetFocusWidget(m_homeWidget);
    BeginWidgetInput();
}

void CInputFocus::BeginWidgetInput()
{
    if (!m_focusWidget)
        return;
    CPoint p;
    m_focusWidget->GetInputPos(&p);
    m_x = p.x;
    m_y = p.y;
    if (CTextLayer* text = g_pTextLayer)
        text->BeginInputWithText(m_x, m_y, m_focusWidget->GetMaxLen());
}

void CInputFocus::SubmitFocused()
{
    if (!m_focusWidget)
        return;
    m_focusWidget->SubmitText();
    m_focusWidget->Refresh();
}

void CInputFocus::DrawWidgetInput(uint8_t* surface)
{
    CTextLayer* text = g_pTextLayer;
    if (!m_focusWidget || !text || !surface)
        return;
    PrepareEditLine(text, surface);
    if (!text->IsInputActive())
        text->BeginInput(m_x, m_y, m_focusWidget->GetMaxLen());
    text->EndInputFocus();
    text->DrawEditLine();
}

CIntroLayer* CInputFocus::SetFocusField(CIntroLayer* owner)
{
    if (owner != m_focusField) {
        m_focusField = owner;
        CTextLayer* text = g_pTextLayer;
        if (owner && text) {
            text->SetInputText(owner->GetInputBuffer(), CTextLayer::kEditBufferSize);
            text->ResetInputState();
        }
    }
    return m_focusField;
}

void CInputFocus::BeginFieldInput()
{
    CTextLayer* text = g_pTextLayer;
    if (!m_focusField || !text)
        return;
    int x = 0, y = 0;
    m_focusField->GetInputPos(x, y);
    m_x = x;
    m_y = y;
    // A field's line is started at once, on the buffer the form emptied.
    if (text->IsInputActive())
        text->BeginInputWithText(m_x, m_y, m_focusField->GetInputMaxLen());
    else
        text->BeginInput(m_x, m_y, m_focusField->GetInputMaxLen());
}

void CInputFocus::DrawField(uint8_t* surface, bool masked)
{
    CTextLayer* text = g_pTextLayer;
    if (!m_focusField || !text || !surface)
        return;
    PrepareEditLine(text, surface);
    if (!text->IsInputActive()) {
        int x = 0, y = 0;
        m_focusField->GetInputPos(x, y);
        text->BeginInput(x, y, m_focusField->GetInputMaxLen());
    }
    text->EndInputFocus();
    if (masked)
        text->DrawPasswordLine();
    else
        text->DrawEditLine();
}

void CInputFocus::DrawFieldInput(uint8_t* surface)
{
    DrawField(surface, false);
}

void CInputFocus::DrawFieldPassword(uint8_t* surface)
{
    DrawField(surface, true);
}

void CInputFocus::Reset()
{
    *this = CInputFocus{};
}
