#include "colony/ColonyPanel.h"

#include <iterator>

#include "colony/SimBuildingTable.h"
#include "colony/SimCursor.h"
#include "windows/DaradirUzedo.h"

namespace {

// Status, ability tabs, ability stack, inventory, group, game menu and the
// colony panels.
constexpr uint16_t kClosedOnOpen[] = {6, 7, 8, 9, 12, 35, 60, 59, 61, 64};

}  // namespace

CColonyPanel::CColonyPanel(int32_t id, const char* slrName, int32_t lineCount)
    : CSidePanel(id, slrName, kOpenX, 0, kClosedX, 0, lineCount)
{
    SetLinkedIds(kClosedOnOpen, static_cast<int>(std::size(kClosedOnOpen)));
}

bool CColonyPanel::PreparePicture()
{
    if (m_state == kClosed || m_state == kClosing)
        return false;
    LoadImageOnDemand();
    if (!m_sprite.IsLoaded() || !m_cleanImage)
        return false;
    m_sprite.CopyFrom(*m_cleanImage);
    return true;
}

void CColonyPanel::DrawPickedName(CInfoCanvas& canvas)
{
    canvas.DrawTextCentered(130, 60, GetFacilityName(g_simCursor.GetPickedFacility()->m_type));
}

void CColonyPanel::Refresh()
{
    RefreshPicture([this](CInfoCanvas& c) { DrawPickedName(c); });
}

CWidget* CColonyPanel::FindWindow(int32_t id)
{
    CDaradirUzedo* ui = g_layerHolder.GetLayer();
    return ui ? ui->GetRootContainer()->FindChild(id) : nullptr;
}
