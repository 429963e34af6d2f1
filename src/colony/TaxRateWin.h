// The tax-rate window of the HQ tab: three fixed lines.
#pragma once
#include "colony/ColonyPanel.h"

class CTaxRateWin : public CColonyPanel {
public:
    static constexpr int32_t kId = 51;

    CTaxRateWin();

    void Refresh() override;
};
