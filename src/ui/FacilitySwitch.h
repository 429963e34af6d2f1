// The on/off box of the colony's facility panel: it shows and sets the
// active flag of the facility the colony cursor picked.
#pragma once
#include "ui/CheckBox.h"

class CFacilitySwitch : public CCheckBox {
public:
    CFacilitySwitch(int32_t id, const char* slrName, CWidget* owner, int32_t offsetX, int32_t offsetY,
                    int32_t commandCode, int ticked);

    void SetState(int32_t state) override;
    int OnLButtonUp(int32_t x, int32_t y) override;
};
