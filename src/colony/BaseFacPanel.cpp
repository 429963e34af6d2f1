#include "colony/BaseFacPanel.h"

#include "colony/FacilityInfo.h"
#include "colony/SimCursor.h"
#include "colony/TechCubeButton.h"
#include "ui/ButtonWidget.h"

namespace {

constexpr int32_t kCmdActivate = 87;
constexpr int32_t kCmdStrip = 88;

}  // namespace

CBaseFacPanel::CBaseFacPanel() : CColonyPanel(kId, "BaseFac.slr", 0)
{
    AddChild(new CTechCubeButton(this));
    m_ok = new CButtonWidget(kOkId, "OKBtn.slr", this, 50, 530, kCmdActivate, CButtonWidget::kRepeatFrames);
    AddChild(m_ok);
    m_cancel = new CButtonWidget(kCancelId, "CancelBtn.slr", this, 150, 530, kCmdStrip, CButtonWidget::kRepeatFrames);
    AddChild(m_cancel);
}

void CBaseFacPanel::SetState(int32_t state)
{
    CColonyPanel::SetState(state);
    if (state == kOpening) {
        m_ok->SetLook(CButtonWidget::kLookDisabled);
        m_cancel->SetLook(CButtonWidget::kLookDisabled);
    }
}

void CBaseFacPanel::Refresh()
{
    RefreshPicture([](CInfoCanvas& c) { CFacilityInfo::DrawBasePage(*g_simCursor.GetPickedFacility(), c); });
}
