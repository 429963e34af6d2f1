#include "support/FakeColony.h"

#include "colony/SimColony.h"

void FakeColony::OnSimPacket()
{
    log.Add("OnSimPacket");
    g_simColony.OnSimPacket();
}

void FakeColony::SendRequest(int subCode, uint16_t id) { log.Add("SendRequest", subCode, id); }
void FakeColony::SendProfileText(const char* text) { log.Add("SendProfileText", text); }
void FakeColony::SendResources() { log.Add("SendResources"); }
void FakeColony::SendFacilities() { log.Add("SendFacilities"); }
void FakeColony::SendCubes() { log.Add("SendCubes"); }
void FakeColony::Tick() { log.Add("Tick"); }
void FakeColony::LoadCubesFromInventory() { log.Add("LoadCubesFromInventory"); }
void FakeColony::LoadSprites() { log.Add("LoadSprites"); }
void FakeColony::UnloadSprites() { log.Add("UnloadSprites"); }

void FakeColony::DrawTerrain(uint8_t* surface)
{
    if (logDraws)
        log.Add("DrawTerrain", static_cast<const void*>(surface));
}

void FakeColony::DrawObjects(uint8_t* surface)
{
    if (logDraws)
        log.Add("DrawObjects", static_cast<const void*>(surface));
}

void FakeColony::ScrollLeft() { log.Add("ScrollLeft"); }
void FakeColony::ScrollRight() { log.Add("ScrollRight"); }
void FakeColony::ScrollUp() { log.Add("ScrollUp"); }
void FakeColony::ScrollDown() { log.Add("ScrollDown"); }
void FakeColony::CursorClick() { log.Add("CursorClick"); }
void FakeColony::CursorResetMode() { log.Add("CursorResetMode"); }

void FakeColony::DrawCursor(int x, int y, uint8_t* surface)
{
    if (logDraws)
        log.Add("DrawCursor", x, y, static_cast<const void*>(surface));
}

void FakeColony::SetPickedFacilityActive(int active)
{
    log.Add("SetPickedFacilityActive", active);
    pickedActive = active;
}
