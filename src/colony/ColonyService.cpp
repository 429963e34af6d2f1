#include "colony/ColonyService.h"

#include "colony/SimColony.h"

namespace {

// g_simColony; the colony map, its terrain and cursor come with the colony
// screen and do nothing here.
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
    void LoadSprites() override {}
    void UnloadSprites() override {}
    int IsMapShown() override { return 0; }
    void DrawTerrain(uint8_t* /*surface*/) override {}
    void ScrollLeft() override {}
    void ScrollRight() override {}
    void ScrollUp() override {}
    void ScrollDown() override {}
    void CursorClick() override {}
    void CursorResetMode() override {}
    void DrawCursor(int /*x*/, int /*y*/, uint8_t* /*surface*/) override {}
    int GetPickedFacilityActive() override { return -1; }
    void SetPickedFacilityActive(int /*active*/) override {}
};

CColonyService g_colonyService;
IColony* g_pColony = nullptr;

}  // namespace

IColony& Colony() { return g_pColony ? *g_pColony : g_colonyService; }

void SetColony(IColony* colony) { g_pColony = colony; }
