#include "colony/ActivatePanel.h"

#include "colony/FacilityInfo.h"
#include "colony/SimBuildingTable.h"
#include "colony/SimCursor.h"
#include "colony/TechCubeButton.h"
#include "ui/FacilitySwitch.h"

CActivatePanel::CActivatePanel() : CColonyPanel(kId, "BaseFac.slr", 0)
{
    m_recipe = new CTechCubeButton(this);
    AddChild(m_recipe);
    AddChild(new CFacilitySwitch(kSwitchId, "Activate.slr", this, 100, 525, 0, 0));
}

void CActivatePanel::SetState(int32_t state)
{
    CColonyPanel::SetState(state);
    m_recipe->SetLook(CButtonWidget::kLookDisabled);
}

void CActivatePanel::Refresh()
{
    RefreshPicture([](CInfoCanvas& c) {
        const CSimFacility& f = *g_simCursor.GetPickedFacility();
        CFacilityInfo::DrawPage(g_simBuildingTable.GetType(f.m_type).infoPage, f, c);
    });
}
