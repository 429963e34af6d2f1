#include "windows/BankWin.h"

#include "ui/ButtonWidget.h"

CBankWin::CBankWin() : CWidgetWindow(kId, "data\\bank.slr", 233, 93, -328, 93, 0)
{
    AddChild(new CButtonWidget(0, "data\\depositg.slr", this, 47, 85, 124, CButtonWidget::kRepeatFrames));
    AddChild(new CButtonWidget(0, "data\\cabinetg.slr", this, 180, 85, 125, CButtonWidget::kRepeatFrames));
}
