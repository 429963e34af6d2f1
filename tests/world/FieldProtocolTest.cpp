// The field commands both ways on a field with my character, its scripted
// server receiving what the client sends: every sender's exact bytes and
// refusals, every received command's effect and its off-map or unknown-id
// variant, and the group protocol end to end.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/CommandRing.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "app/StringTable.h"
#include "core/AnimSpriteSet.h"
#include "core/ByteReader.h"
#include "fixtures/ObrBuilder.h"
#include "fixtures/PacketStream.h"
#include "net/PacketAssembler.h"
#include "rules/ItemData.h"
#include "support/CreatureBed.h"
#include "windows/MouseCursor.h"
#include "world/BGLayer.h"
#include "world/Npc.h"
#include "world/ObjLayer.h"
#include "world/StageHolder.h"

namespace {

constexpr uint16_t kMe = CCreatureBed::kMyId;
constexpr int kSword = 1;  // a name with a final consonant
constexpr int kApple = 2;  // one without

// Little-endian packet building.
struct Wire {
    explicit Wire(int cmd) { b.push_back(static_cast<uint8_t>(cmd)); }
    Wire& U8(int v)
    {
        b.push_back(static_cast<uint8_t>(v));
        return *this;
    }
    Wire& U16(int v)
    {
        PutU16(b, static_cast<uint16_t>(v));
        return *this;
    }
    Wire& U32(uint32_t v)
    {
        PutU32(b, v);
        return *this;
    }
    // A text in a field of n bytes, the rest zero (no terminator when it fills it).
    Wire& Text(const char* s, size_t n)
    {
        for (size_t i = 0; i < n; ++i)
            b.push_back(i < std::strlen(s) ? static_cast<uint8_t>(s[i]) : 0);
        return *this;
    }
    // A battle participant record.
    Wire& Participant(int id, int x, int y, int type, int group, int level = 5)
    {
        return U16(id).U16(x).U16(y).U16(type).U8(0).U8(0).U16(group).U16(level).U32(0).U16(0);
    }
    operator Bytes() const { return b; }
    Bytes b;
};

// Chat records as the UI layer is given them.
class ChatUi : public FakeUi {
public:
    int RouteChatMessage(const char* message) override
    {
        CByteReader r(reinterpret_cast<const uint8_t*>(message), 17);
        r.Seek(15);
        const size_t n = r.U16();
        routed.emplace_back(message, 17 + n + 1);
        return 1;
    }
    std::vector<std::string> routed;
};

class FieldProtocol : public testing::Test {
protected:
    void SetUp() override
    {
        // Battle marker kinds 60..62.
        CObrBuilder chr("CHR");
        for (const char* kind : {"60", "61", "62"})
            chr.Character(kind, CObrBuilder::CharRecord(kind, 3, 60, 10, "mark")).RawSet(CCreatureSet::Section(kind));
        const Bytes file = chr.Build();
        CByteReader r(file.data(), file.size());
        ASSERT_EQ(Layer().ReadObr(r), 0);
        for (int i = 0; i < Layer().GetCharSetCount(); ++i)
            Layer().GetCharSet(i)->SetAnimation(kCharAnimNames, kCharAnimSlots);
        bed.world.AddItem(kSword, Item("검"));
        bed.world.AddItem(kApple, Item("사과"));
        bed.GoOnline();
        me = &bed.Me(20, 20);
        for (int i = 0; i < CharacterRecord::kItemSlots; ++i) {
            me->GetCharRecord().SetItem(i, 0);
            Layer().MyRecord().SetItem(i, 0);
        }
        Layer().m_inField = 1;
        Layer().m_groupHeader = AloneGroup(kMe);
        me->SetGroupKey(Layer().m_groupHeader);
        SetPacketSource(&src);
        bed.Received();
    }
    void TearDown() override
    {
        SetPacketSource(nullptr);
        g_mouseCursor = CMouseCursor{};
        g_lastMouseCursor = CMouseCursor{};
        g_commandRing.Reset();
        g_rememberedBattles.fill(0);
        ResetObjLayerGlobals();
    }
    static ItemRecord Item(const char* name)
    {
        ItemRecord rec;
        std::strncpy(rec.koreanName.data(), name, rec.koreanName.size() - 1);
        return rec;
    }
    CObjLayer& Layer() { return bed.Layer(); }
    void Dispatch(const Bytes& b)
    {
        src.Append(b);
        while (src.Available() > 0) {
            const size_t before = src.Taken();
            g_pView->ReceiveDispatch();
            if (src.Taken() == before)
                break;
        }
    }
    // The screen point over the centre of a tile.
    void TileOnScreen(int x, int y, int& sx, int& sy)
    {
        int px = 0, py = 0;
        CBGLayer::TileToPixel(x, y, px, py);
        bed.Ground().WorldToScreen(px + 32, py + 16, sx, sy);
        int tx = -1, ty = -1;
        bed.Ground().ScreenToTile(sx, sy, tx, ty);
        ASSERT_EQ(tx, x);
        ASSERT_EQ(ty, y);
    }
    // What a received command may change, for the variants that change nothing.
    struct State {
        std::vector<int> characters;  // id, x, y, order of each active one
        std::vector<uint16_t> ground;
        std::vector<int> markers;
        std::array<int16_t, 12> battles{};
        std::vector<uint16_t> items;
        uint32_t joined = 0;
        int stageState = 0;
        uint32_t firstKey = 0;
        bool operator==(const State&) const = default;
    };
    State Snapshot()
    {
        State s;
        for (int i = 0; i < CObjLayer::kCharacters; ++i) {
            CCharacter& c = Layer().CharacterSlot(i);
            if (c.IsActive())
                s.characters.insert(s.characters.end(), {c.GetServerId(), c.GetTileX(), c.GetTileY(), c.GetOrder()});
        }
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                s.ground.push_back(Layer().GetGroundItem(x, y));
        for (int i = 0; i < CObjLayer::kNpcs; ++i)
            if (Layer().NpcSlot(i).IsActive())
                s.markers.push_back(Layer().NpcSlot(i).GetBattle());
        s.battles = g_rememberedBattles;
        for (int i = 0; i < CharacterRecord::kItemSlots; ++i)
            s.items.push_back(me->GetCharRecord().Item(i));
        s.joined = Layer().m_battleJoined;
        s.stageState = Layer().StageChange().GetState();
        s.firstKey = Layer().m_opponents[0].key;
        return s;
    }

