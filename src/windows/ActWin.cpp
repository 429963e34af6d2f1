#include "windows/ActWin.h"

#include <iterator>

#include "ui/AbilityList.h"
#include "ui/ActionItemList.h"
#include "windows/PlayerInfo.h"

namespace {
constexpr uint16_t kLinked[] = {10, 6, 9, 12, 35, 59, 60, 61, 64, 65};
}  // namespace

CActWin::CActWin() : CAbilityWin("data\\ActWin.slr", nullptr, 0, 0)
{
    SetLinkedIds(kLinked, static_cast<int>(std::size(kLinked)));
    AddList<CActionListA>(SPlace{75, 51, 130, 64, 127});
    AddList<CActionListB>(SPlace{205, 179, 258, 192, 255});
    AddList<CActionItemList>(SPlace{333, 307, 386, 320, 383}, g_playerInfo.GetChosenItemPtr());
    ReloadData();
}
