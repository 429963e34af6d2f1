// The colony simulation. Minimal form: its packets (received command 102)
// are taken off the stream and dropped; the requests and uploads of the
// connect sequence are sent from an empty colony.
#pragma once
#include <array>
#include <cstdint>

class CSimColony {
public:
    static constexpr int kCubeSlots = 20;
    static constexpr int kProfileTextSize = 100;

    // Reads the u8 sub-command, its two bytes and the sub-command's payload
    // with NetRead.
    void OnSimPacket();

    // ['e'][u8 sub-code][u16 character id]: 2 resources, 3 facilities,
    // 4 tech cubes.
    void SendRequest(int subCode, uint16_t id);
    // ['d'][1][text, 100 bytes] (Johab).
    void SendProfileText(const char* text);
    // ['d'][2][u32 value][u8 rate][u16 wood][u16 stone][u16 iron][u16 crystal]
    void SendResources();
    // ['d'][3][u16 byte length][8 bytes a facility]
    void SendFacilities();
    // ['d'][4][20 cube slots]
    void SendCubes();
    // One colony step of the game clock. This form has no colony to step.
    void Tick() {}
    // Fills the empty tech-cube slots from the player's items on entering
    // the colony mode.
    void LoadCubesFromInventory() {}

    uint32_t m_colonyValue = 0;
    uint8_t m_rate = 0;
    uint16_t m_wood = 0;
    uint16_t m_stone = 0;
    uint16_t m_iron = 0;
    uint16_t m_crystal = 0;
    std::array<uint8_t, kCubeSlots> m_cubes{};
};

extern CSimColony g_simColony;
