#include "windows/ReactWin.h"

#include "ui/AbilityList.h"

CReactWin::CReactWin() : CAbilityWin("ReactWin.slr", "Shadow.slr", 15, 319)
{
    AddList<CReactionListA>(kUpper);
    AddList<CReactionListB>(kMiddle);
    ReloadData();
}
