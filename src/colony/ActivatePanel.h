// The panel of a facility: its info page and the switch that turns it on
// and off (it only comes on where its placement rule holds).
#pragma once
#include "colony/ColonyPanel.h"

class CTechCubeButton;

class CActivatePanel : public CColonyPanel {
public:
    static constexpr int32_t kId = 64;
    static constexpr int32_t kSwitchId = 66;

    CActivatePanel();

    // Opening shows the recipe button disabled.
    void SetState(int32_t state) override;
    void Refresh() override;

private:
    CTechCubeButton* m_recipe = nullptr;
};
