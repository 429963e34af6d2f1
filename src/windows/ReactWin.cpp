#include "windows/ReactWin.h"

#include "ui/AbilityList.h"

// Both scroll bars take the tracks of the action page's first two bars.
CReactWin::CReactWin() : CAbilityWin("ReactWin.slr", "Shadow.slr", 15, 319)
{
    AddList<CReactionListA>(SPlace{75, 51, 130, 64, 127});
    AddList<CReactionListB>(SPlace{205, 179, 258, 192, 255});
    ReloadData();
}
