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
    AddList<CActionListA>(kUpper);
    AddList<CActionListB>(kMiddle);
    AddList<CActionItemList>(kLower, g_playerInfo.GetChosenItemPtr());
    ReloadData();
}
