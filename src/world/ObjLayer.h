// The object layer: the field's objects, the player's own record and the
// field commands it sends. It owns the four object pools, the six cell
// grids, the lists of the object files, the draw list, the range circle,
// the game clock and the jail and wanted rules. Its per-frame routine comes
// with the field frame.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Layer.h"
#include "world/BattleTables.h"
#include "world/CharacterRecord.h"
#include "world/DrawList.h"
#include "world/GroupMemberTable.h"
#include "world/GroupRecord.h"
#include "world/MapGrid.h"
#include "world/ObjHandle.h"
#include "world/StageChange.h"

class CAnimSpriteSet;
class CBGLayer;
class CByteReader;
class CByteWriter;
class CCharacter;
class CCreature;
class CCreatureAlt;
class CDisplay;
class CItemSpriteSet;
class CNpc;
class CObj;
class CObrBuildingEntry;
class CObrCharEntry;
class CObrItemEntry;
class CRFile;
class CRleImage;
class CStructureObj;

// The point item 110 recorded; map -1 while none was.
struct RecallPoint {
    int32_t map = -1;
    int16_t x = 0;
    int16_t y = 0;
};

class CObjLayer : public CLayer {
public:
    static constexpr int kRecordSize = static_cast<int>(CharacterRecord::kSize);

    CObjLayer(CDisplay* display, CBGLayer* background);
    ~CObjLayer() override;
    // The field's frame (Process).
    int Draw() override { return Process(); }
    // One frame of the field: the stage change, camera, the objects'
    // updates, the sorted draw, picking and clicks, names and bars, the UI
    // layer, the on-screen texts and the periodic messages. 1 when the field
    // ran, 0 while a stage change is busy or my character does not exist.
    int Process();
    // The objects under the mouse and what a click on them does.
    void PickAndClick();
    // Tab while a form field has the text input: the next field of its ring
    // (78..82 in the password-change window, 84..86 in the deletion window).
    void FocusNextFormField();
    // 1..5 for inputs 78..82, 6..8 for 84..86 holding the text input; 0.
    static int GetActiveFormField();
    // Battle mode, entered from the stored join block when a stage change
    // into the battle starts; left when a stage change starts and when the
    // map is reset.
    void EnterBattle() { EnterBattle(m_battleBlock); }
    void EnterBattle(const BattleBlock& block);
    void LeaveBattle();
    int IsInBattle() const { return m_inBattle ? 1 : 0; }
    // The objects' part of a frame, in slot order: every character's
    // update, pending hit and its reset, every NPC's and every structure's
    // update. They add their frames to the draw list.
    void UpdateObjects();
    // The sorted entries, first to last, each in its draw mode.
    void DrawSortedList(uint8_t* bits);

