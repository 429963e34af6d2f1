// The reaction page of the ability windows: the two reaction lists, with a
// shadow under them.
#pragma once
#include "windows/AbilityWin.h"

class CReactWin : public CAbilityWin {
public:
    CReactWin();
};
