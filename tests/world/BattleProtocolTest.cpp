// Command 30 both ways: the sub-command table of the dispatcher, the exact
// bytes of every battle sender and entering and leaving a battle from the
// server's join reply.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <utility>

#include "app/StringTable.h"
#include "platform/Crt.h"
#include "rules/CalcData.h"
#include "support/FakeSocial.h"
#include "windows/PlayerInfo.h"
#include "world/BGLayer.h"
#include "world/BattlePacketHeader.h"
#include "world/MapGrid.h"
#include "world/StageChange.h"
#include "BattleBed.h"

namespace {

using W = CBattleWire;
using Bytes8 = std::vector<uint8_t>;

bool IsProtocolError(int s)
{
    return s == 0 || s == 2 || s == 3 || s == 8 || (s >= 30 && s <= 39) || s == 42 || (s >= 48 && s <= 149) ||
           (s >= 155 && s <= 199) || s >= 202;
}

// The payload sizes both sides agree on (sub 6 without its item ids).
const std::map<int, int> kSizes = {
    {1, 20},   {4, 26},   {5, 12},   {6, 25},   {7, 10},   {9, 13},   {10, 2},   {11, 16},  {12, 2},  {13, 16},
    {14, 17},  {15, 22},  {16, 16},  {17, 38},  {18, 2},   {19, 2},   {20, 38},  {21, 8},   {22, 24}, {23, 32},
    {24, 2},   {25, 4},   {26, 38},  {27, 32},  {28, 32},  {29, 4},   {40, 2},   {41, 15},  {43, 10}, {44, 4},
    {45, 13},  {46, 9},   {47, 9},   {150, 10}, {151, 10}, {152, 10}, {153, 22}, {154, 22}, {200, 3}, {201, 2},
};

class BattleProtocol : public BattleBed {};

}  // namespace

TEST_F(BattleProtocol, EverySubCommandIsReadByItsSizeOrEndsTheGameWithString40)
{
    InBattle();
    auto& boxes = bed.world.Platform().dialogs.boxes;
    for (int sub = 0; sub < 256; ++sub) {
        SCOPED_TRACE(sub);
        ResetExitState();
        boxes.clear();
        const bool error = IsProtocolError(sub);
        ASSERT_EQ(error, kSizes.count(sub) == 0);
        EXPECT_EQ(BattlePayloadSize(sub), error ? -1 : kSizes.at(sub));
        Receive(sub, Bytes8(error ? 4 : static_cast<size_t>(kSizes.at(sub)), 0));
        EXPECT_EQ(src.Available(), 0u) << "the packet is taken whole";
        EXPECT_EQ(IsExiting(), error);
        ASSERT_EQ(boxes.size(), error ? 1u : 0u);
        if (error) {
            EXPECT_EQ(boxes[0].text, GetGameString(IDS_PROTOCOL_ERROR));
        }
    }
}

