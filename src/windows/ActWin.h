// The action page of the ability windows: the attack and defence abilities
// and the usable items the player carries (a chosen one becomes the
// player's chosen item). Opening it closes the other side panels.
#pragma once
#include "windows/AbilityWin.h"

class CActWin : public CAbilityWin {
public:
    CActWin();
};
