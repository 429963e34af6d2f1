// The menus of the town NPCs (101..104): a picture with two choice buttons
// and a close button, each posting its command.
#pragma once
#include <cstdint>

#include "windows/NpcWindow.h"

class CNpcMenuWin : public CNpcWindow {
public:
    static constexpr int32_t kCloseCommand = 140;

    CNpcMenuWin(int32_t id, const char* slrName, const char* leftButton, int32_t leftCommand, int32_t talkCommand);
};

// Colony mode or the NPC's talk.
class CNpcTalkWin : public CNpcMenuWin {
public:
    static constexpr int32_t kId = 101;
    CNpcTalkWin() : CNpcMenuWin(kId, "cherubim.slr", "colonyg.slr", 132, 133) {}
};

// The market with the weapon list, or the merchant's talk.
class CWeaponShopWin : public CNpcMenuWin {
public:
    static constexpr int32_t kId = 102;
    CWeaponShopWin() : CNpcMenuWin(kId, "weapon.slr", "itemg.slr", 134, 135) {}
};

// The market with the armour list, or the merchant's talk.
class CArmorShopWin : public CNpcMenuWin {
public:
    static constexpr int32_t kId = 103;
    CArmorShopWin() : CNpcMenuWin(kId, "armor.slr", "itemg.slr", 136, 137) {}
};

// Its two choices do nothing.
class CPackmanWin : public CNpcMenuWin {
public:
    static constexpr int32_t kId = 104;
    CPackmanWin() : CNpcMenuWin(kId, "packman.slr", "itemg.slr", 138, 139) {}
};
