// What the field, the view and the game layer use of the colony mode. Game
// code calls Colony(); g_simColony and the colony tables serve it, a test may
// install a recording stand-in with SetColony.
#pragma once
#include <cstdint>

class IColony {
public:
    virtual ~IColony() = default;
    // Received command 102: reads the packet with NetRead.
    virtual void OnSimPacket() = 0;
    virtual void SendRequest(int subCode, uint16_t id) = 0;
    virtual void SendProfileText(const char* text) = 0;
    virtual void SendResources() = 0;
    virtual void SendFacilities() = 0;
    virtual void SendCubes() = 0;
    // One colony step of the game clock.
    virtual void Tick() = 0;
    virtual void LoadCubesFromInventory() = 0;
    // CSimBuildingTable.
    virtual void LoadSprites() = 0;
    virtual void UnloadSprites() = 0;
    virtual int IsMapShown() = 0;
    // CSimTerrain: the ground; then every object of the colony in list
    // order.
    virtual void DrawTerrain(uint8_t* surface) = 0;
    virtual void DrawObjects(uint8_t* surface) = 0;
    virtual void ScrollLeft() = 0;
    virtual void ScrollRight() = 0;
    virtual void ScrollUp() = 0;
    virtual void ScrollDown() = 0;
    // CSimCursor.
    virtual void CursorClick() = 0;
    virtual void CursorResetMode() = 0;
    virtual void DrawCursor(int x, int y, uint8_t* surface) = 0;
    // The facility the colony cursor picked: its active flag (0 or 1), -1
    // when none is picked. Setting it sends the facility's state.
    virtual int GetPickedFacilityActive() = 0;
    virtual void SetPickedFacilityActive(int active) = 0;
};

IColony& Colony();
// Null puts the default back.
void SetColony(IColony* colony);

// The colony, its tables, ground, cursor and panels as at process start
// (between tests); the facility values are 0 until "Facility.dat" is read.
void ResetColonyState();