    // Senders: each builds its packet and hands it to the main socket.
    void SendLeaveField();   // [5][u16 my id]; off the field from here
    // [34][u16 my id] while an area centre is set, which is then forgotten;
    // the opponent and pair-notice tables, the death marks, the UI's flag
    // of this battle and the battle-joined flag are cleared in any case.
    void LeaveArea();
    void SendLogout();       // [51]['O']
    void SendQuitNotice();   // [55]
    void SendKeepAlive();    // [54]
    // My character's steps: [10][u16 x][u16 y] on the field,
    // [32][u16 my id][u16 x][u16 y] in battle.
    void SendMove(int x, int y);
    void SendBattleMove(int x, int y);
    void SendAttack(int targetId);                            // [20][u16 target]
    void SendChallenge(int targetId);                         // [24][u16 my id][u16 target]
    // [26][u16 my id][u16 id][u8 flag][u16 value]
    void SendChallengeReply(int id, int flag, int value);
    void SendDamage(int charId, int value);                   // [31][u16 my id][u16 char][u16 value]
    void SendSkill(int targetId);                             // [22][u16 target]
    void SendJoinBattle(int battle);                          // [27][u16 my id][u16 battle]
    // ['['][u16 my id][u16 char][u16 value][u8 code]
    void SendSkillReport(int charId, int value, int code);
    // ['$'][u16 battle][u16 creature][u32 status bits]
    void SendStatusFlags(int battle, int creatureId, uint32_t flags);
    // The carried item released over the field at a screen point: to a free,
    // drawn, walkable tile. Given (['.'][u16 player][u16 item]) when another
    // player is under the mouse, else dropped (['*'][u16 my id][u16 item]
    // [u16 x][u16 y]); the server's answer settles it.
    void DropMouseItem(int sx, int sy);
    // The pick-up at a cell with an item: [41][u16 my id][u16 item][u16 x]
    // [u16 y], unless I cannot carry it (the notice line says so).
    void PickUpItem(int x, int y);
    // The battle family: [30][u8 flag][u16 battle][u8 sub][u16 length],
    // then the payload.
    void SendBattleAttack(int targetId);                                // sub 4
    void SendBattleHit(int attackerId, int x, int y, int value);        // sub 5
    // Sub 6: my defeat, the items lost, my experience and the money lost.
    // Afterwards the opponent and notice tables, the rescuer of this battle
    // and every death mark are cleared.
    void SendBattleEnd(int killerId, const uint16_t* items, int n, int money, int experience, uint32_t value1,
                       uint32_t value2);
    void SendBattleJoin(int x, int y);                                  // sub 1, in battle only
    void SendBattleStatus(int hp, int mp, int constitution, int wisdom); // sub 7, in battle only
    // Sub 9 (header flag 1): sub 5 and the mode, 1 or 11.
    void SendBattleHitFlagged(int attackerId, int x, int y, int value, int mode);
    // Subs 46 and 47 (header flag 4, the addressee in the battle field).
    void SendPairNotice(int myId, int kind, int opponentId, int addresseeId, int groupKey);
    void SendPairNoticeReverse(int myId, int kind, int opponentId, int addresseeId, int groupKey);
    // ['<'][u16 id] to a player on the field while my group has room;
    // strings 57 (with the name) or 60 tell the outcome.
    void InviteToGroup(int id, const char* name);
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
    // Takes every character off the map; my character's record is kept in
    // the own record first.
    void RemoveAllCharacters();
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
    // The active character with that server id, or null.
    CCharacter* FindCharacterById(int id);
    // The status bits of the first active, living character among slots
    // 0..23 whose record name matches without regard to case; 0 if none.
    uint32_t GetStatusFlagsByName(const char* name) const;
    // "CLASS1" for levels 1..7 and so on by sevens to "CLASS11" (71..77),
    // "MASTER" from 78, "CLASS 0" below 1.
    static const char* GetClassName(int level);

    // ---- the pools --------------------------------------------------------
    static constexpr int kCharacters = 1024;
    static constexpr int kNpcs = 1024;
    static constexpr int kCreatureAlts = 1024;
    static constexpr int kStructures = 4096;
    // The first kind of set AddBattleMarker uses, by battle number; 62 for a
    // group battle I take part in.
    static constexpr int kMarkerSet = 60;
    static constexpr int kDeathMatchMarkerSet = 61;
    static constexpr int kGroupMarkerSet = 62;
    static constexpr int kDeathMatchFirst = 20001;

    // A character announced by the server, in the first free slot 1..1023
    // with its kind's record (no items or equipment); null when the id is
    // already on the field (while the check is on), no entry has the sprite
    // set id, or the pool is full. speedClass 0 keeps the kind's.
    CCharacter* AddCharacter(int id, int x, int y, int spriteSetId, int speedClass, uint32_t look);
    // My character in slot 0 from the own record and the group header; null
    // when my kind has no entry or the slot is taken.
    CCharacter* CreateMyCharacter(int x, int y);
    // Stores the pointer and tells the player data its class and group.
    void SetMyCharacter(CCharacter* character);
    CCharacter* GetMyCharacter() const { return m_pMyChar; }
    // A town NPC (name null: the entry's display name); null when no entry
    // has the id or the pool is full.
    CNpc* AddNpc(const char* name, int x, int y, int value, int spriteSetId);
    // The marker of a battle, named by its number in decimal.
    CNpc* AddBattleMarker(int x, int y, int battle);
    CNpc* FindBattleMarker(int battle);
    void RemoveAllNpcs();
    // A structure of a building entry (by exact name); null when none has
    // the name or the pool is full.
    CStructureObj* AddStructure(const char* name, int x, int y, const char* building, const uint8_t* data,
                                int length);
    CCharacter& CharacterSlot(int i);
    CNpc& NpcSlot(int i);
    CCreatureAlt& CreatureAltSlot(int i);
    CStructureObj& StructureSlot(int i);
    // The object a grid handle names; null for an empty or blocked cell.
    CObj* ResolveHandle(ObjHandle h);