    // The message ring's lines since the last call.
    std::vector<std::string> Lines()
    {
        std::vector<std::string> out;
        for (const std::string& call : bed.ui.log.Calls())
            if (call.rfind("AddLine(", 0) == 0)
                out.push_back(call.substr(9, call.size() - 11));
        bed.ui.log.Clear();
        return out;
    }

    CCreatureBed bed;
    CMemoryByteSource src;
    CCharacter* me = nullptr;
};

Bytes Cat(std::initializer_list<Bytes> parts) { return Concat(parts); }

}  // namespace

TEST_F(FieldProtocol, EverySenderSendsItsBytesAndTheRefusalsSendNothing)
{
    CObjLayer& layer = Layer();
    bed.Add(30, 25, 20);  // another player
    int freeX = 0, freeY = 0, playerX = 0, playerY = 0;
    TileOnScreen(22, 24, freeX, freeY);
    TileOnScreen(25, 20, playerX, playerY);
    auto carry = [](int item) { g_mouseCursor.PickUp(item, CMouseCursor::kFromItems, 4); };
    struct Row {
        const char* name;
        std::function<void()> act;
        Bytes expected;
    };
    const Row rows[] = {
        {"connect", [&] { layer.SendConnectRequest(); }, Wire(1)},
        {"ready check", [&] { layer.SendReadyCheck(); }, Wire(50).U8('W')},
        {"field request", [&] { layer.RequestCharacterField(30, 35); }, Wire(52).U16(30).U8(35)},
        {"keep alive", [&] { layer.SendKeepAlive(); }, Wire(54)},
        {"quit notice", [&] { layer.SendQuitNotice(); }, Wire(55)},
        {"log out", [&] { layer.SendLogout(); }, Wire(51).U8('O')},
        // Off the field no duel is asked for.
        {"leave the field", [&] { layer.SendLeaveField(); layer.RequestDuel(30, "bob"); }, Wire(5).U16(kMe)},
        {"step", [&] { layer.SendMove(300, 0x1FF); }, Wire(10).U16(300).U16(0x1FF)},
        {"battle step", [&] { layer.SendBattleMove(300, 0x1FF); }, Wire(32).U16(kMe).U16(300).U16(0x1FF)},
        {"skill", [&] { layer.SendSkill(0x1234); }, Wire(22).U16(0x1234)},
        {"join battle", [&] { layer.SendJoinBattle(501); }, Wire(27).U16(kMe).U16(501)},
        {"skill report", [&] { layer.SendSkillReport(30, 0xFFF6, 11); }, Wire('[').U16(kMe).U16(30).U16(0xFFF6).U8(11)},
        {"status flags", [&] { layer.SendStatusFlags(501, kMe, 0x80000003u); },
         Wire('$').U16(501).U16(kMe).U32(0x80000003u)},
        {"attack", [&] { layer.SendAttack(30); }, Wire(20).U16(30)},
        {"challenge", [&] { layer.SendChallenge(30); }, Wire(24).U16(kMe).U16(30)},
        {"challenge button", [&] { layer.SendChallengeReply(30, 1, 0); }, Wire(26).U16(kMe).U16(30).U8(1).U16(0)},
        {"damage", [&] { layer.SendDamage(30, 12); }, Wire(31).U16(kMe).U16(30).U16(12)},
        {"pick up", [&] { layer.SetGroundItem(21, 20, kApple); layer.PickUpItem(21, 20); },
         Wire(41).U16(kMe).U16(kApple).U16(21).U16(20)},
        {"pick up nothing", [&] { layer.PickUpItem(40, 40); }, {}},
        {"drop", [&] { carry(kSword); layer.DropMouseItem(freeX, freeY); },
         Wire(53).U8(57).U8(4).U8('*').U16(kMe).U16(kSword).U16(22).U16(24)},
        // The drop before waits for its answer; the gift starts after it.
        {"give", [&] { g_lastMouseCursor.Clear(); carry(kApple); layer.m_pHoverCreature = layer.FindCharacterById(30); layer.DropMouseItem(freeX, freeY); },
         Wire(53).U8(57).U8(4).U8('.').U16(30).U16(kApple)},
        {"give while the cabinet is open", [&] {
             carry(kApple);
             bed.ui.windowState[98] = 2;
             layer.m_pHoverCreature = layer.FindCharacterById(30);
             layer.DropMouseItem(freeX, freeY);
         }, {}},
        {"drop on an undrawn tile", [&] {
             carry(kSword);
             bed.Ground().SetCellFlags(22, 24, kFlagGround);
             layer.DropMouseItem(freeX, freeY);
         }, {}},
        {"drop on a blocked tile", [&] {
             carry(kSword);
             bed.Ground().SetCellFlags(22, 24, kFlagGround | kFlagDrawn | kFlagBlocked);
             layer.DropMouseItem(freeX, freeY);
         }, {}},
        {"drop under a character", [&] { carry(kSword); layer.DropMouseItem(playerX, playerY); }, {}},
        {"leave the area", [&] { layer.m_areaCenterSet = 1; layer.LeaveArea(); }, Wire(34).U16(kMe)},
        {"leave without a centre", [&] { layer.LeaveArea(); }, {}},
        {"enter stage 0", [&] { layer.SetEntryPoint(0, 300, 2); layer.SendEnterField(); },
         Wire(3).U8(1).U16(300).U16(2)},
        {"enter stage 7", [&] { layer.SetEntryPoint(7, 300, 2); layer.SendEnterField(); }, {}},
        {"choose slot 2", [&] {
             g_loginRecord.SetSlot(1, 0, "first", 3);
             g_loginRecord.SetSlot(2, 0, "second", 3);
             layer.SendCharacterChoice(2);
         }, Wire(2).U8(1).U8(6).Text("second", 12)},
        {"choose slot 4", [&] { layer.SendCharacterChoice(4); }, {}},
        {"an 11-letter ID", [&] { layer.SendUserId("abcdefghijk"); }, Wire('c').Text("abcdefghijk", 12)},
        {"a 12-letter ID", [&] { layer.SendUserId("abcdefghijkl"); }, {}},
        {"a 13-letter ID", [&] { layer.SendUserId("abcdefghijklm"); }, {}},
        {"accept without an invitation", [&] { layer.AcceptGroupInvite(30); }, {}},
        {"accept", [&] { layer.m_pendingInviter = 30; layer.AcceptGroupInvite(30); }, Wire('=').U16(30)},
        {"accept another's", [&] { layer.m_pendingInviter = 31; layer.AcceptGroupInvite(30); }, {}},
        {"leave as the leader", [&] { layer.LeaveGroup(); }, {}},
        {"disband alone", [&] { layer.DisbandGroup(); }, {}},
        {"group list", [&] { layer.m_groupHeader = {kMe, kMe, 0, 30, 31, 32, 33}; layer.SendGroupQ(); },
         Wire('Q').U16(30).U16(31).U16(32).U16(33).U16(0)},
        {"new leader", [&] { layer.ChangeGroupLeader(30); }, Wire('E').U16(30)},
        {"expel as a member", [&] { layer.ExpelGroupMember(31); }, {}},
        {"leave", [&] { layer.LeaveGroup(); }, Wire('P')},
        {"expel", [&] { layer.m_groupHeader = {kMe, kMe, 30, 31, 0, 0, 0}; layer.ExpelGroupMember(31); }, Wire('D').U16(31)},
        {"expel a stranger", [&] { layer.ExpelGroupMember(44); }, {}},
        {"disband", [&] { layer.DisbandGroup(); }, Wire('C')},
        {"duel", [&] { layer.m_inField = 1; layer.RequestDuel(30, "bob"); }, Wire('S').U16(30)},
        {"duel a monster", [&] { layer.RequestDuel(1200, "orc"); }, {}},
        {"duel in jail", [&] { g_inJail = 1; layer.RequestDuel(30, "bob"); g_inJail = 0; }, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.act();
        EXPECT_EQ(bed.Received(), row.expected);
        bed.Ground().SetCellFlags(22, 24, kFlagGround | kFlagDrawn);
        bed.ui.windowState.clear();
        layer.m_pHoverCreature = nullptr;
        g_mouseCursor.Clear();
    }

    // What the refusals and the group senders told the player, in order.
    std::vector<std::string> expected;
    for (int id : {65, 65, 67, 62, 53, 64, 52, 54})
        expected.push_back(GetGameString(id));
    expected.push_back("bob님에게 대전 신청을 하였습니다.");
    expected.push_back(GetGameString(176));
    EXPECT_EQ(Lines(), expected);
    EXPECT_EQ(g_lastMouseCursor.GetItemId(), kApple) << "the gift waits for the answer";
    EXPECT_EQ(g_lastMouseCursor.GetTargetX(), 22);
}

TEST_F(FieldProtocol, LeavingTheAreaClearsTheBattleTablesWithOrWithoutACentre)
{
    CObjLayer& layer = Layer();
    for (int centre : {1, 0}) {
        layer.m_areaCenterSet = static_cast<uint32_t>(centre);
        layer.m_opponents[3].key = 30;
        layer.m_pairNotices[1][19].sender = 30;
        layer.m_battleJoined = 1;
        layer.m_battleNumber = 700;
        g_rememberedBattles = {5, 700, 0};
        g_groupBattleFlags = {1, 1, 1};
        layer.m_deathMarkFlag = 1;
        layer.m_deathMarks[4].first = me;
        layer.LeaveArea();
        EXPECT_EQ(layer.m_areaCenterSet, 0u);
        EXPECT_EQ(layer.m_opponents[3].key, 0u);
        EXPECT_EQ(layer.m_pairNotices[1][19].sender, 0u);
        EXPECT_EQ(layer.m_battleJoined, 0u);
        EXPECT_EQ(g_groupBattleFlags[0], 1u);
        EXPECT_EQ(g_groupBattleFlags[1], 0u) << "the flag of this battle";
        EXPECT_EQ(bed.fx.log.Count("ResetDeathMan"), 2 - centre);
        EXPECT_EQ(bed.fx.log.Calls().back(), "ResetDeathMan(4)") << "the marked pair made current";
        EXPECT_EQ(bed.Received(), centre ? Bytes(Wire(34).U16(kMe)) : Bytes{});
    }
}

TEST_F(FieldProtocol, EveryReceivedCommandActsAndItsBadVariantChangesNothing)
{
    CObjLayer& layer = Layer();
    CCharacter& bob = bed.Add(30, 22, 20);
    CCharacter& orc = bed.Add(1200, 26, 20, 1305);
    bed.Add(31, 28, 20);
    layer.SetGroundItem(23, 21, kSword);
    struct Row {
        const char* name;
        std::function<void()> setup;
        Bytes packet;
        // Null: the command changes nothing at all.
        std::function<void()> check;
        Bytes answer{};
        std::vector<std::string> ui{};
    };
    auto order = [](CCharacter& c) { return c.GetOrder(); };
    auto inBattle = [&] { layer.m_inBattle = 1; };
    // A join reply enters the battle at once: out again, with the field's
    // characters in their old slots.
    auto backOnField = [&] {
        EXPECT_EQ(layer.m_inBattle, 1u);
        const Bytes entry = bed.Received();
        EXPECT_EQ(Bytes(entry.begin(), entry.begin() + 3), Bytes(Wire(5).U16(kMe)));
        layer.LeaveBattle();
        bed.Received();
        g_commandRing.Reset();
        layer.SetMyCharacter(layer.CreateMyCharacter(20, 20));
        bed.Add(30, 22, 20);
        bed.Add(1200, 26, 20, 1305);
        bed.Add(31, 28, 20);
        layer.SetGroundItem(23, 21, kSword);
    };
    const Row rows[] = {
        {"attack", nullptr, Wire(21).U16(30).U16(kMe), [&] { EXPECT_EQ(order(bob), CCreature::orderAttack); }},
        {"attack of nobody", nullptr, Wire(21).U16(30).U16(99), nullptr},
        {"attack in battle", inBattle, Wire(21).U16(30).U16(kMe), nullptr},
        {"hit", nullptr, Wire(23).U16(30).U16(kMe), [&] { EXPECT_EQ(order(bob), CCreature::orderHit); }},
        {"hit by nobody", nullptr, Wire(23).U16(30).U16(99), nullptr},
        {"challenge", nullptr, Wire(25).U16(30).U16(kMe), [&] { EXPECT_EQ(order(bob), CCreature::orderChallenge); }},
        {"a monster's challenge from afar", nullptr, Wire(25).U16(1200).U16(kMe), nullptr},
        {"marker", nullptr, Wire(26).U16(900).U16(30).U16(31),
         [&] { ASSERT_NE(layer.FindBattleMarker(900), nullptr); EXPECT_EQ(layer.FindBattleMarker(900)->GetTileX(), 30); }},
        {"marker off the map", nullptr, Wire(26).U16(900).U16(512).U16(31), nullptr},
        {"markers", nullptr, Wire(29).U16(2).U16(901).U16(30).U16(33).U16(902).U16(600).U16(0),
         [&] { EXPECT_NE(layer.FindBattleMarker(901), nullptr); EXPECT_EQ(layer.FindBattleMarker(902), nullptr); }},
        {"markers in battle", inBattle, Wire(29).U16(1).U16(903).U16(30).U16(33), nullptr},
        {"marker removed", [] { g_rememberedBattles = {5000, 2000, 1000, 2001, 7}; },
         Cat({Wire(26).U16(5000).U16(30).U16(35), Wire(28).U16(5000).U32(0)}),
         [&] {
             EXPECT_EQ(layer.FindBattleMarker(5000), nullptr);
             EXPECT_EQ(g_rememberedBattles, (std::array<int16_t, 12>{0, 0, 0, 2001, 0}));
         }},
        {"join refused: too many", nullptr, Wire(27).U16(0).U16(0).U16(1).U16(0).U16(0).U8(0), nullptr, {},
         {GetGameString(75)}},
        {"join refused: death match", nullptr, Wire(27).U16(0).U16(0).U16(2).U16(0).U16(0).U8(0), nullptr, {},
         {GetGameString(76)}},
        {"join refused: no reason shown", nullptr, Wire(27).U16(0).U16(0).U16(3).U16(0).U16(0).U8(0), nullptr},
        {"join without participants", nullptr, Wire(27).U16(0).U16(40).U16(30).U16(30).U16(0).U8(0), nullptr},
        {"join off the map", nullptr,
         Wire(27).U16(0).U16(40).U16(600).U16(30).U16(0).U8(1).Participant(30, 5, 5, 0, 30), nullptr},
        {"join a duel", nullptr,
         Wire(27).U16(0).U16(40).U16(30).U16(31).U16(30).U8(1).Participant(30, 5, 5, 0, 30),
         [&] {
             EXPECT_EQ(layer.StageChange().GetType(), CStageChange::kEnterBattle);
             EXPECT_EQ(layer.StageChange().GetX(), 30);
             EXPECT_EQ(layer.m_battleBlock.battle, 40u);
             EXPECT_EQ(layer.m_participants[0].id, 30);
             EXPECT_EQ(layer.m_battleJoined, 1u);
             // The opponent is neither me nor my group: it stands first.
             for (int r = 0; r < 2; ++r) {
                 EXPECT_EQ(layer.m_opponents[r].key, r == 0 ? kMe : 30u);
                 EXPECT_EQ(layer.m_opponents[r].first[0], 30u);
                 EXPECT_EQ(layer.m_opponents[r].second[0], kMe);
             }
             EXPECT_EQ(layer.m_opponents[0].first[1], 30u) << "bob is on the map: paired in my record";
             EXPECT_EQ(layer.m_opponents[2].key, 0u);
             backOnField();
         },
         {}, {"ClearMessages()"}},
        {"join with 30 participants", nullptr,
         [] {
             Wire w(27);
             w.U16(0).U16(41).U16(30).U16(31).U16(0).U8(30);
             for (int i = 0; i < 30; ++i)
                 w.Participant(i == 7 ? 60 : 100 + i, i == 3 ? 700 : 10 + i, 10, 0, 100 + i);
             return Bytes(w);
         }(),
         [&] {
             EXPECT_EQ(layer.m_battleBlock.count, 24u) << "29 good records, 24 kept";
             EXPECT_EQ(layer.m_participants[3].id, 104) << "the off-map record is skipped";
             EXPECT_EQ(layer.m_participants[23].id, 124);
             EXPECT_EQ(layer.m_opponents[23].key, 124u);
             EXPECT_EQ(layer.m_opponents[0].first[0], 100u);
             EXPECT_EQ(layer.m_opponents[0].second[0], kMe);
             backOnField();
         },
         {}, {"ClearMessages()"}},
        {"move in battle", inBattle, Wire(33).U16(30).U16(24).U16(25),
         [&] {
             EXPECT_EQ(order(bob), CCreature::orderMove);
             layer.m_inBattle = 0;
         }},
        {"a participant appears", [&] { inBattle(); layer.m_participants[5] = {44, 0, 0, 1305, 0, 0, 61, 12, 0x40, 9}; },
         Wire(33).U16(44).U16(30).U16(30),
         [&] {
             CCharacter* c = layer.FindCharacterById(44);
             ASSERT_NE(c, nullptr);
             EXPECT_EQ(c->GetTileX(), 30);
             EXPECT_EQ(c->GetGroupId(), 61);
             EXPECT_EQ(c->GetStatusFlags(), 0x40u);
             EXPECT_EQ(c->GetCharRecord().U32(CharacterRecord::kLevel), 12u);
             EXPECT_EQ(c->GetCharRecord().I16(CharacterRecord::kFame), 9);
             layer.m_inBattle = 0;
         }},
        {"a stranger moves in battle", inBattle, Wire(33).U16(45).U16(30).U16(30), nullptr},
        {"move off the map in battle", inBattle, Wire(33).U16(30).U16(0).U16(999), nullptr},
        {"move of id 0 in battle", inBattle, Wire(33).U16(0).U16(30).U16(30), nullptr},
        {"move outside battle", nullptr, Wire(33).U16(30).U16(24).U16(25), nullptr},
        {"an opponent logs out",
         [&] {
             inBattle();
             layer.m_opponents[0].key = kMe;
             layer.m_opponents[0].first = {kMe, kMe};
             layer.m_opponents[0].second = {50, 31};
             layer.m_opponents[1].key = 31;
             layer.m_opponents[1].first[0] = 31;
             layer.m_opponents[1].second[0] = kMe;
             layer.m_pairNotices[0][3] = {9, 31, 9};
             layer.m_participants[2].id = 31;
             layer.m_deathMarkFlag = 1;
             layer.m_deathMarks[6] = {me, layer.FindCharacterById(31)};
         },
         Wire(35).U16(31),
         [&] {
             EXPECT_EQ(layer.FindCharacterById(31), nullptr);
             EXPECT_EQ(layer.m_opponents[0].key, kMe);
             EXPECT_EQ(layer.m_opponents[0].second[1], 0u);
             EXPECT_EQ(layer.m_opponents[0].second[0], 50u);
             EXPECT_EQ(layer.m_opponents[1].key, 0u) << "its pair 0: the whole record";
             EXPECT_EQ(layer.m_pairNotices[0][3].sender, 0u);
             EXPECT_EQ(layer.m_participants[2].id, 0);
             EXPECT_EQ(layer.m_battleOver, 0u) << "the orc is still standing";
             const std::vector<std::string>& calls = bed.fx.log.Calls();
             EXPECT_NE(std::find(calls.begin(), calls.end(), "ResetDeathMan(6)"), calls.end())
                 << "its death-mark pair made current and cleared";
             layer.m_deathMarkFlag = 0;
             layer.m_deathMarks = {};
             layer.m_inBattle = 0;
         },
         {}, {GetGameString(16)}},
        {"a logout of nobody", inBattle, Wire(35).U16(77), nullptr},
        {"ground items", nullptr, Wire(45).U16(3).U16(kApple).U16(1).U16(2).U16(kSword).U16(512).U16(2).U16(kSword).U16(63).U16(63),
         [&] { EXPECT_EQ(layer.GetGroundItem(1, 2), kApple); EXPECT_EQ(layer.GetGroundItem(63, 63), kSword); }},
        {"ground items off the map", nullptr, Wire(45).U16(1).U16(kApple).U16(0).U16(0xFFFF), nullptr},
        {"an item dropped", nullptr, Wire(42).U16(0).U16(kApple).U16(3).U16(4),
         [&] { EXPECT_EQ(layer.GetGroundItem(3, 4), kApple); }},
        {"an item dropped off the map", nullptr, Wire(42).U16(0).U16(kApple).U16(3).U16(512), nullptr},
        {"I pick up", [&] { bed.ui.windowState[9] = 2; }, Wire(41).U16(kMe).U16(0).U16(23).U16(21),
         [&] {
             EXPECT_EQ(me->GetCharRecord().Item(0), kSword);
             EXPECT_EQ(layer.MyRecord().Item(0), kSword);
             EXPECT_EQ(layer.GetGroundItem(23, 21), 0);
             EXPECT_EQ(order(*me), CCreature::orderPickUp);
         },
         Wire(53).U8(51).U8(0).U16(kSword), {"SetWindowState(9, 3)", "SetWindowState(9, 1)"}},
        {"another picks up", [&] { layer.SetGroundItem(5, 5, kApple); }, Wire(41).U16(30).U16(0).U16(5).U16(5),
         [&] { EXPECT_EQ(layer.GetGroundItem(5, 5), 0); EXPECT_EQ(order(bob), CCreature::orderPickUp); }},
        {"a pick-up off the map", nullptr, Wire(41).U16(30).U16(0).U16(5).U16(600), nullptr},
        {"drop accepted", [] { g_lastMouseCursor.PickUp(kApple, 0, 0); g_lastMouseCursor.SetTarget(8, 9); },
         Wire(43), [&] {
             EXPECT_EQ(layer.GetGroundItem(8, 9), kApple);
             EXPECT_EQ(g_lastMouseCursor.GetItemId(), 0);
             EXPECT_EQ(g_commandRing.Pop(), 1u);
         },
         {}, {"ApplyToPlayer(\"last\")", "RefreshWindows()"}},
        {"drop refused", [] { g_lastMouseCursor.PickUp(kApple, 0, 0); g_lastMouseCursor.SetTarget(8, 9); }, Wire(44),
         [&] {
             EXPECT_EQ(g_lastMouseCursor.GetTargetX(), 0);
             EXPECT_EQ(me->GetCharRecord().Item(1), kApple) << "back in the list";
             me->GetCharRecord().SetItem(1, 0);
         },
         {}, {"ReturnCarried(\"last\")"}},
        {"an item offered", nullptr, Wire(46).U16(30).U16(kApple),
         [&] { EXPECT_EQ(me->GetCharRecord().Item(1), kApple); },
         Cat({Wire(53).U8(51).U8(1).U16(kApple), Wire(47).U16(30)}),
         {"RefreshWindows()", "ShowNotice(\"" + bob.GetCharRecord().Name() + "님에게서 " + g_itemData.GetName(kApple) + "를 받았습니다.\", 60)"}},
        {"an unknown item offered", nullptr, Wire(46).U16(30).U16(300), nullptr, Wire(48).U16(30)},
        {"an item offered with 80 held",
         [&] { for (int i = 0; i < 80; ++i) me->GetCharRecord().SetItem(i, kApple); },
         Wire(46).U16(30).U16(kSword), [&] { EXPECT_EQ(me->GetCharRecord().Item(80), 0); }, Wire(48).U16(30)},
        {"given", [] { g_lastMouseCursor.PickUp(kSword, 0, 0); }, Wire(47), nullptr, {},
         {"ApplyToPlayer(\"last\")", "ShowNotice(\"" + std::string(g_itemData.GetName(kSword)) + "를 주었습니다.\", 60)"}},
        {"gift refused", [] { g_lastMouseCursor.PickUp(kSword, 0, 0); }, Wire(48),
         [&] {
             EXPECT_EQ(me->GetCharRecord().Item(80), kSword) << "back in the first free slot";
             me->GetCharRecord().SetItem(80, 0);
         },
         {},
         {"ReturnCarried(\"last\")", "ShowNotice(\"A item is not transfered.\", 60)"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        bed.ui.log.Clear();
        if (row.setup)
            row.setup();
        const State before = Snapshot();
        Dispatch(row.packet);
        EXPECT_EQ(src.Available(), 0u);
        if (row.check)
            row.check();
        else
            EXPECT_TRUE(Snapshot() == before);
        EXPECT_EQ(bed.Received(), row.answer);
        std::vector<std::string> ui;
        for (const std::string& call : bed.ui.log.Calls())
            ui.push_back(call.rfind("AddLine(", 0) == 0 ? call.substr(9, call.size() - 11) : call);
        EXPECT_EQ(ui, row.ui);
        layer.m_inBattle = 0;
        layer.m_opponents.fill(OpponentRecord{});
        g_lastMouseCursor = CMouseCursor{};
        bed.ui.windowState.clear();
    }
    EXPECT_TRUE(orc.IsActive());
}

TEST_F(FieldProtocol, AChatLineGoesToTheWindowsWithItsNameTerminated)
{
    ChatUi ui;
    Dispatch(Cat({Wire(7).U16(30).Text("twelveletter", 12).U8(3).U16(5).Text("hello", 5),
                  Wire(7).U16(31).Text("amy", 12).U8(1).U16(0)}));
    ASSERT_EQ(ui.routed.size(), 2u);
    const std::string& first = ui.routed[0];
    EXPECT_EQ(std::string(first.data() + 2), "twelvelette") << "cut at its 12th byte";
    EXPECT_EQ(static_cast<uint8_t>(first[14]), 3);
    EXPECT_EQ(first.substr(17, 5), "hello");
    EXPECT_EQ(first[22], '\0');
    EXPECT_EQ(std::string(ui.routed[1].data() + 2), "amy");
}

TEST_F(FieldProtocol, AMemberLeavingMakesMeLeaderWhenNoOccupiedSlotComesBeforeIt)
{
    CObjLayer& layer = Layer();
    struct Row {
        const char* name;
        GroupRecord before;
        uint16_t leaving;
        GroupRecord after;  // 'B' carries it, changed or not
    };
    const Row rows[] = {
        {"the first slot's member", {30, 30, kMe, 40, 0, 0, 0}, 30, {kMe, 0, kMe, 40, 0, 0, 0}},
        {"one after me", {30, 30, kMe, 40, 0, 0, 0}, 40, {30, 30, kMe, 0, 0, 0, 0}},
        {"the first occupied, behind an empty slot", {30, 0, 0, 30, kMe, 0, 0}, 30, {kMe, 0, 0, 0, kMe, 0, 0}},
        {"me, first of my group", {30, kMe, 30, 0, 0, 0, 0}, kMe, {kMe, 0, 30, 0, 0, 0, 0}},
        {"the leader further down", {30, kMe, 40, 30, 0, 0, 0}, 30, {30, kMe, 40, 0, 0, 0, 0}},
        // Someone not in the group: every slot is counted.
        {"nobody of mine", {30, 30, kMe, 0, 0, 0, 0}, 99, {30, 30, kMe, 0, 0, 0, 0}},
        {"nobody of mine, one slot taken", {30, kMe, 0, 0, 0, 0, 0}, 99, {kMe, kMe, 0, 0, 0, 0, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        layer.m_groupHeader = row.before;
        me->SetGroupKey(row.before);
        Lines();
        Dispatch(Wire(80).U16(row.leaving));
        EXPECT_EQ(layer.m_groupHeader, row.after);
        EXPECT_EQ(me->GetGroupKey(), row.after);
        Wire b('B');
        for (uint16_t id : row.after)
            b.U16(id);
        EXPECT_EQ(bed.Received(), Bytes(b));
        EXPECT_EQ(Lines(), std::vector<std::string>{GetGameString(52)});
    }
}

TEST_F(FieldProtocol, AGroupFormsChangesAndEndsOverTheServersCommands)
{
    CObjLayer& layer = Layer();
    bed.Add(30, 22, 20);
    auto lines = [&] { return Lines(); };
    auto group = [&](std::initializer_list<uint16_t> ids) {
        GroupRecord g{};
        std::copy(ids.begin(), ids.end(), g.begin());
        return g;
    };
    auto str = [](int id) { return std::string(GetGameString(id)); };
    bed.ui.log.Clear();

    // Invited by bob, the invitation accepted, the group joined.
    Dispatch(Wire(60).U16(30).Text("bob", 12));
    EXPECT_EQ(layer.m_pendingInviter, 30);
    EXPECT_EQ(lines(), std::vector<std::string>{"bob님이 당신을 그룹에 초청 하였습니다."});
    layer.AcceptGroupInvite(30);
    EXPECT_EQ(bed.Received(), Bytes(Wire('=').U16(30)));
    Dispatch(Wire(61).U16(30).U16(30).U16(kMe).U16(0).U16(0).U16(0).U16(0));
    EXPECT_EQ(layer.m_groupHeader, group({30, 30, kMe}));
    EXPECT_EQ(me->GetGroupKey(), layer.m_groupHeader) << "my creature carries the group";
    EXPECT_EQ(bed.Received(), Bytes(Wire('R').U16(30).U16(0).U16(0).U16(0).U16(0)));
    EXPECT_EQ(lines(), std::vector<std::string>{str(56)});

    // Two members join: acknowledged, listed; the full group still answers.
    Dispatch(Cat({Wire(62).U16(40), Wire(63).U16(41)}));
    EXPECT_EQ(layer.m_groupHeader, group({30, 30, kMe, 40, 41}));
    EXPECT_EQ(bed.Received(), Cat({Wire('@').U16(40), Wire('R').U16(30).U16(40).U16(0).U16(0).U16(0),
                                   Wire('R').U16(30).U16(40).U16(41).U16(0).U16(0)}));
    layer.m_groupHeader = group({30, 30, kMe, 40, 41, 42, 43});
    Dispatch(Wire(62).U16(44));
    EXPECT_EQ(layer.m_groupHeader, group({30, 30, kMe, 40, 41, 42, 43}));
    EXPECT_EQ(bed.Received(), Cat({Wire('@').U16(44), Wire('R').U16(30).U16(40).U16(41).U16(42).U16(43)}));
    EXPECT_EQ(lines(), (std::vector<std::string>{str(51), str(51), str(51)}));

    // The members' values and names; ex-members' records are dropped first.
    Dispatch(Wire(81).U16(40).U16(100).U16(50).U16(1).U16(2).U16(3).U16(4).U16(5).Text("", 64));
    ASSERT_NE(layer.GroupMembers().GetRecord(40), nullptr);
    EXPECT_EQ(layer.GroupMembers().GetRecord(40)->U32(CharacterRecord::kHp), 100u);
    EXPECT_EQ(layer.GroupMembers().GetRecord(40)->U32(CharacterRecord::kCourage), 5u);
    Dispatch(Wire(82).U16(41).U16(3).Text("twelveletter", 12).Text("", 64));
    EXPECT_EQ(layer.GroupMembers().GetRecord(41)->Name(), "twelveletter");
    EXPECT_EQ(layer.GroupMembers().GetRecord(41)->bytes[12], 0);
    EXPECT_EQ(layer.GroupMembers().GetRecord(41)->U32(CharacterRecord::kClass), 3u);

    // 41 leaves: the leader stays bob while others remain. Someone not in
    // the group leaving clears nothing but is answered all the same.
    Dispatch(Wire(80).U16(41));
    EXPECT_EQ(layer.m_groupHeader, group({30, 30, kMe, 40, 0, 42, 43}));
    Dispatch(Wire(80).U16(99));
    EXPECT_EQ(layer.m_groupHeader, group({30, 30, kMe, 40, 0, 42, 43}));
    const Bytes left = Wire('B').U16(30).U16(30).U16(kMe).U16(40).U16(0).U16(42).U16(43);
    EXPECT_EQ(bed.Received(), Cat({left, left}));
    Dispatch(Wire(82).U16(0).Text("", 78));
    EXPECT_EQ(layer.GroupMembers().GetRecord(41), nullptr) << "no longer a member";
    EXPECT_NE(layer.GroupMembers().GetRecord(40), nullptr);

    // Only my leader's commands count.
    Dispatch(Cat({Wire(67).U16(40), Wire(68).U16(40).U16(kMe), Wire(69).U16(40).U16(kMe)}));
    EXPECT_EQ(layer.m_groupHeader, group({30, 30, kMe, 40, 0, 42, 43}));
    EXPECT_EQ(bed.Received(), Bytes{});
    Dispatch(Wire(68).U16(30).U16(42));
    Dispatch(Wire(68).U16(30).U16(99));
    Dispatch(Wire(69).U16(30).U16(40));
    EXPECT_EQ(layer.m_groupHeader, group({40, 30, kMe, 40, 0, 0, 43}));
    const Bytes expelled = Wire('B').U16(30).U16(30).U16(kMe).U16(40).U16(0).U16(0).U16(43);
    EXPECT_EQ(bed.Received(),
              Cat({expelled, expelled, Wire('B').U16(40).U16(30).U16(kMe).U16(40).U16(0).U16(0).U16(43)}));
    EXPECT_EQ(lines(), (std::vector<std::string>{str(52), str(52), str(54), str(54), str(59)}));

    // The first member leaves: nobody is counted before it, so I lead.
    Dispatch(Cat({Wire(80).U16(30), Wire(80).U16(43)}));
    EXPECT_EQ(layer.m_groupHeader, group({kMe, 0, kMe, 40}));
    Dispatch(Wire(80).U16(40));
    EXPECT_EQ(layer.m_groupHeader, group({kMe, 0, kMe}));
    bed.Received();

    // Expelled by my leader, then a group of mine disbanded and a disband
    // by someone who is not my leader.
    layer.m_groupHeader = group({30, 30, kMe});
    Dispatch(Wire(68).U16(30).U16(kMe));
    EXPECT_EQ(layer.m_groupHeader, AloneGroup(kMe));
    layer.m_groupHeader = group({30, 30, kMe});
    Dispatch(Wire(67).U16(30));
    EXPECT_EQ(layer.m_groupHeader, AloneGroup(kMe));
    EXPECT_EQ(me->GetGroupKey(), AloneGroup(kMe));
    EXPECT_EQ(bed.Received(), Cat({Bytes(Wire('B').U16(kMe).U16(kMe).Text("", 10)),
                                   Bytes(Wire('B').U16(kMe).U16(kMe).Text("", 10))}));
    lines();
    Dispatch(Wire(67).U16(30));
    EXPECT_EQ(lines(), std::vector<std::string>{});

    // A duel offered; asking for one from jail is refused.
    Dispatch(Wire(83).U16(30).Text("bob", 12));
    EXPECT_EQ(layer.m_pendingChallenger, 30);
    EXPECT_EQ(lines(), std::vector<std::string>{"bob님이 대전을 신청하였습니다."});
    g_inJail = 1;
    layer.RequestDuel(30, "bob");
    EXPECT_EQ(bed.Received(), Bytes{});
    EXPECT_EQ(lines(), std::vector<std::string>{str(176)});
}

TEST_F(FieldProtocol, TheAreaUpdateClearsOnlyTheCellsComingIntoView)
{
    CObjLayer& layer = Layer();
    auto fill = [&] {
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                layer.SetGroundItem(x, y, kApple);
    };
    auto cleared = [&] {
        std::vector<std::pair<int, int>> cells;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                if (layer.GetGroundItem(x, y) == 0)
                    cells.emplace_back(x, y);
        return cells;
    };
    auto window = [](int x0, int x1, int y0, int y1) {
        std::vector<std::pair<int, int>> cells;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                cells.emplace_back(x, y);
        return cells;
    };
    const struct {
        const char* name;
        int cx, cy;
        std::vector<std::pair<int, int>> cleared;
    } rows[] = {
        {"the first window, clipped at the map's edge", 5, 20, window(0, 18, 7, 33)},
        {"the same centre again", 5, 20, {}},
        {"one cell right: one new column", 6, 20, window(19, 19, 7, 33)},
        {"one cell up: one new row", 6, 19, window(0, 19, 6, 6)},
        {"a jump: the whole new window", 40, 50, window(27, 53, 37, 63)},
        {"a centre off the map", 40, 64, {}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        fill();
        // Two records come along: one on the map, one off it.
        Dispatch(Wire(10).U16(r.cx).U16(r.cy).U16(2).U16(50).U16(r.cx).U16(10).U16(0).U8(0).U8(0)
                     .U16(51).U16(r.cx).U16(64).U16(0).U8(0).U8(0));
        EXPECT_EQ(src.Available(), 0u);
        EXPECT_EQ(cleared(), r.cleared);
        EXPECT_EQ(layer.FindCharacterById(51), nullptr);
    }
    ASSERT_NE(layer.FindCharacterById(50), nullptr);
    EXPECT_EQ(layer.FindCharacterById(50)->GetTileX(), 5) << "the first record of an id stays";
    EXPECT_EQ(layer.m_areaX, 40);
    EXPECT_EQ(layer.m_areaY, 50);

    // In battle the window is left alone and the records are still read.
    fill();
    layer.m_inBattle = 1;
    Dispatch(Wire(10).U16(10).U16(10).U16(1).U16(52).U16(10).U16(10).U16(0).U8(0).U8(0));
    layer.m_inBattle = 0;
    EXPECT_EQ(src.Available(), 0u);
    EXPECT_TRUE(cleared().empty());
    EXPECT_EQ(layer.FindCharacterById(52), nullptr);
}

TEST_F(FieldProtocol, PresenceCommandsKeepToTheMapAndToKnownIds)
{
    CObjLayer& layer = Layer();
    auto presence = [](int cmd, int id, int x, int y) {
        return Bytes(Wire(cmd).U16(id).U8(0).U16(x).U16(y).U16(0).U8(3).U8(9));
    };
    auto move = [](int id, int x, int y) { return Bytes(Wire(12).U16(id).U16(x).U16(y).U16(0).U8(5).U8(2)); };
    const struct {
        const char* name;
        Bytes packet;
        int id, x, y;  // the character afterwards; x -1: absent
    } rows[] = {
        {"appears", presence(4, 30, 25, 25), 30, 25, 25},
        {"appears again elsewhere", presence(4, 30, 40, 40), 30, 25, 25},
        {"appears off the map", presence(4, 31, 64, 10), 31, -1, 0},
        {"appears beyond the grids", presence(4, 31, 10, 0xFFFF), 31, -1, 0},
        {"a stranger moves in", move(32, 30, 30), 32, 30, 30},
        {"a move off the map", move(30, 10, 600), 30, 25, 25},
        {"I am not moved by the server", move(kMe, 22, 22), kMe, 20, 20},
        {"I am not removed", Wire(6).U16(kMe), kMe, 20, 20},
        {"a leave of nobody", Wire(6).U16(99), 30, 25, 25},
        {"leaves", Wire(6).U16(32), 32, -1, 0},
        {"my entry again", presence(3, kMe, 40, 40), kMe, 20, 20},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        Dispatch(r.packet);
        EXPECT_EQ(src.Available(), 0u);
        CCharacter* c = layer.FindCharacterById(r.id);
        if (r.x < 0) {
            EXPECT_EQ(c, nullptr);
            continue;
        }
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->GetTileX(), r.x);
        EXPECT_EQ(c->GetTileY(), r.y);
        EXPECT_EQ(layer.GetObjectCell(r.x, r.y), c->GetHandle());
    }
    EXPECT_EQ(layer.GetMyCharacter(), me);
    CCharacter* bob = layer.FindCharacterById(30);
    EXPECT_EQ(bob->GetCharRecord().U32(CharacterRecord::kSpeedClass), 3u);

    // A move the server sends is walked, with its speed class and look.
    Dispatch(move(30, 27, 25));
    EXPECT_EQ(bob->GetCharRecord().U32(CharacterRecord::kSpeedClass), 5u);
    EXPECT_EQ(bob->GetCharRecord().U32(CharacterRecord::kLook), 2u);
    EXPECT_TRUE(bed.FramesUntil([&] { return bob->GetTileX() == 27; }));
}
