#include "windows/NpcMenuWin.h"

#include "ui/ButtonWidget.h"

CNpcMenuWin::CNpcMenuWin(const SNpcMenu& menu) : CNpcWindow(menu.id, menu.slrName)
{
    AddChild(new CButtonWidget(0, menu.leftButton, this, 47, 85, menu.leftCommand, kNpcButtonRepeat));
    AddChild(new CButtonWidget(0, "talkg.slr", this, 181, 85, menu.talkCommand, kNpcButtonRepeat));
    AddChild(new CButtonWidget(0, "xg.slr", this, 294, 116, kCloseCommand, kNpcButtonRepeat));
}
