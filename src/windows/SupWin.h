// The support page of the ability windows: the support list, with a shadow
// under it.
#pragma once
#include "windows/AbilityWin.h"

class CSupWin : public CAbilityWin {
public:
    CSupWin();
};
