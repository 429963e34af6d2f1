// The whole client in a battle against the scripted server: logged in on
// stage 0, it joins a battle the server offers, fights and leaves it, every
// step driven by packets, keys and clicks.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "fixtures/BattleWire.h"
#include "platform/Crt.h"
#include "rules/AbilitySet.h"
#include "rules/AbilityTable.h"
#include "rules/CalcData.h"
#include "fixtures/CreatureSet.h"
#include "fixtures/IntroArchive.h"
#include "fixtures/MapFileBuilder.h"
#include "fixtures/RleEncoder.h"
#include "fixtures/SpriteWriter.h"
#include "fixtures/WidgetSprites.h"
#include "fixtures/ObrBuilder.h"
#include "support/FakeServer.h"
#include "support/FieldLogIn.h"
#include "support/FrameDriver.h"
#include "support/Harness.h"
#include "windows/DaradirUzedo.h"
#include "windows/PlayerInfo.h"
#include "world/BGLayer.h"
#include "world/Character.h"
#include "world/CharacterRecord.h"
#include "world/MapGrid.h"
#include "world/ObjLayer.h"

namespace {

constexpr uint16_t kId = 9;
constexpr uint16_t kEnemy = 1030;
constexpr int kBattle = 501;
constexpr int kX = 20, kY = 20;
constexpr int kArena = 20001;
constexpr int kPoseidonKind = 1401;
constexpr int kMonsterStat = 10;
// The test pictures use colours 1..250.
constexpr uint8_t kPoseidonColour = 252;
constexpr uint8_t kCtrl = 29, kOne = 2, kA = 30;

// Where a byte string first appears in another; npos when it does not.
size_t Find(const Bytes& all, const Bytes& part)
{
    const auto it = std::search(all.begin(), all.end(), part.begin(), part.end());
    return it == all.end() ? std::string::npos : static_cast<size_t>(it - all.begin());
}

class BattleClient : public testing::Test {
protected:
    static CArchiveBuilder Archive()
    {
        CArchiveBuilder b = CIntroArchive::Game();
        CObrBuilder eric("CHR");
        eric.Character("0", CObrBuilder::CharRecord("0", 0, 0, 12)).RawSet(CCreatureSet::Section("0"));
        b.Replace("eric.obr", eric.Build());
        // The monster with Poseidon for a special.
        CObrBuilder monster("CHR");
        monster.Character(std::to_string(kPoseidonKind), CObrBuilder::CharRecord(std::to_string(kPoseidonKind), 3,
                                                                                    kPoseidonKind, kMonsterStat))
            .RawSet(CCreatureSet::Section(std::to_string(kPoseidonKind)));
        b.Replace("anpisvena.obr", monster.Build());
        // Items up to 89: the potion 74 and the arena charm 88 among them.
        CObrBuilder items("ITM");
        for (int i = 0; i < 90; ++i)
            items.Item("item" + std::to_string(i), "p");
        b.Replace("item.obr", items.AnimSet("p").Prefix(23).Build());
        CMapFileBuilder map(64, 64);
        map.Fill(kFlagGround | kFlagDrawn, 0, 0).MapName("stage 1");
        b.Replace("1stage.map", map.Build());
        // Poseidon: 14 steps of one square in a colour nothing else has.
        PixelMatrix square(24, 24, kPoseidonColour);
        std::vector<SprEntryDef> steps(14, SprEntryDef{"wave", {{0, 0, 0}}});
        b.Replace("poseidon.spr", CSpriteWriter::SprFile("poseidon", 1, {CSpriteWriter::Frame(CRleEncoder::Encode(square))},
                                                         {steps}));
        // The battle bar's buttons and the action page the player chooses
        // abilities on.
        for (const char* name : {"ATBtn", "DFBtn", "SABtn", "RABtn", "ITBtn", "AblTab"})
            b.Replace(std::string(name) + ".slr", CWidgetSprites::File(4, 40, 30, 11));
        b.Replace("ActWin.slr", CWidgetSprites::Picture(272, 600, 6));
        return b;
    }
    // Log-in, character choice and field entry at (kX, kY) of stage 0.
    void LogIn(const Bytes& record)
    {
        ASSERT_TRUE(LogInToField(h, kId, kX, kY, record)) << server.Failure();
        layer = g_pView->m_pObjLayer;
    }
    // My record: HP, every stat at stat and the class, a level above 1.
    static Bytes Record(int cls = 0, int stat = 20)
    {
        Bytes record(436, 0);
        record[CharacterRecord::kHp] = 90;
        record[CharacterRecord::kClass] = static_cast<uint8_t>(cls);
        record[CharacterRecord::kClassGroup] = static_cast<uint8_t>(cls / 2);
        for (size_t off : {CharacterRecord::kWisdom, CharacterRecord::kStrength, CharacterRecord::kConstitution,
                           CharacterRecord::kAgility, CharacterRecord::kCourage})
            record[off] = static_cast<uint8_t>(stat);
        return record;
    }
    // The server takes me into a battle with one enemy at (x, y).
    void JoinBattle(int enemyType, int battle = kBattle, int x = kX + 3, int y = kY)
    {
        // [27][u16][u16 battle][u16 cx][u16 cy][u16 opponent][u8 k], k participants.
        server.Send(CBattleWire()
                        .U8(27).U16(0).U16(battle).U16(kX).U16(kY).U16(kEnemy).U8(1)
                        .Participant(kEnemy, x, y, enemyType, kEnemy, 12));
        ASSERT_TRUE(Frames([&] { return layer->m_inBattle != 0 && layer->GetMyCharacter(); }, 100))
            << server.Failure();
        ASSERT_NE(layer->FindCharacterById(kEnemy), nullptr);
    }
    bool Frames(const std::function<bool()>& pred, int n) { return drive.Frames(pred, n); }
    void Frame(int n = 1) { Frames([] { return false; }, n); }
    CCharacter* Me() { return layer->GetMyCharacter(); }
    // A left click at a screen point, after the cursor came there.
    void ClickAt(int x, int y, int button = 1)
    {
        h.MouseMove(x, y);
        Frame(1);
        h.RunForMs(300);
        h.Click(button, x, y);
        Frame(2);
    }
    // Where the mouse is on a creature: just above its foot point.
    void ScreenOf(const CCreature& c, int& sx, int& sy)
    {
        g_pView->m_pBGLayer->WorldToScreen(c.GetPixelX(), c.GetPixelY(), sx, sy);
        sy -= 3;
    }
    // A key held for two frames with Ctrl.
    void CtrlKey(uint8_t key)
    {
        h.KeyDown(kCtrl);
        h.KeyDown(key);
        Frame(2);
        h.KeyUp(key);
        h.KeyUp(kCtrl);
        Frame(1);
    }
    // The battle packet header of a sub-command the client sends.
    static Bytes Header(int battle, int sub, int length)
    {
        Bytes b = {30, 0};
        PutU16(b, static_cast<uint16_t>(battle));
        b.push_back(static_cast<uint8_t>(sub));
        PutU16(b, static_cast<uint16_t>(length));
        return b;
    }
    // Pixels of a colour in the last presented frame.
    int Shown(uint8_t colour)
    {
        const std::vector<uint8_t>& px = h.Platform().video.lastPresent.pixels;
        return static_cast<int>(std::count(px.begin(), px.end(), colour));
    }
    // Everything the client sent since the last call (a frame passes, so
    // what it queued has left).
    Bytes Sent()
    {
        Frame(1);
        for (int i = 0; i < 50; ++i)
            server.Pump();
        const Bytes& all = server.AllReceived();
        Bytes out(all.begin() + static_cast<std::ptrdiff_t>(taken), all.end());
        taken = all.size();
        return out;
    }