    // ---- the grids ----------------------------------------------------------
    // Reads outside the 512 x 512 cells give 0 and writes there do nothing.
    ObjHandle GetObjectCell(int x, int y) const;
    void SetObjectCell(int x, int y, ObjHandle h);
    // Clears the cell when it holds h.
    void ClearObjectCellOf(int x, int y, ObjHandle h);
    uint32_t GetPathCell(int x, int y) const;
    void SetPathCell(int x, int y, uint32_t v);
    uint32_t GetIdCell(int x, int y) const;
    void SetIdCell(int x, int y, uint32_t id);
    ObjHandle GetStructureCell(int x, int y) const;
    void SetStructureCell(int x, int y, ObjHandle h);
    uint16_t GetGroundItem(int x, int y) const;
    void SetGroundItem(int x, int y, uint16_t item);
    // The inclusive rectangle, clipped to the grid.
    void ClearGroundItems(int x0, int y0, int x1, int y1);
    // The ground pictures of the items in the cells that cover the view.
    void DrawGroundItems(uint8_t* bits);

    // ---- the object files ---------------------------------------------------
    static constexpr int kMaxCharEntries = 1000;
    static constexpr int kMaxItemEntries = 10000;
    static constexpr int kMaxBuildingEntries = 4096;
    // Where the section of "data\item.obr" starts.
    static constexpr size_t kItemFileStart = 23;

    // One object file into the lists: 0, or -1 for a missing or damaged
    // file, a count beyond what the lists can still take, or a version
    // outside 256..259 (CHR) / 256 (ITM, BLD). A refused file leaves the
    // lists as they were.
    int LoadObr(const char* file);
    // The same over a section's bytes.
    int ReadObr(CByteReader& r);
    // Resets the map, then reads the object section of an open map file at
    // its cursor and places its structures: 0, or -1 (the map is then reset
    // again).
    int LoadMapObjects(CRFile& file);
    int ReadMapObjects(CByteReader& r);
    // The first character entry whose numeric id is id, or null.
    const CObrCharEntry* FindSpriteSetById(int id) const;
    const CObrBuildingEntry* FindBuildingEntry(std::string_view name) const;
    // The item entry at that list index: null outside 0..count-1.
    const CObrItemEntry* GetItemEntry(int index) const;
    // Appends an entry; the layer owns it. 0, or -1 when 10000 are held.
    int AddItemEntry(std::unique_ptr<CObrItemEntry> entry);
    void FreeCharLists();
    void FreeBuildingLists();
    void FreeItemLists();
    int GetCharEntryCount() const { return static_cast<int>(m_charEntries.size()); }
    int GetBuildingEntryCount() const { return static_cast<int>(m_buildingEntries.size()); }
    const CObrCharEntry* GetCharEntry(int i) const;
    const CObrBuildingEntry* GetBuildingEntry(int i) const;
    int GetCharSetCount() const { return static_cast<int>(m_charSets.size()); }
    int GetItemSetCount() const { return static_cast<int>(m_itemSets.size()); }
    int GetBuildingSetCount() const { return static_cast<int>(m_buildingSets.size()); }
    CAnimSpriteSet* GetCharSet(int i) const;
    const std::string& GetMapName() const { return m_mapName; }
    const std::string& GetMapText() const { return m_mapText; }

    // ---- drawing ------------------------------------------------------------
    // Draw and sort position (x, y, z): 0, or -1 when refused.
    int AddDrawItem(CObj* owner, int x, int y, int z, CRleImage* image, int mode, uint32_t param);
    int AddToDrawList(CObj* owner, int x, int y, int z, int sortX, int sortY, int sortZ, CRleImage* image,
                      int mode, uint32_t param);
    void SortDrawList() { m_drawList.Sort(); }
    CDrawList& DrawList() { return m_drawList; }
    // The object view rectangle (right and bottom exclusive).
    void SetViewRect(int left, int top, int right, int bottom);
    int GetViewLeft() const { return m_viewLeft; }
    int GetViewTop() const { return m_viewTop; }
    int GetViewRight() const { return m_viewRight; }
    int GetViewBottom() const { return m_viewBottom; }
    // The action range around a world pixel; radius in range steps.
    void SetRangeCircle(int x, int y, int radius);
    void ShowRangeCircle(int on) { m_rangeShown = on; }
    int IsRangeCircleShown() const { return m_rangeShown; }
    // Three ellipses in colour 222 around the eased centre; blend: through
    // the blend table. Every point is clipped to the 800 x 600 surface.
    void DrawRangeCircle(uint8_t* bits, int blend);
    // The pixel radius of a range of radius steps.
    static int RangePixels(int radius) { return (radius + 1) * 42 + 2; }

