#include "windows/SupWin.h"

#include "ui/AbilityList.h"

CSupWin::CSupWin() : CAbilityWin("SupWin.slr", "Shadow.slr", 15, 191)
{
    AddList<CSupportList>(kUpper);
    ReloadData();
}
