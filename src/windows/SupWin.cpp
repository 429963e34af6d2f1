#include "windows/SupWin.h"

#include "ui/AbilityList.h"

// The scroll bar takes the track of the action page's first bar.
CSupWin::CSupWin() : CAbilityWin("SupWin.slr", "Shadow.slr", 15, 191)
{
    AddList<CSupportList>(SPlace{75, 51, 130, 64, 127});
    ReloadData();
}