    // ---- once a frame ---------------------------------------------------------
    // The game clock: one step every 1800 calls (the colony first on a step
    // that stands at a multiple of 240; field 7 when the new count is a
    // multiple of 5).
    void TickClock();
    // The zone flags from the item in equipment slot 1.
    void UpdateZoneFlags();
    void CheckJailAndWanted();
    // Leaves the field's map: grids, draw list, my character pointer, the
    // NPC, second-creature and structure slots, the battle table.
    void ResetMap();
    CBGLayer* GetBackground() const { return m_pBackground; }
    CStageChange& StageChange() { return m_stageChange; }
    // The world pixel the frame scrolls the map to: my character's, to
    // which the camera shakes of the frame add their offsets.
    void SetFocusPixel(int x, int y)
    {
        m_focusX = x;
        m_focusY = y;
    }
    void GetFocusPixel(int& x, int& y) const
    {
        x = m_focusX;
        y = m_focusY;
    }
    // ---- groups and duels ------------------------------------------------------
    // ['='][u16 inviter]: accepts the pending invitation of that player.
    void AcceptGroupInvite(int id);
    void DisbandGroup();            // ['C'], as leader with members
    void ChangeGroupLeader(int id); // ['E'][u16 new leader]
    void ExpelGroupMember(int id);  // ['D'][u16 member]
    void LeaveGroup();              // ['P'], as a member led by another
    // ['Q'][5 x u16]: the other members' ids in slot order, the rest 0.
    void SendGroupQ();
    // ['S'][u16 id]: a duel with a player on the field.
    void RequestDuel(int id, const char* name);
    CGroupMemberTable& GroupMembers() { return m_groupMembers; }
    // Victory: nobody is left standing against me.
    void CheckBattleWon();

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
    // Command 30: the header's six bytes after the command byte; the
    // payload is read here by the sub-command's size.
    void OnBattleCommand(const uint8_t* fixed);
    // The battle sub-commands received, each given its whole payload.
    void OnBattleJoin(const uint8_t* p);         // 1
    void OnBattleAttack(const uint8_t* p);       // 4
    void OnBattleHit(const uint8_t* p);          // 5
    // 6: the fixed 25 bytes; the item ids are read here.
    void OnBattleResult(const uint8_t* p);
    void OnBattleStatus(const uint8_t* p);       // 7
    void OnBattleHitFlagged(const uint8_t* p);   // 9
    void OnDeathMarkHit(const uint8_t* p);       // 45
    void OnPairNotice(const uint8_t* p);         // 46
    void OnPairNoticeReverse(const uint8_t* p);  // 47
    // The ability sub-commands (10..29, 40..44), the notices 200 and 201
    // and the stat relays (150..154), by their rows: only in battle, with a
    // known caster that is not mine (and a known target where one is used).
    void OnBattleAbilityCommand(int sub, const uint8_t* p, int size);
    // An ability sub-command of the caster (my character or a creature I
    // report for) by its row: the ids, the goal cell, the caster's values;
    // amount and byte where the row carries them. In battle only.
    void SendAbilityCommand(int sub, const CCreature& caster, int targetId, int x = 0, int y = 0,
                            uint32_t amount = 0, int byte = 0);
    // The player's request to use ability id 0..23 on the target or at the
    // cell: the checks and messages, then my character's StartAbility.
    int UseAbility(int id, CCreature* target, int x, int y);
    // The area hits at a cell of the caster with that server id: every
    // active, living battle character (the first 24 slots) of another group
    // by its Chebyshev distance, queued as a pending skill.
    void ApplyMaximumForceArea(int x, int y, int casterId);
    void ApplyThunderBoltArea(int x, int y, int casterId);
    // 1 + the participants that sit in a member slot of my group (while it
    // has a leader); my level plus the levels of those members on the map.
    int CountGroupInBattle() const;
    int SumGroupLevels();
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
    int32_t m_areaX = -1;
    int32_t m_areaY = -1;
    uint32_t m_inBattle = 0;
    uint32_t m_battleNumber = 0;
    // The battle's centre cell: nobody walks more than 16 cells from it.
    int32_t m_battleCentreX = 0;
    int32_t m_battleCentreY = 0;
    // 1 once the battle is won or lost here, 2 after my defeat (the next
    // right click leaves it).
    uint32_t m_battleOver = 0;
    // The death marks: pairs of a marked creature and its caster, the
    // current pair and the flag that some mark is held.
    struct DeathMarkPair {
        CCreature* first = nullptr;
        CCreature* second = nullptr;
    };
    static constexpr int kDeathMarkPairs = 32;
    std::array<DeathMarkPair, kDeathMarkPairs> m_deathMarks{};
    int32_t m_deathMarkIndex = 0;
    uint32_t m_deathMarkFlag = 0;
    std::array<uint32_t, kDeathMarkPairs> m_deathMarkMarked{};
    // The next received hit by my character raises its field 20; a battle
    // entered or left and a map reset forget it.
    uint32_t m_hitStatFlag = 0;
    // A repeated Psychicforce aims at me: my next hit report by its caster
    // goes out with mode 11, which clears it.
    uint32_t m_psychicforcePending = 0;
    // Participant slots counted on entry.
    uint32_t m_participantCount = 0;
    // A Cure was received or chosen: until a Cure routine (or a cleared
    // death mark) takes it back, frozen or hidden creatures may start
    // abilities.
    uint32_t m_cureReceived = 0;
    uint16_t m_myId = 0;
    uint16_t m_myId2 = 0;
    uint32_t m_ownRecordArrived = 0;  // set by field 50 of my own record
    // Set by any field of my own record; asking for field 50 clears it.
    uint32_t m_myFieldAnswer = 0;
    // The server's reply to command 3: 1 entered, -1 refused, 0 none yet.
    int32_t m_enteredAnswer = 0;
    uint32_t m_itemEntryCount = 0;    // item entries loaded from the object files
    // My group: the leader's id and six member ids.
    GroupRecord m_groupHeader{};
    // The player whose group invitation / duel request waits for an answer.
    uint16_t m_pendingInviter = 0;
    uint16_t m_pendingChallenger = 0;
    CGroupMemberTable m_groupMembers;
    // The battle: the block it is entered from, its participants, the
    // opponent table and the two pair-notice tables.
    BattleBlock m_battleBlock;
    std::array<BattleParticipant, kMaxParticipants> m_participants{};
    uint32_t m_battleJoined = 0;
    std::array<OpponentRecord, kOpponentRecords> m_opponents{};
    std::array<std::array<PairNotice, kPairNotices>, 2> m_pairNotices{};
    // AddCharacter refuses an id already on the field while this is set.
    uint32_t m_duplicateCheck = 1;
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

