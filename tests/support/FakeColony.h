// A recording stand-in for the colony mode: installed while it exists (the
// default comes back when it is destroyed); logs every call with its
// arguments in order and returns scripted values.
#pragma once
#include <cstdint>

#include "colony/ColonyService.h"
#include "support/CallLog.h"

class FakeColony : public IColony {
public:
    FakeColony() { SetColony(this); }
    ~FakeColony() override { SetColony(nullptr); }
    FakeColony(const FakeColony&) = delete;
    FakeColony& operator=(const FakeColony&) = delete;

    // Logged, then read off the stream by the real handler.
    void OnSimPacket() override;
    // The senders are logged only; nothing goes to the socket.
    void SendRequest(int subCode, uint16_t id) override;
    void SendProfileText(const char* text) override;
    void SendResources() override;
    void SendFacilities() override;
    void SendCubes() override;
    void Tick() override;
    void LoadCubesFromInventory() override;
    void LoadSprites() override;
    void UnloadSprites() override;
    int IsMapShown() override { return mapShown; }
    void DrawTerrain(uint8_t* surface) override;
    void DrawObjects(uint8_t* surface) override;
    void ScrollLeft() override;
    void ScrollRight() override;
    void ScrollUp() override;
    void ScrollDown() override;
    void CursorClick() override;
    void CursorResetMode() override;
    void DrawCursor(int x, int y, uint8_t* surface) override;
    int GetPickedFacilityActive() override { return pickedActive; }
    void SetPickedFacilityActive(int active) override;

    CCallLog log;
    int mapShown = 0;
    // The picked facility's active flag; -1: none picked. Setting it keeps it.
    int pickedActive = -1;
    // The draws are logged only when asked for.
    bool logDraws = false;
};
