// The panel of an empty base or an unfinished facility: its recipe button,
// OK (activate) and Cancel (strip the cubes), and the base page of the
// picked facility. The tech-cube box drops cubes only on this panel.
#pragma once
#include "colony/ColonyPanel.h"

class CButtonWidget;
class CTechCubeButton;

class CBaseFacPanel : public CColonyPanel {
public:
    static constexpr int32_t kId = 61;
    static constexpr int32_t kOkId = 62;
    static constexpr int32_t kCancelId = 63;

    CBaseFacPanel();

    // Opening disables OK and Cancel until a cube goes in.
    void SetState(int32_t state) override;
    void Refresh() override;

    CButtonWidget* GetOkButton() const { return m_ok; }
    CButtonWidget* GetCancelButton() const { return m_cancel; }

private:
    CButtonWidget* m_ok = nullptr;
    CButtonWidget* m_cancel = nullptr;
};