    // Set while a stage change runs (Escape then leaves the game).
    uint32_t m_stageChanging = 0;
    // The objects under the mouse (the field frame sets them).
    CObj* m_pHoverObj = nullptr;
    CCreature* m_pHoverCreature = nullptr;
    CStructureObj* m_pHoverStructure = nullptr;
    CNpc* m_pHoverNpc = nullptr;

private:
    struct Grids;
    struct Pools;
    // The record my character shows: its own while it exists, else the
    // layer's; changes to it are copied into the own record.
    CharacterRecord& PlayerRecord();
    // One received field into a record; mine: the player's record, own:
    // the layer's copy, which also keeps the cabinet, the recall point and
    // the start times.
    void ApplyCharacterField(CharacterRecord& record, bool mine, bool own, int field, const uint8_t* payload,
                             size_t size);
    void CommitPlayerRecord();
    // The group changed: my creature's group key follows; report: 'B'.
    void CopyGroupToMe();
    void SendGroupRecord();
    void SendGroupIds(uint8_t cmd);
    void FillOpponents(const BattleBlock& block);
    // Battle bookkeeping of ObjLayerBattle*.cpp.
    void ClearBattleTables();
    void StartCell(const BattleBlock& block, int& x, int& y);
    void RecordJoinOpponents(const BattleParticipant& p);
    void DeathMarkHit(const uint8_t* p, bool flagged);
    // The hit-stat flag is used up: my character's field 20 rises by one
    // (up to 2028) when the hit was mine.
    void TakeHitStat(bool mine);
    // Every active, living battle character (the first 24 slots) of
    // another group than the caster's within the percentages' reach.
    void ApplyAreaHit(int id, int x, int y, int casterId, const int* percent, int reach);
    void StorePairNotice(int kind, const uint8_t* p);
    void TakeLoot(const std::vector<uint16_t>& items, bool weighed);
    void ShareReward(int value, int G, int L, bool experience);
    void ArenaScore(const CCharacter* dead);
    void TakeOfferedItem(int giver, int item);
    int ReadObrSection(CByteReader& r);
    void DrawEllipse(uint8_t* bits, int cx, int cy, int a, int b, const uint8_t* blend);

