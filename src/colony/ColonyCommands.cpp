#include "colony/ColonyCommands.h"

#include "colony/ActivatePanel.h"
#include "colony/BaseFacPanel.h"
#include "colony/ColonyService.h"
#include "colony/HqPanel.h"
#include "colony/ParaCtrlPanel.h"
#include "colony/SimCursor.h"
#include "colony/TaxRateWin.h"
#include "colony/TechCubeBox.h"
#include "colony/TechCubeCell.h"
#include "colony/TechWin.h"
#include "ui/ButtonWidget.h"

namespace {

void Open(int32_t id)
{
    if (CWidget* w = CColonyPanel::FindWindow(id))
        w->SetState(CWidget::kOpening);
}

void Close(int32_t id)
{
    if (CWidget* w = CColonyPanel::FindWindow(id))
        w->SetState(CWidget::kClosing);
}

void OpenAndRefresh(int32_t id)
{
    if (CWidget* w = CColonyPanel::FindWindow(id)) {
        w->SetState(CWidget::kOpening);
        w->Refresh();
    }
}

// OK and Cancel of the base-facility panel take the look; it is refreshed.
void SetBaseButtons(int32_t look)
{
    CWidget* panel = CColonyPanel::FindWindow(CBaseFacPanel::kId);
    if (!panel)
        return;
    for (int32_t id : {CBaseFacPanel::kOkId, CBaseFacPanel::kCancelId})
        if (auto* b = dynamic_cast<CButtonWidget*>(panel->FindChild(id)))
            b->SetLook(look);
}

void RefreshWindow(int32_t id)
{
    if (CWidget* w = CColonyPanel::FindWindow(id))
        w->Refresh();
}

}  // namespace

bool DispatchColonyCommand(int id)
{
    switch (id) {
    case 76: OpenAndRefresh(CHqPanel::kId); return true;
    case 77:
    case 78:
        g_simCursor.SetMode(id == 77 ? CSimCursor::kPlace : CSimCursor::kDemolish);
        Close(CHqPanel::kId);
        return true;
    case 80:
        if (CWidget* w = CColonyPanel::FindWindow(CParaCtrlPanel::kId))
            w->ReloadData();
        [[fallthrough]];
    case 79: OpenAndRefresh(CParaCtrlPanel::kId); return true;
    case 81: OpenAndRefresh(CBaseFacPanel::kId); return true;
    case 82: OpenAndRefresh(CActivatePanel::kId); return true;
    case 83: Open(CTechCubeBox::kId); return true;
    case 84: Close(CTechCubeBox::kId); return true;
    case 85:
        SetBaseButtons(CButtonWidget::kLookNormal);
        RefreshWindow(CBaseFacPanel::kId);
        return true;
    case 86:
        Close(CTechCubeBox::kId);
        Close(CBaseFacPanel::kId);
        return true;
    case 87:
        // The empty facility of no pick is not on the map.
        if (g_simCursor.HasPick())
            g_simCursor.GetPickedFacility()->Activate();
        return true;
    case 88:
        SetBaseButtons(CButtonWidget::kLookDisabled);
        if (g_simCursor.HasPick())
            g_simCursor.GetPickedFacility()->StripCubes();
        RefreshWindow(CBaseFacPanel::kId);
        return true;
    case 250: Colony().Tick(); return true;
    default: return false;
    }
}

CWidget* CreateColonyWindow(int32_t id, CTechCube* flying)
{
    switch (id) {
    case CTaxRateWin::kId: return new CTaxRateWin;
    case CParaCtrlPanel::kId: return new CParaCtrlPanel;
    case CHqPanel::kId: return new CHqPanel;
    case CBaseFacPanel::kId: return new CBaseFacPanel;
    case CActivatePanel::kId: return new CActivatePanel;
    case CTechCubeBox::kId: return new CTechCubeBox;
    case CTechWin::kId: return new CTechWin;
    case CTechCubeCell::kId: return new CTechCubeCell(flying);
    default: return nullptr;
    }
}
