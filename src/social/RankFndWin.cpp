#include "social/RankFndWin.h"

#include "app/CommandRing.h"
#include "app/FrameClock.h"
#include "ui/ButtonWidget.h"
#include "ui/InputFocus.h"
#include "windows/DaradirUzedo.h"

namespace {
constexpr int kChatWindow = 2;
}  // namespace

CRankFndWin::CRankFndWin() : CEditWidget(kId, "RankFndWin.slr", 256, 250, -288, 250, 1, 0)
{
    AddChild(new CButtonWidget(0, "RnkFndRk.slr", this, 21, 54, 95, 15));
    AddChild(new CButtonWidget(0, "RnkFndNm.slr", this, 21, 84, 94, 15));
    SetInputRect(CRect{121, 69, 252, 91});
    SetMaxLen(kTextMaxLen);
}

void CRankFndWin::SetState(int32_t state)
{
    CEditWidget::SetState(state);
    if (m_state == kOpening) {
        g_inputFocus.SetFocusWidget(this);
        g_inputFocus.BeginWidgetInput();
        g_commandRing.Push(0);
    } else if (m_state == kClosing) {
        CDaradirUzedo* ui = g_layerHolder.GetLayer();
        if (!g_gmFlag || (ui && ui->IsWindowOpen(kChatWindow)))
            g_inputFocus.RestoreFocus();
        else
            g_inputFocus.ClearFocus();
    }
}

void CRankFndWin::GetInputPos(CPoint* out)
{
    if (out)
        *out = CPoint{m_openPos.x + 155, m_openPos.y + 73};
}

void CRankFndWin::Draw(uint8_t* surface)
{
    CEditWidget::Draw(surface);
    if (m_state != kOpen)
        return;
    CPoint at;
    GetInputPos(&at);
    DrawText(at.x, at.y, m_input.data(), 0);
}