    CDisplay* m_pDisplay;
    CBGLayer* m_pBackground;
    CharacterRecord m_myRecord;
    std::unique_ptr<Grids> m_grids;
    std::unique_ptr<Pools> m_pools;
    std::vector<std::unique_ptr<CObrItemEntry>> m_itemEntries;
    std::vector<std::unique_ptr<CAnimSpriteSet>> m_itemSets;
    std::vector<std::unique_ptr<CObrCharEntry>> m_charEntries;
    std::vector<std::unique_ptr<CAnimSpriteSet>> m_charSets;
    std::vector<std::unique_ptr<CObrBuildingEntry>> m_buildingEntries;
    std::vector<std::unique_ptr<CItemSpriteSet>> m_buildingSets;
    CDrawList m_drawList;
    int32_t m_viewLeft = 0, m_viewTop = 0, m_viewRight = 800, m_viewBottom = 448;
    int32_t m_rangeShown = 0;
    int32_t m_rangeRadius = 0, m_rangeX = 0, m_rangeY = 0;
    int32_t m_rangePrevRadius = 0, m_rangePrevX = 0, m_rangePrevY = 0;
    int32_t m_rangeStep = 0;
    int32_t m_focusX = 0, m_focusY = 0;
    std::string m_mapName;
    std::string m_mapText;
    CStageChange m_stageChange;
    // The structure my character stands in (drawn see-through).
    CStructureObj* m_pStandStructure = nullptr;
    // The screenshot key: first press seen, the last check, the last shot.
    bool m_shotStarted = false;
    uint32_t m_shotCheckAt = 0;
    uint32_t m_shotAt = 0;
    bool CellOnMap(int x, int y) const;
    void StructureUnderPlayer();
    void DrawFloatTexts(uint8_t* bits);
    void DrawTileText(uint8_t* bits);
    void ScreenShotKeyFrame(uint8_t* bits);
    void PeriodicMessages();
    void HandleLeftClick(int mx, int my);
    void ClickInBattle(int mx, int my);
    void ClickOnCreature(CCreature* target);
    void ClickOnNpc(CNpc* npc);
    bool ClickOnStructure(CStructureObj* s);
    void ClickOnGround(int mx, int my);
    void OpenProfile(CCreature* target);
    int m_entryStage = 0;
    int m_entryX = 0;
    int m_entryY = 0;
};

// The player is wanted: fewer than 5 terms in jail and a wanted level that
// is a non-zero multiple of 3, or 5 terms or more and any wanted level.
bool IsWanted(const CharacterRecord& rec);

// A group member's share of a battle reward v: everything for G = 1, else
// v / 10 plus the group's bonus total less those tenths in proportion to
// myLevel among the group's L levels. G is taken within 1..6, L at least 1.
int64_t BattleShare(int64_t v, int G, int L, int myLevel);

// The frame clock: advanced by every TickClock.
extern uint32_t g_frameClock;
// Jail: the time left of the term, the in-jail flag, and the request that
// starts a term on the next check.
extern int32_t g_jailRemaining;
extern uint32_t g_inJail;
extern uint32_t g_jailRequest;
// Set by my defeat when the stage change is to take me to jail.
extern uint32_t g_toBeJailed;
// The group-battle flags of the battles remembered by command 84, by the
// index of my id in the group header (less one).
extern std::array<uint32_t, 12> g_groupBattleFlags;
// Back to the start state.
void ResetObjLayerGlobals();

// The area hits and the Psychicforce and status senders the ability
// routines call, on the view's object layer; the view installs them with
// its effect manager.
void InstallAbilityHooks();

// The view's object layer, or null before the first frame made it.
CObjLayer* GetObjLayer();
// Connected to the game server: what my character does is told to it.
bool IsOnline();
