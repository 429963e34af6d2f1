// The object layer: the field's objects, the player's own record and the
// field commands it sends. This form holds the flags, the own record with its
// character fields, and the senders the frame, the exit and the log-in use;
// the field's objects come later.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/Layer.h"
#include "world/CharacterRecord.h"

class CDisplay;
class CBGLayer;
class CCharacter;
class CObrItemEntry;

struct RecallPoint {
    uint8_t map = 0;
    int16_t x = 0;
    int16_t y = 0;
};

class CObjLayer : public CLayer {
public:
    static constexpr int kRecordSize = static_cast<int>(CharacterRecord::kSize);

    CObjLayer(CDisplay* display, CBGLayer* background);
    ~CObjLayer() override;
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
    // [2][1][6][name of log-in slot n (1..3), 12 bytes]; clears the
    // player-id state.
    void SendCharacterChoice(int slot);
    // [1]: the connect request; clears the version answer.
    void SendConnectRequest();
    // [50]['W']; clears the ready answer.
    void SendReadyCheck();
    // Logged in with a character: the layer takes part in the world.
    void SetInWorld() { m_inWorld = 1; }
    // The record of the object files' character template of a kind 0..5, or
    // null while none is loaded.
    const CharacterRecord* GetCharTemplate(int kind) const;
    // Where the player enters the field, and [3][u8 stage + 1][u16 x][u16 y].
    void SetEntryPoint(int stage, int x, int y);
    void SendEnterField();
    // Takes every character off the map.
    void RemoveAllCharacters() {}
    // [53][u8 field][payload] from the own record; nothing for a field
    // without a payload. a and b are slot numbers for fields 51..57, 64..67.
    void SendCharacterField(int field, int a = 0, int b = 0);
    // [52][u16 id][u8 field]; asking for field 50 clears the own-record flag.
    void RequestCharacterField(uint16_t id, int field);
    // Command 52 received: one field of a character. The payload is exactly
    // CharacterFieldReceiveSize(field) bytes (the framing guarantees it).
    void OnCharacterField(uint16_t id, int field, const uint8_t* payload, size_t size);
    // Copies the player object's record into the layer's own record.
    void SetMyCharRecord(const CharacterRecord& record) { m_myRecord = record; }
    CharacterRecord& MyRecord() { return m_myRecord; }
    // The record of another character on the field, or null.
    CharacterRecord* FindCharacterById(uint16_t id);
    // The status bits of the first living character among slots 0..23 whose
    // name matches without regard to case; 0 if none (none are kept yet).
    uint32_t GetStatusFlagsByName(const char* /*name*/) const { return 0; }

    // The item entries of the object files, by item id: null outside
    // 0..m_itemEntryCount-1.
    const CObrItemEntry* GetItemEntry(int index) const;
    // Appends an entry; the layer owns it. 0, or -1 when 10000 are held.
    int AddItemEntry(std::unique_ptr<CObrItemEntry> entry);
    void FreeItemLists();
    static constexpr int kMaxItemEntries = 10000;

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
    uint32_t m_ownRecordArrived = 0;  // set by field 50 of my own record
    // Set by any field of my own record; asking for field 50 clears it.
    uint32_t m_myFieldAnswer = 0;
    // The server's reply to command 3: 1 entered, -1 refused, 0 none yet.
    int32_t m_enteredAnswer = 0;
    uint32_t m_itemEntryCount = 0;    // item entries loaded from the object files
    // Set when the player walks into the free-fight arena; the next frame
    // shows string 184 and clears it.
    uint32_t m_freeFightNotice = 0;
    RecallPoint m_recallPoint;
    int32_t m_wantedStartTime = 0;    // field 68
    int32_t m_jailStartTime = 0;      // field 69
    // The cabinet (field 37) and the UI's new password (field 61); fields 60
    // to 62 take the rest from the log-in record.
    std::array<uint16_t, 20> m_cabinet{};
    std::array<uint8_t, 10> m_uiText{};
    // The player's own character once it is in the field; the field-gated
    // commands are dropped while it is null.
    CCharacter* m_pMyChar = nullptr;

private:
    [[maybe_unused]] CDisplay* m_pDisplay;
    [[maybe_unused]] CBGLayer* m_pBackground;
    CharacterRecord m_myRecord;
    std::vector<std::unique_ptr<CObrItemEntry>> m_itemEntries;
    int m_entryStage = 0;
    int m_entryX = 0;
    int m_entryY = 0;
};

// The view's object layer, or null before the first frame made it.
CObjLayer* GetObjLayer();
