#include "ui/FacilitySwitch.h"

#include "colony/ColonyService.h"

CFacilitySwitch::CFacilitySwitch(int32_t id, const char* slrName, CWidget* owner, int32_t offsetX,
                                 int32_t offsetY, int32_t commandCode, int ticked)
    : CCheckBox(id, slrName, owner, offsetX, offsetY, commandCode, ticked)
{
}

void CFacilitySwitch::SetState(int32_t state)
{
    CButtonWidget::SetState(state);
    if (m_state != kOpening && m_state != kOpen)
        return;
    // Without a picked facility the box stays as it is.
    const int active = Colony().GetPickedFacilityActive();
    if (active >= 0)
        m_ticked = active;
}

int CFacilitySwitch::OnLButtonUp(int32_t x, int32_t y)
{
    const int posted = CheckRelease(x, y);
    const int active = Colony().GetPickedFacilityActive();
    if (active >= 0 && (m_ticked != 0) != (active != 0))
        Colony().SetPickedFacilityActive(m_ticked ? 1 : 0);
    return posted;
}
