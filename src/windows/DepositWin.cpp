#include "windows/DepositWin.h"

#include "app/CommandRing.h"
#include "ui/ButtonWidget.h"
#include "ui/NumberBox.h"
#include "ui/SliderWidget.h"
#include "windows/DispatchCommands.h"

namespace {
constexpr int32_t kRepeat = CButtonWidget::kRepeatFrames;
constexpr int32_t kCancel = 127;
}  // namespace

CDepositWin::CDepositWin() : CWidgetWindow(kId, "data\\Deposit.slr", 233, 93, -328, 93, 0)
{
    AddChild(new CButtonWidget(0, "data\\okg1.slr", this, 52, 191, 126, kRepeat));
    AddChild(new CButtonWidget(0, "data\\cancelg1.slr", this, 187, 191, kCancel, kRepeat));
    AddChild(new CNumberBox(kRecipientBox, this, 152, 53, 0, 0, 115, 20, kDigits));
    AddChild(new CNumberBox(kAmountBox, this, 151, 105, 0, 0, 115, 21, kDigits));
    AddChild(new CButtonWidget(0, "data\\rightarrow.slr", this, 271, 104, 128, kRepeat));
    AddChild(new CButtonWidget(0, "data\\leftarrow.slr", this, 125, 104, 129, kRepeat));
    m_slider = new CSliderWidget(kSliderId, "data\\bars.slr", 386, 234, 386, -10, 3, 1, 108, 10, &g_transferPercent,
                                 131, 1);
    AddChild(m_slider);
}

void CDepositWin::Refresh()
{
    if (m_state != kClosed && m_state != kClosing)
        CWidgetWindow::Refresh();
}

int32_t CDepositWin::OnEscape()
{
    g_commandRing.Push(kCancel);
    return kId;
}
