// The player's colony: its map objects, the 20 tech-cube slots, the colony
// value and rate, four raw resources and the greeting text. The money is the
// player's, in the character record. The server keeps a copy, told of every
// change by the colony's messages.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "colony/SimObjectList.h"

class CSimCursorFacility;
class CSimFacility;

class CSimColony : public CSimObjectList {
public:
    static constexpr int kCubeSlots = 20;
    static constexpr int kProfileTextSize = 100;
    // A received greeting is cut to this many bytes.
    static constexpr int kProfileShown = 25;
    // The typed objects of a new colony, the only layout the whole list is
    // uploaded for.
    static constexpr int kNewColonyObjects = 14;
    // The list is never uploaded from this many objects on.
    static constexpr int kMaxUploadObjects = 300;
    // A received facility list of this many bytes or more is refused.
    static constexpr int kMaxListBytes = 2400;
    static constexpr int kRecordSize = 8;
    static constexpr int kStartRate = 30;
    static constexpr int kNoDistance = 99999;
    // Cube items 112..116 are the colours 0..4.
    static constexpr int kFirstCubeItem = 112;

    enum Resource : int { kMoney = 0, kWood = 1, kStone = 2, kIron = 3, kCrystal = 4 };
    enum Placement : int { kPlaceValid = 0, kPlaceTooClose = 1, kPlaceTooFar = 2, kPlaceObstacle = 3 };

    // A new colony from the generator's present state.
    CSimColony();
    ~CSimColony() override;

    // A new colony, the generator seeded with the time.
    void Reset();
    // The same from a given seed.
    void Reset(unsigned seed);
    // Deletes every object (the cursor facility too).
    void Clear();

    // The first object in list order hit at the mouse position, else the
    // cursor facility.
    CSimMapObject* FindAt();
    CSimMapObject* FindAt(int mouseX, int mouseY);
    // Whether a facility may stand at (x, y); a Placement.
    int CheckPlacement(int x, int y);
    // An empty base at the cursor facility's position, when it may stand
    // there (else the reason on the notice line). 1 when placed.
    int PlaceBuilding();
    // 1 when the object was taken off the map (and the server told).
    int Demolish(CSimMapObject* object);

    // One production step of the game clock.
    void Tick();
    // Money, wood, stone, iron or crystal; another index does nothing.
    void AddResource(int index, int64_t delta);
    int64_t GetResource(int index) const;
    void SetCubeSlot(int slot, int colour);
    // Into the first empty slot; 0 (and the cube lost) when all are full.
    int PutCube(int colour);
    int CountFreeCubeSlots() const;
    // The empty slots from the cube items the player carries; then the
    // slots go to the server.
    void LoadCubesFromInventory();
    // A new colony, told to the server; the player's cube items go.
    void ResetSimulation();

    // (value / 100) x (rate x 120) / 12.
    int64_t ComputeIncome() const;
    // Over the active facilities: production, consumption.
    void SumEnergy(int64_t& production, int64_t& consumption);
    // Over the active, built facilities: money, wood, stone, iron, crystal.
    void SumProduction(std::array<int64_t, 5>& deltas);
    void SumCapacity(std::array<int64_t, 3>& capacity);
    // The nearest object of the type at distance 1 or more; kNoDistance
    // when there is none.
    int NearestOfType(int type, const CSimMapObject& from);
    // One placement rule bit for the facility: 1 when it holds.
    int TestRule(int bit, const CSimMapObject& facility);
    // The next colony value: an eighth of the way to the target the HQ value
    // and the rate give, no more than any capacity.
    int32_t ComputeColonyValue();
    // The money goes to the server as character field 30.
    void NotifyMoney();

    // Every object in list order, after the ground.
    void DrawObjects(uint8_t* pixels);

    // The messages to the server.
    // ['d'][1][text, 100 bytes]
    void SendProfileText(const char* text);
    // ['d'][2][i32 value][u8 rate][u16 wood][u16 stone][u16 iron][u16 crystal]
    void SendResources();
    // ['d'][3][u16 8n][n records], only for the 14 objects of a new colony.
    void SendFacilities();
    // ['d'][4][20 cube slots, 255 empty]
    void SendCubes();
    // ['e'][u8 sub-code][u16 character id]: 1 profile, 2 resources,
    // 3 facilities, 4 tech cubes.
    void SendRequest(int subCode, uint16_t id);
    // ['g'][u8 type][i16 x][i16 y]
    void SendBuild(int type, int x, int y);
    // ['h'][i16 x][i16 y]; never for the headquarters' cell.
    void SendDemolish(int x, int y);
    // ['i'][u8 type][i16 x][i16 y][u16 start][u8 flag]; never for the
    // headquarters' cell.
    void SendFacilityState(int type, int x, int y, int start, int flag);
    // Received command 102: reads the sub-command and its payload with
    // NetRead.
    void OnSimPacket();

    // The player's game time (0 before there is a record).
    static uint32_t GetGameTime();
    // The HQ value of the player's record.
    static int32_t GetHqValue();

    CSimCursorFacility* m_cursorFacility = nullptr;
    std::array<int32_t, kCubeSlots> m_cubes{};
    int32_t m_colonyValue = 0;
    int32_t m_rate = kStartRate;
    int32_t m_wood = 0;
    int32_t m_stone = 0;
    int32_t m_iron = 0;
    int32_t m_crystal = 0;
    std::array<char, kProfileTextSize> m_profileText{};

private:
    void MakeNewColony();
    void AddEdgeFacility();
    void AddCursorFacility();
    void ReceiveFacilityList(const uint8_t* data, int length);
    template <size_t N, class Column>
    void SumWorking(std::array<int64_t, N>& sums, Column column);
    int32_t* ResourceField(int index);
};

extern CSimColony g_simColony;
