// The object layer: the field's objects, the player's own record and the
// field commands it sends. Minimal form: the flags and senders the game
// frame and the exit use.
#pragma once
#include <array>
#include <cstdint>

#include "core/Layer.h"

class CDisplay;
class CBGLayer;

class CObjLayer : public CLayer {
public:
    static constexpr int kRecordSize = 596;

    CObjLayer(CDisplay* display, CBGLayer* background);
    int Draw() override { return 1; }

    // Senders: each builds its packet and hands it to the main socket.
    void SendLeaveField();   // [5][u16 my id]
    void LeaveArea();        // [34][u16 my id]
    void SendLogout();       // [51]['O']
    void SendQuitNotice();   // [55]
    void SendKeepAlive();    // [54]
    // Where the player enters the field, and [3][u8 stage + 1][u16 x][u16 y].
    void SetEntryPoint(int stage, int x, int y);
    void SendEnterField();
    // Takes every character off the map.
    void RemoveAllCharacters() {}
    // [53][u8 field][payload] from the own record; nothing for a field
    // without a payload.
    void SendCharacterField(int field, int a = 0, int b = 0);

    uint8_t* MyRecord() { return m_myRecord.data(); }

    uint32_t m_inField = 0;      // on the field map
    uint32_t m_inWorld = 0;      // logged in with a character
    uint32_t m_areaCenterSet = 0;
    uint32_t m_inBattle = 0;
    uint32_t m_battleNumber = 0;
    uint16_t m_myId = 0;
    uint16_t m_myId2 = 0;

private:
    CDisplay* m_pDisplay;
    CBGLayer* m_pBackground;
    int m_entryStage = 0;
    int m_entryX = 0;
    int m_entryY = 0;
    std::array<uint8_t, kRecordSize> m_myRecord{};
};
