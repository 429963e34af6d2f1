// The menus of the town NPCs (101..104): a picture with two choice buttons
// and a close button, each posting its command.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "windows/NpcWindow.h"

struct SNpcMenu {
    int32_t id;
    const char* slrName;
    const char* leftButton;
    int32_t leftCommand;
    int32_t talkCommand;
};

// 101: colony mode or the NPC's talk; 102 and 103: the market with the
// weapon or armour list, or the merchant's talk; 104: choices that do nothing.
inline constexpr std::array<SNpcMenu, 4> kNpcMenus = {{
    {101, "cherubim.slr", "colonyg.slr", 132, 133},
    {102, "weapon.slr", "itemg.slr", 134, 135},
    {103, "armor.slr", "itemg.slr", 136, 137},
    {104, "packman.slr", "itemg.slr", 138, 139},
}};

class CNpcMenuWin : public CNpcWindow {
public:
    static constexpr int32_t kCloseCommand = 140;

    explicit CNpcMenuWin(const SNpcMenu& menu);
};

template <size_t Row>
class CNpcMenuOf : public CNpcMenuWin {
public:
    static constexpr int32_t kId = kNpcMenus[Row].id;
    CNpcMenuOf() : CNpcMenuWin(kNpcMenus[Row]) {}
};

using CNpcTalkWin = CNpcMenuOf<0>;
using CWeaponShopWin = CNpcMenuOf<1>;
using CArmorShopWin = CNpcMenuOf<2>;
using CPackmanWin = CNpcMenuOf<3>;
