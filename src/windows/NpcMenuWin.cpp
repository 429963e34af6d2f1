#include "windows/NpcMenuWin.h"

#include "ui/ButtonWidget.h"

CNpcMenuWin::CNpcMenuWin(int32_t id, const char* slrName, const char* leftButton, int32_t leftCommand,
                         int32_t talkCommand)
    : CNpcWindow(id, slrName)
{
    AddChild(new CButtonWidget(0, leftButton, this, 47, 85, leftCommand, kNpcButtonRepeat));
    AddChild(new CButtonWidget(0, "talkg.slr", this, 181, 85, talkCommand, kNpcButtonRepeat));
    AddChild(new CButtonWidget(0, "xg.slr", this, 294, 116, kCloseCommand, kNpcButtonRepeat));
}