TEST_F(BattleProtocol, AShortPayloadIsDroppedWholeAndOnlyAJoinActsOutsideBattle)
{
    CCharacter& other = Player(30, 22, 20, 30);
    struct Row {
        const char* name;
        int sub;
        Bytes8 payload;
        std::function<bool()> acted;
    };
    const Row rows[] = {
        {"status", 7, W().U16(30).U16(77).U16(66).U16(55).U16(44),
         [&] { return other.GetCharRecord().I32(CharacterRecord::kHp) == 77; }},
        {"hit", 5, W().U16(30).U16(kMe).U16(22).U16(20).U16(9).U16(61),
         [&] { return other.GetCharRecord().I32(CharacterRecord::kHp) == 61; }},
        {"attack", 4, W().U16(30).U16(kMe).U16(40).U16(41).U16(42).U32(0).U32(0).U32(0).U32(0),
         [&] { return other.GetCharRecord().I32(CharacterRecord::kStrength) == 40; }},
        {"pair notice", 46, W().U16(30).U8(0).U16(31).U16(kMe).U16(30),
         [&] { return Layer().m_pairNotices[0][0].sender == 30; }},
        {"reverse notice", 47, W().U16(30).U8(1).U16(31).U16(kMe).U16(30),
         [&] { return Layer().m_pairNotices[1][0].sender == 30; }},
        {"flagged hit", 9, W().U16(30).U16(kMe).U16(22).U16(20).U16(9).U16(62).U8(1),
         [&] { return Layer().m_deathMarks[0].first == &other; }},
        {"death-mark hit", 45, W().U16(30).U16(kMe).U16(22).U16(20).U16(9).U16(63).U8(1),
         [&] { return Layer().m_deathMarks[20].first == &other; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto reset = [&] {
            other.GetCharRecord().SetU32(CharacterRecord::kHp, 100);
            other.GetCharRecord().SetU32(CharacterRecord::kStrength, 1);
            Layer().m_pairNotices = {};
            Layer().m_deathMarks = {};
        };
        reset();
        Layer().m_inBattle = 0;
        Receive(row.sub, row.payload);
        EXPECT_FALSE(row.acted()) << "outside battle";
        InBattle();
        Bytes8 cut(row.payload.begin(), row.payload.end() - 1);
        Dispatch(W::Packet(row.sub, cut, kBattle));
        EXPECT_FALSE(row.acted()) << "one byte short";
        EXPECT_EQ(src.Available(), 0u);
        Receive(row.sub, row.payload);
        EXPECT_TRUE(row.acted()) << "whole";
    }
    // Outside battle a join only keeps the participant list.
    bed.Received();
    Layer().m_inBattle = 0;
    Layer().m_participantCount = 2;
    Layer().m_participants[1].id = 44;
    Receive(1, W().Participant(44, 25, 25, 0, 44, 9));
    EXPECT_EQ(Layer().m_participants[1].level, 9);
    EXPECT_EQ(Layer().FindCharacterById(44), nullptr);
    EXPECT_TRUE(bed.Received().empty());
}

TEST_F(BattleProtocol, EverySenderWritesItsExactBytes)
{
    CObjLayer& layer = Layer();
    InBattle(0x1234);
    CharacterRecord& rec = layer.MyRecord();
    rec.SetU32(CharacterRecord::kHp, 321);
    rec.SetU32(CharacterRecord::kLevel, 17);
    rec.SetU32(CharacterRecord::kStrength, 11);
    rec.SetU32(CharacterRecord::kAgility, 12);
    rec.SetU32(CharacterRecord::kCourage, 13);
    rec.SetU32(CharacterRecord::kSpeedClass, 0x105);
    rec.SetU32(CharacterRecord::kLook, 0x203);
    rec.SetU16(CharacterRecord::kFame, 900);
    rec.SetU16(CharacterRecord::kJailed, 2);
    rec.SetU16(CharacterRecord::kWanted, 3);
    for (int s = 0; s < CharacterRecord::kEquipSlots; ++s)
        rec.SetEquip(s, static_cast<uint16_t>(s + 1));
    const int cls = g_playerInfo.GetClass();
    const uint16_t items[] = {70, 71};
    constexpr int kB = 0x1234;
    struct Row {
        const char* name;
        std::function<void()> act;
        Bytes8 expected;
    };
    const Row rows[] = {
        {"join", [&] { layer.SendBattleJoin(21, 22); },
         W::Packet(1, W().U16(kMe).U16(21).U16(22).U16(cls).U8(5).U8(3).U16(kMe).U16(17).U32(0).U16(900), kB)},
        {"status", [&] { layer.SendBattleStatus(100, 50, 12, 13); },
         W::Packet(7, W().U16(kMe).U16(100).U16(50).U16(12).U16(13), kB)},
        {"attack", [&] { layer.SendBattleAttack(30); },
         W::Packet(4, W().U16(kMe).U16(30).U16(11).U16(12).U16(13).U16(1).U16(2).U16(3).U16(4).U16(5).U16(6).U16(7).U16(8),
                   kB)},
        {"hit", [&] { layer.SendBattleHit(30, 21, 22, 15); },
         W::Packet(5, W().U16(kMe).U16(30).U16(21).U16(22).U16(15).U16(321), kB)},
        {"flagged hit", [&] { layer.SendBattleHitFlagged(30, 21, 22, 15, 11); },
         W::Packet(9, W().U16(kMe).U16(30).U16(21).U16(22).U16(15).U16(321).U8(11), kB, 1)},
        {"end without items", [&] { layer.SendBattleEnd(30, nullptr, 0, 0, 0, 5, 6); },
         W::Packet(6, W().U16(kMe).U16(30).U16(0).U16(0).U16(0).U8(0).U16(17).U16(2).U16(3).U32(5).U32(6), kB)},
        {"end with two items", [&] { layer.SendBattleEnd(30, items, 2, -4, 9, 5, 6); },
         W::Packet(6, W().U16(kMe).U16(30).U16(0xFFFC).U16(9).U16(0).U8(2).U16(17).U16(2).U16(3).U32(5).U32(6).U16(70).U16(71),
                   kB)},
        {"pair notice", [&] { layer.SendPairNotice(kMe, 0, 30, 8, 7); },
         W::Packet(46, W().U16(kMe).U8(0).U16(30).U16(8).U16(7), 8, 4)},
        {"reverse pair notice", [&] { layer.SendPairNoticeReverse(kMe, 1, 30, 8, 7); },
         W::Packet(47, W().U16(kMe).U8(1).U16(30).U16(8).U16(7), 8, 4)},
        {"join outside battle", [&] { layer.m_inBattle = 0; layer.SendBattleJoin(21, 22); }, {}},
        {"status outside battle", [&] { layer.m_inBattle = 0; layer.SendBattleStatus(1, 2, 3, 4); }, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        layer.m_inBattle = 1;
        row.act();
        EXPECT_EQ(bed.Received(), row.expected);
    }
    EXPECT_EQ(W::Packet(6, Bytes8(25, 0)).size(), 32u);
    EXPECT_EQ(W::Packet(6, Bytes8(29, 0)).size(), 36u);
}

TEST_F(BattleProtocol, InvitingNeedsAPlayerOnTheFieldAndRoomInMyGroup)
{
    CObjLayer& layer = Layer();
    bed.Add(30, 22, 20);
    bed.Add(1305, 23, 20, 1305);
    struct Row {
        const char* name;
        int id;
        GroupRecord group;
        Bytes8 sent;
        std::vector<std::string> lines;
    };
    char invited[200];
    std::snprintf(invited, sizeof invited, GetGameString(57), "bob");
    const GroupRecord full{kMe, kMe, 1, 2, 3, 4, 5};
    const GroupRecord ledByOther{30, 30, kMe, 0, 0, 0, 0};
    const Row rows[] = {
        {"a player", 30, AloneGroup(kMe), {'<', 30, 0}, {invited}},
        {"a monster", 1305, AloneGroup(kMe), {}, {}},
        {"myself", kMe, AloneGroup(kMe), {}, {}},
        {"nobody", 99, AloneGroup(kMe), {}, {}},
        {"a full group", 30, full, {}, {GetGameString(60)}},
        {"a group led by another", 30, ledByOther, {}, {GetGameString(60)}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        layer.m_groupHeader = row.group;
        Lines();
        layer.InviteToGroup(row.id, "bob");
        EXPECT_EQ(bed.Received(), row.sent);
        EXPECT_EQ(Lines(), row.lines);
    }
}

TEST_F(BattleProtocol, EndingMyBattleClearsEveryTableAndTheRescuerOfThisBattle)
{
    FakeSocial social;
    CObjLayer& layer = Layer();
    CCharacter& other = Player(30, 22, 20, 30);
    for (uint32_t rescueBattle : {uint32_t{kBattle}, uint32_t{kBattle + 1}}) {
        SCOPED_TRACE(rescueBattle);
        InBattle();
        social.rescuerId = 44;
        social.rescueBattle = rescueBattle;
        layer.m_opponents[3].key = 30;
        layer.m_opponents[3].first[0] = 30;
        layer.m_opponents[3].second[0] = kMe;
        layer.m_pairNotices[0][5] = {30, 31, kMe};
        layer.m_pairNotices[1][19] = {30, 31, kMe};
        layer.m_deathMarkFlag = 1;
        layer.m_deathMarks[2] = {&other, me};
        layer.m_deathMarks[25] = {me, &other};
        layer.m_deathMarkMarked[25] = 1;
        bed.fx.log.Clear();
        layer.SendBattleEnd(30, nullptr, 0, 0, 0, 0, 0);
        EXPECT_EQ(bed.Received().size(), 32u);
        EXPECT_EQ(bed.fx.log.Calls(), (std::vector<std::string>{"ResetDeathMan(2)", "ResetDeathMan(25)"}));
        for (const OpponentRecord& r : layer.m_opponents)
            EXPECT_EQ(r.key, 0u);
        for (const auto& table : layer.m_pairNotices)
            for (const PairNotice& n : table)
                EXPECT_EQ(n.sender, 0u);
        for (int i = 0; i < CObjLayer::kDeathMarkPairs; ++i) {
            EXPECT_EQ(layer.m_deathMarks[static_cast<size_t>(i)].first, nullptr);
            EXPECT_EQ(layer.m_deathMarkMarked[static_cast<size_t>(i)], 0u);
        }
        EXPECT_EQ(layer.m_deathMarkFlag, 0u);
        EXPECT_EQ(social.rescuerId, rescueBattle == kBattle ? 0 : 44);
    }
}

TEST_F(BattleProtocol, TheJoinReplyEntersTheBattleAndTellsTheServerInOrder)
{
    CObjLayer& layer = Layer();
    bed.Add(99, 30, 30);  // a field character the entry removes
    CharacterRecord& rec = layer.MyRecord();
    rec.SetU32(CharacterRecord::kHp, 40);
    rec.SetU32(CharacterRecord::kMp, 41);
    rec.SetU32(CharacterRecord::kConstitution, 42);
    rec.SetU32(CharacterRecord::kWisdom, 43);
    rec.SetU32(CharacterRecord::kLevel, 6);
    me->GetCharRecord() = rec;
    layer.SetGroundItem(25, 25, 3);
    layer.m_cureReceived = 1;  // from an earlier battle
    layer.m_hitStatFlag = 1;
    // [27][u16][u16 battle][u16 cx][u16 cy][u16 opponent][u8 k], k participants.
    const Bytes8 reply = W().U8(27).U16(0).U16(kBattle).U16(30).U16(30).U16(30).U8(2)
                             .Participant(30, 33, 30, 0, 30, 12, 0x40, 77)
                             .Participant(31, 65535, 0, 0, 30);
    Dispatch(reply);
    ASSERT_EQ(layer.m_inBattle, 1u);
    EXPECT_EQ(layer.m_battleNumber, static_cast<uint32_t>(kBattle));
    EXPECT_EQ(layer.m_cureReceived, 0u);
    EXPECT_EQ(layer.m_hitStatFlag, 0u) << "a DevilHealing of the last battle raises nothing here";
    EXPECT_EQ(layer.GetGroundItem(25, 25), 0);
    EXPECT_EQ(layer.FindCharacterById(99), nullptr);
    EXPECT_EQ(layer.FindCharacterById(31), nullptr) << "not placed";
    CCharacter* other = layer.FindCharacterById(30);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->GetGroupId(), 30);
    EXPECT_EQ(other->GetCharRecord().I32(CharacterRecord::kLevel), 12);
    EXPECT_EQ(other->GetCharRecord().I16(CharacterRecord::kFame), 77);
    EXPECT_EQ(other->GetStatusFlags(), 0x40u);
    CCharacter* mine = layer.GetMyCharacter();
    ASSERT_NE(mine, nullptr);
    const int x = mine->GetTileX(), y = mine->GetTileY();
    EXPECT_EQ(mine->GetMyTurn(), 0);
    const Bytes8 expected = Concat({W().U8(5).U16(kMe),
                                    W::Packet(1, W().U16(kMe).U16(x).U16(y).U16(g_playerInfo.GetClass())
                                                     .U8(rec.U32(CharacterRecord::kSpeedClass))
                                                     .U8(rec.U32(CharacterRecord::kLook)).U16(kMe).U16(6).U32(0)
                                                     .U16(rec.U16(CharacterRecord::kFame)),
                                              kBattle),
                                    W().U8(32).U16(kMe).U16(x).U16(y),
                                    W::Packet(7, W().U16(kMe).U16(40).U16(41).U16(42).U16(43), kBattle)});
    EXPECT_EQ(bed.Received(), expected);
    EXPECT_EQ(g_commandRing.Pop(), 37u);

    // The enemy's hit, then its death by my hand: the experience and the victory.
    Receive(5, W().U16(kMe).U16(30).U16(33).U16(30).U16(12).U16(28));
    EXPECT_EQ(mine->GetCharRecord().I32(CharacterRecord::kHp), 28);
    EXPECT_EQ(mine->GetOrder(), CCreature::orderHit);
    const int exp = mine->GetCharRecord().I32(CharacterRecord::kExperience);
    Lines();
    Receive(6, W().U16(30).U16(kMe).U16(0).U16(20).U16(0).U8(0).U16(12).U16(0).U16(0).U32(0).U32(0));
    EXPECT_FALSE(other->IsAlive());
    EXPECT_EQ(mine->GetCharRecord().I32(CharacterRecord::kExperience), exp + 20);
    auto text = [](int id, int n) {
        char line[200];
        std::snprintf(line, sizeof line, GetGameString(id), n);
        return std::string(line);
    };
    // No item came with it: none taken, none refused, and both said.
    EXPECT_EQ(Lines(), (std::vector<std::string>{text(19, 0), text(21, 0), text(27, 20), GetGameString(15),
                                                 GetGameString(17)}));
    EXPECT_EQ(layer.m_battleOver, 1u);
    EXPECT_EQ(layer.m_participants[0].id, 0) << "the dead's slot is free";
    bed.Received();

    // A map reset leaves the battle as the right click does: the server
    // told, everyone off the map, the battle bar away, no Cure or hit-stat
    // flag kept.
    layer.m_cureReceived = 1;
    layer.m_hitStatFlag = 1;
    layer.ResetMap();
    EXPECT_EQ(layer.m_inBattle, 0u);
    EXPECT_EQ(layer.m_cureReceived, 0u);
    EXPECT_EQ(layer.m_hitStatFlag, 0u);
    EXPECT_EQ(bed.Received(), Bytes8(W().U8(34).U16(kMe)));
    EXPECT_EQ(layer.FindCharacterById(30), nullptr);
    EXPECT_EQ(layer.GetMyCharacter(), nullptr);
    EXPECT_EQ(layer.m_participants[1].id, 0);
    EXPECT_EQ(layer.m_participantCount, 0u);
    EXPECT_EQ(g_commandRing.Pop(), 38u);
    layer.m_hitStatFlag = 1;
    layer.ResetMap();
    EXPECT_EQ(layer.m_hitStatFlag, 0u) << "outside a battle too";
}

TEST_F(BattleProtocol, AnArenaBattleCapsMyHpOnEntryBattleZeroIsIgnoredAndLeavingForgetsTheHitStat)
{
    struct Row {
        uint32_t battle;
        bool entered;
        bool capped;
    };
    for (const Row row : {Row{20001, true, true}, Row{20000, true, false}, Row{0, false, false}}) {
        SCOPED_TRACE(row.battle);
        CObjLayer& layer = Layer();
        layer.LeaveBattle();
        layer.m_inBattle = 0;
        CharacterRecord& rec = layer.MyRecord();
        const int maxHp = CalcMaxHp(rec);
        rec.SetU32(CharacterRecord::kHp, static_cast<uint32_t>(maxHp + 50));
        BattleBlock block;
        block.battle = row.battle;
        block.centreX = block.centreY = 30;
        layer.EnterBattle(block);
        EXPECT_EQ(layer.m_inBattle, row.entered ? 1u : 0u);
        EXPECT_EQ(layer.MyRecord().I32(CharacterRecord::kHp), row.capped ? maxHp : maxHp + 50);
        bed.Received();
        // The hit-stat flag of a battle goes with it.
        layer.m_hitStatFlag = 1;
        layer.LeaveBattle();
        EXPECT_EQ(layer.m_hitStatFlag, row.entered ? 0u : 1u);
        layer.m_hitStatFlag = 0;
    }
}

TEST_F(BattleProtocol, MyStartCellStaysInsideTheClippedWindowOnFreeCells)
{
    CObjLayer& layer = Layer();
    // Walls and blocked ground around both centres.
    std::set<std::pair<int, int>> walls;
    for (int i = 0; i < 64; i += 3) {
        bed.Wall(i, (i * 7) % 64);
        walls.insert({i, (i * 7) % 64});
        bed.Ground().SetCellFlags((i * 5) % 64, i, kFlagGround | kFlagDrawn | kFlagBlocked);
    }
    struct Centre {
        int x, y;
    };
    for (const Centre c : {Centre{2, 3}, Centre{60, 61}}) {
        const int x0 = std::max(c.x - 16, 0), x1 = std::min(c.x + 16, 64) - 1;
        const int y0 = std::max(c.y - 16, 0), y1 = std::min(c.y + 16, 64) - 1;
        BattleBlock block;
        block.battle = kBattle;
        block.centreX = static_cast<uint32_t>(c.x);
        block.centreY = static_cast<uint32_t>(c.y);
        block.count = 24;
        for (unsigned seed = 0; seed < 1000; ++seed) {
            plat::SRand(seed);
            layer.LeaveBattle();
            layer.EnterBattle(block);
            const CCharacter* mine = layer.GetMyCharacter();
            ASSERT_NE(mine, nullptr);
            const int x = mine->GetTileX(), y = mine->GetTileY();
            if (x == c.x && y == c.y)
                continue;  // no step was taken
            ASSERT_TRUE(x > x0 && x < x1 && y > y0 && y < y1) << seed << ": " << x << "," << y;
            ASSERT_EQ(bed.Ground().GetCellFlags(x, y) & kFlagBlocked, 0) << seed;
            ASSERT_EQ(walls.count({x, y}), 0u) << seed;
            if (seed % 100 == 0)
                bed.Received();
        }
    }
}
