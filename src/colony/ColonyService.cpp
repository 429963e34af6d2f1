#include "colony/ColonyService.h"

#include "colony/ProfileTextView.h"
#include "colony/SimBuildingTable.h"
#include "colony/SimColony.h"
#include "colony/SimCursor.h"
#include "colony/SimPanelList.h"
#include "colony/SimRandom.h"
#include "colony/SimTerrain.h"

namespace {

// The colony, its table, its ground and its cursor.
class CColonyService : public IColony {
public:
    void OnSimPacket() override { g_simColony.OnSimPacket(); }
    void SendRequest(int subCode, uint16_t id) override { g_simColony.SendRequest(subCode, id); }
    void SendProfileText(const char* text) override { g_simColony.SendProfileText(text); }
    void SendResources() override { g_simColony.SendResources(); }
    void SendFacilities() override { g_simColony.SendFacilities(); }
    void SendCubes() override { g_simColony.SendCubes(); }
    void Tick() override { g_simColony.Tick(); }
    void LoadCubesFromInventory() override { g_simColony.LoadCubesFromInventory(); }
    void LoadSprites() override
    {
        g_simBuildingTable.LoadSprites();
        g_simCursor.LoadSprites();
    }
    void UnloadSprites() override { g_simBuildingTable.UnloadSprites(); }
    int IsMapShown() override { return g_simBuildingTable.IsMapShown(); }
    void DrawTerrain(uint8_t* surface) override { g_simTerrain.Draw(surface); }
    void DrawObjects(uint8_t* surface) override { g_simColony.DrawObjects(surface); }
    void ScrollLeft() override { g_simTerrain.ScrollLeft(); }
    void ScrollRight() override { g_simTerrain.ScrollRight(); }
    void ScrollUp() override { g_simTerrain.ScrollUp(); }
    void ScrollDown() override { g_simTerrain.ScrollDown(); }
    void CursorClick() override { g_simCursor.OnClick(); }
    void CursorResetMode() override { g_simCursor.ResetMode(); }
    void DrawCursor(int x, int y, uint8_t* surface) override { g_simCursor.Draw(x, y, surface); }
    int GetPickedFacilityActive() override
    {
        return g_simCursor.HasPick() ? g_simCursor.GetPickedFacility()->IsActive() : -1;
    }
    void SetPickedFacilityActive(int active) override
    {
        if (!g_simCursor.HasPick())
            return;
        CSimFacility& f = *g_simCursor.GetPickedFacility();
        f.SetActive(active);
        g_simColony.SendFacilityState(f.m_type, f.m_x, f.m_y, f.m_start, f.IsActive());
    }
};

CColonyService g_colonyService;
IColony* g_pColony = nullptr;

}  // namespace

IColony& Colony() { return g_pColony ? *g_pColony : g_colonyService; }

void SetColony(IColony* colony) { g_pColony = colony; }

void ResetColonyState()
{
    SetSimRandom(nullptr);
    SetProfileTextView(nullptr);
    g_simBuildingTable.UnloadSprites();
    g_simBuildingTable.Rebuild();
    g_simTerrain.Reset();
    g_simCursor.Reset();
    g_simPanelList.Clear();
    g_simColony.Reset(1);
    g_simColony.m_profileText.fill(0);
}
