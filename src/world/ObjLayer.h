// The object layer: the field's objects, the player's own record and the
// field commands it sends. Minimal form: the flags and senders the game
// frame and the exit use.
#pragma once
#include <array>
#include <cstdint>

#include "core/Layer.h"

class CDisplay;
class CBGLayer;
class CCharacter;

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
    // ['c'][ID or character name, 12 bytes]: cut the other connection of
    // the account; clears the player-id state.
    void SendUserId(const char* name);
    // [53][u8 field][payload] from the own record; nothing for a field
    // without a payload.
    void SendCharacterField(int field, int a = 0, int b = 0);

    uint8_t* MyRecord() { return m_myRecord.data(); }

    // Handlers of received commands. Those given the fixed part read their
    // tail with NetRead; the field-gated ones (no argument) read everything
    // after the command byte themselves.
    void OnEnterField(const uint8_t* fixed);
    void OnCharacterAppear(const uint8_t* fixed);
    void OnCharacterLeave(const uint8_t* fixed);
    void OnChatLine();
    void OnAreaUpdate(const uint8_t* fixed);
    void OnCharacterMove(const uint8_t* fixed);
    void OnAttack(const uint8_t* fixed);
    void OnHit(const uint8_t* fixed);
    void OnChallenge(const uint8_t* fixed);
    void OnBattleMark(const uint8_t* fixed);
    void OnBattleJoinReply(const uint8_t* fixed);
    void OnBattleMarkRemoved(const uint8_t* fixed);
    void OnBattleMarks(const uint8_t* fixed);
    void OnBattleCommand(const uint8_t* fixed);
    void OnBattleMove(const uint8_t* fixed);
    void OnBattleLogout(const uint8_t* fixed);
    void OnItemPickedUp();
    void OnItemDropped();
    void OnDropAccepted();
    void OnMouseItemCleared();
    void OnPlaceGroundItems();
    void OnItemReceived();
    void OnItemGiven();
    void OnItemRefused();
    void OnCharacterField(const uint8_t* fixed);
    void OnGroupInvited(const uint8_t* fixed);
    void OnGroupJoined(const uint8_t* fixed);
    void OnGroupMemberAdded(const uint8_t* fixed);
    void OnGroupMemberAdded2(const uint8_t* fixed);
    void OnGroupDisbanded(const uint8_t* fixed);
    void OnGroupExpelled(const uint8_t* fixed);
    void OnGroupLeaderChanged(const uint8_t* fixed);
    void OnGroupMemberLeft(const uint8_t* fixed);
    void OnGroupMemberList(const uint8_t* fixed);
    void OnGroupMemberInfo(const uint8_t* fixed);
    void OnDuelRequested(const uint8_t* fixed);

    uint32_t m_inField = 0;      // on the field map
    uint32_t m_inWorld = 0;      // logged in with a character
    uint32_t m_areaCenterSet = 0;
    uint32_t m_inBattle = 0;
    uint32_t m_battleNumber = 0;
    uint16_t m_myId = 0;
    uint16_t m_myId2 = 0;
    // The player's own character once it is in the field; the field-gated
    // commands are dropped while it is null.
    CCharacter* m_pMyChar = nullptr;

private:
    [[maybe_unused]] CDisplay* m_pDisplay;
    [[maybe_unused]] CBGLayer* m_pBackground;
    std::array<uint8_t, kRecordSize> m_myRecord{};
};
