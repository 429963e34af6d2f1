#include "windows/RegionMapWin.h"

#include "ui/ButtonWidget.h"
#include "ui/InputFocus.h"

CRegionMapWin::CRegionMapWin(int32_t id, const Destination& upper, const Destination& lower)
    : CNpcWindow(id, "basic.slr")
{
    AddChild(new CButtonWidget(upper.id, upper.slrName, this, 145, 97, upper.command, kNpcButtonRepeat));
    AddChild(new CButtonWidget(lower.id, lower.slrName, this, 145, 144, lower.command, kNpcButtonRepeat));
    g_inputFocus.SetFocusWidget(this);
}