    CHarness h{5000};
    CTestArchive archive{Archive(), false};
    CFakeServer& server = h.Server();
    CFrameDriver drive{h};
    CObjLayer* layer = nullptr;
    size_t taken = 0;
};

TEST_F(BattleClient, LeavingAWonArenaRunsItsFramesWithoutMeAndGivesBackMyWalkSpeed)
{
    // I wear the arena charm (88) in equipment slot 5.
    Bytes record = Record();
    record[CharacterRecord::kEquipment + 2 * 5] = 88;
    LogIn(record);
    ASSERT_EQ(CPlayerInfo::GetEquip(Me()->GetCharRecord(), 5), 88);
    const int base = GetClassBaseValue(Me()->GetCharRecord());
    Sent();
    // The arena sets my walk speed to my class's, in my character's record.
    JoinBattle(0, kArena);
    EXPECT_NE(Find(Sent(), Bytes{53, 24, static_cast<uint8_t>(base), 0, 0, 0}), std::string::npos);
    EXPECT_EQ(Me()->GetSpeedClass(), base);
    EXPECT_EQ(layer->MyRecord().I32(CharacterRecord::kSpeedClass), base);

    CCharacter* enemy = layer->FindCharacterById(kEnemy);
    // Sub-command 6: the enemy died by my hand; the battle is won.
    server.Send(CBattleWire::Packet(6,
                                    CBattleWire().U16(kEnemy).U16(kId).U16(0).U16(0).U16(0).U8(0)
                                        .U16(12).U16(0).U16(0).U32(0).U32(0),
                                    kArena));
    ASSERT_TRUE(Frames([&] { return layer->m_battleOver == 1; }, 60));
    EXPECT_FALSE(enemy->IsAlive());
    const int mx = Me()->GetTileX(), my = Me()->GetTileY();
    Sent();

    // The right click leaves: my character goes with the battle's, and the
    // frames go on without it while the server keeps silent.
    h.Click(2, 400, 200);
    ASSERT_TRUE(Frames([&] { return layer->m_stageChanging != 0; }, 5));
    Frame(120);
    EXPECT_EQ(layer->m_inBattle, 0u);
    EXPECT_EQ(layer->GetMyCharacter(), nullptr);
    EXPECT_EQ(layer->StageChange().GetState(), CStageChange::kLoad);
    Bytes enter = {3, 1};
    PutU16(enter, static_cast<uint16_t>(mx));
    PutU16(enter, static_cast<uint16_t>(my));
    // Leaving with the charm: my walk speed is my class's and one, before
    // the battle is left.
    const Bytes left = Sent();
    const Bytes speed = {53, 24, static_cast<uint8_t>(base + 1), 0, 0, 0}, leave = {34, kId, 0};
    ASSERT_NE(Find(left, speed), std::string::npos);
    ASSERT_NE(Find(left, leave), std::string::npos);
    ASSERT_NE(Find(left, enter), std::string::npos) << "asked to enter where I stood";
    EXPECT_LT(Find(left, speed), Find(left, leave));
    EXPECT_LT(Find(left, leave), Find(left, enter));
    EXPECT_EQ(Find(Bytes(left.begin() + static_cast<std::ptrdiff_t>(Find(left, enter) + 1), left.end()), enter),
              std::string::npos)
        << "no refusal, asked once";

    // A reply at a cell off the map is a refusal: I ask again.
    server.Send(EnteredReply(kId, 100, kY));
    ASSERT_TRUE(Frames([&] { return Find(Sent(), enter) != std::string::npos; }, 10));
    EXPECT_EQ(layer->GetMyCharacter(), nullptr);

    // The reply comes: I stand on the field again, walking at my new speed,
    // and its frame runs.
    server.Send(EnteredReply(kId, kX, kY));
    ASSERT_TRUE(Frames([&] { return layer->GetMyCharacter() != nullptr; }, 30));
    EXPECT_EQ(layer->StageChange().GetState(), CStageChange::kIdle);
    EXPECT_EQ(layer->m_stageChanging, 0u);
    EXPECT_EQ(Me()->GetTileX(), kX) << "where the server puts me";
    EXPECT_EQ(Me()->GetSpeedClass(), base + 1);
    Frame(3);
    EXPECT_EQ(layer->Process(), 1);
    for (const plat::RecordedBox& box : h.Boxes())
        EXPECT_EQ(box.text, "Data file not found!") << "only the windows' missing pictures";
}

TEST_F(BattleClient, ADevilHealerGrowsSkillAQuickRestoresAndMeetsPoseidon)
{
    // A class-4 caster of level 52 with little HP and the potion 74.
    Bytes record = Record(4, 60);
    record[CharacterRecord::kHp] = 10;
    record[CharacterRecord::kMp] = 100;
    record[CharacterRecord::kItems] = 74;
    LogIn(record);
    ASSERT_GE(Me()->GetCharRecord().I32(CharacterRecord::kLevel), 40);
    JoinBattle(kPoseidonKind);
    CCharacter* monster = layer->FindCharacterById(kEnemy);
    CWidget* attackButton = g_layerHolder.GetLayer()->GetRootContainer()->FindChild(42)->FindChild(43);
    ASSERT_TRUE(Frames([&] { return attackButton->GetState() == CWidget::kOpen; }, 120));
    Sent();

    // Ctrl+1: the potion's 40 HP, told to the battle.
    CtrlKey(kOne);
    const CharacterRecord& mine = Me()->GetCharRecord();
    ASSERT_EQ(mine.I32(CharacterRecord::kHp), 50);
    Bytes status = Header(kBattle, 7, 10);
    for (int v : {static_cast<int>(kId), 50, 100, 60, 60})
        PutU16(status, static_cast<uint16_t>(v));
    EXPECT_NE(Find(Sent(), status), std::string::npos);
    EXPECT_EQ(CPlayerInfo::GetItem(mine, 0), 0) << "the potion is used";

    // DevilHealing from the action page, armed with the attack button, on
    // the monster.
    CtrlKey(kA);
    ASSERT_TRUE(Frames([] { return g_layerHolder.GetLayer()->IsWindowOpen(8); }, 120));
    Frame(60);
    // FireStorm, EarthQuake, DevilHealing: the third row.
    ClickAt(528 + 28 + 10, 75 + 5 + 2 * 14 + 6);
    ASSERT_EQ(Me()->GetAbilitySet().GetCurrentId(1), kAbilityDevilHealing);
    ClickAt(60, 60);
    ASSERT_EQ(Me()->GetAbilitySet().GetSelectedCategory(), 1);
    int sx = 0, sy = 0;
    ScreenOf(*monster, sx, sy);
    ClickAt(sx, sy);
    ASSERT_TRUE(Frames([&] { return Me()->GetAction() == CCreature::orderAbility; }, 10));
    ASSERT_TRUE(Frames([&] { return Me()->GetAction() != CCreature::orderAbility; }, 120));
    EXPECT_EQ(layer->m_hitStatFlag, 1u) << "set by the damage steps";
    const Bytes cast = Sent();
    EXPECT_NE(Find(cast, Header(kBattle, 43, 10)), std::string::npos);
    // The server's report of my hit: skill A grows by one and is told.
    const int skillA = mine.U16(CharacterRecord::kInputA);
    server.Send(CBattleWire::Packet(
        5, CBattleWire().U16(kEnemy).U16(kId).U16(Me()->GetTileX()).U16(Me()->GetTileY()).U16(-7 & 0xFFFF).U16(40),
        kBattle));
    ASSERT_TRUE(Frames([&] { return layer->m_hitStatFlag == 0; }, 10));
    EXPECT_EQ(mine.U16(CharacterRecord::kInputA), skillA + 1);
    EXPECT_EQ(layer->MyRecord().U16(CharacterRecord::kInputA), skillA + 1);
    EXPECT_NE(Find(Sent(), Bytes{53, 20, static_cast<uint8_t>(skillA + 1), 0}), std::string::npos);

    // The monster attacks me until its special comes: Poseidon over me, and
    // the others told its sums (154) and the cell of its quake (20).
    const int myX = Me()->GetTileX(), myY = Me()->GetTileY();
    Bytes relay = Header(kBattle, 154, 22);
    PutU16(relay, kEnemy);
    for (uint32_t v : {static_cast<uint32_t>(myX), static_cast<uint32_t>(myY), uint32_t{kMonsterStat},
                       uint32_t{kMonsterStat}, uint32_t{kMonsterStat}})
        PutU32(relay, v);
    Bytes quake = Header(kBattle, 20, 38);
    PutU16(quake, kEnemy);
    for (uint32_t v : {static_cast<uint32_t>(myX), static_cast<uint32_t>(myY), uint32_t{kMonsterStat},
                       uint32_t{kMonsterStat}, uint32_t{kMonsterStat}})
        PutU32(quake, v);
    quake.insert(quake.end(), 16, 0);
    EXPECT_EQ(Shown(kPoseidonColour), 0);
    plat::SRand(7);
    Bytes fight;
    bool special = false;
    for (int attack = 0; attack < 40 && !special; ++attack) {
        CBattleWire attackMe;
        attackMe.U16(kEnemy).U16(kId).U16(kMonsterStat).U16(kMonsterStat).U16(kMonsterStat);
        for (int i = 0; i < 8; ++i)
            attackMe.U16(0);
        server.Send(CBattleWire::Packet(4, attackMe, kBattle));
        Frames([&] { return monster->GetAction() == CCreature::orderAttack; }, 60);
        Frames([&] { return monster->GetAction() != CCreature::orderAttack; }, 60);
        const Bytes now = Sent();
        fight.insert(fight.end(), now.begin(), now.end());
        special = Find(now, relay) != std::string::npos;
    }
    ASSERT_TRUE(special) << "within 40 attacks";
    const size_t at = Find(fight, relay);
    EXPECT_EQ(Bytes(fight.begin() + static_cast<std::ptrdiff_t>(at + relay.size()),
                    fight.begin() + static_cast<std::ptrdiff_t>(std::min(fight.size(), at + relay.size() + quake.size()))),
              quake)
        << "the quake's cell right after the relay";
    EXPECT_GT(Shown(kPoseidonColour), 0) << "Poseidon stands over me";
    // The hits that landed on me were told as hits, never as a thaw: I was
    // neither frozen nor hidden.
    EXPECT_NE(Find(fight, Header(kBattle, 5, 12)), std::string::npos);
    EXPECT_EQ(Find(fight, Header(kBattle, 200, 3)), std::string::npos);
    EXPECT_EQ(Find(fight, Bytes{36, kBattle & 0xFF, kBattle >> 8, kId, 0}), std::string::npos);

    // Escape, the first defence ability on the page, armed with the
    // defence button on my turn and aimed beside me: when it ends my
    // character leaves with the battle in the middle of the objects'
    // updates, and the frames go on without it until the server lets me
    // back onto the field.
    ASSERT_TRUE(Me()->IsAlive());
    ClickAt(528 + 28 + 10, 205 + 5 + 6);
    ASSERT_EQ(Me()->GetAbilitySet().GetCurrentId(2), kAbilityEscape);
    ASSERT_TRUE(Frames([&] { return Me()->GetMyTurn() != 0 && Me()->GetOrder() == CCreature::orderStand; }, 600));
    ClickAt(60, 110);
    ASSERT_EQ(Me()->GetAbilitySet().GetSelectedCategory(), 2);
    const int escapeX = Me()->GetTileX(), escapeY = Me()->GetTileY();
    ScreenOf(*Me(), sx, sy);
    Sent();
    ClickAt(sx - 40, sy + 12);
    ASSERT_EQ(Me()->GetAbilityId(), kAbilityEscape);
    ASSERT_TRUE(Frames([&] { return layer->GetMyCharacter() == nullptr; }, 150));
    EXPECT_EQ(layer->m_inBattle, 0u);
    Frame(90);
    Bytes enter = {3, 1};
    PutU16(enter, static_cast<uint16_t>(escapeX));
    PutU16(enter, static_cast<uint16_t>(escapeY));
    const Bytes escaped = Sent();
    EXPECT_LT(Find(escaped, Header(kBattle, 10, 2)), Find(escaped, Bytes{34, kId, 0}));
    EXPECT_LT(Find(escaped, Bytes{34, kId, 0}), Find(escaped, enter));
    ASSERT_NE(Find(escaped, enter), std::string::npos) << "asked to enter where I fled";
    server.Send(EnteredReply(kId, escapeX, escapeY));
    ASSERT_TRUE(Frames([&] { return layer->GetMyCharacter() != nullptr; }, 30));
    EXPECT_EQ(layer->Process(), 1);
}

}  // namespace
