#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "app/StringTable.h"
#include "audio/SoundManager.h"
#include "core/EffectSpriteSet.h"
#include "core/ResFile.h"
#include "core/TileSet.h"
#include "fixtures/RleEncoder.h"
#include "fixtures/SpriteWriter.h"
#include "fixtures/WaveWriter.h"
#include "rules/CalcData.h"
#include "rules/GameData.h"
#include "world/FieldFrame.h"
#include "world/BGLayer.h"
#include "support/CreatureBed.h"
#include "world/ObjLayer.h"
#include "world/StageLoader.h"

namespace {

std::string Line(int id) { return CCallLog::Call("AddLine", GetGameString(id)); }

int Count(const FakeUi& ui, const std::string& call)
{
    int n = 0;
    for (const std::string& c : ui.log.Calls())
        n += c == call ? 1 : 0;
    return n;
}

// The centre of a cell in world pixels.
std::pair<int, int> Centre(int x, int y)
{
    int px = 0, py = 0;
    CBGLayer::TileToPixel(x, y, px, py);
    return {px + 32, py + 16};
}

void SetSpeed(CCreature& c, int s) { c.GetCharRecord().SetU32(CharacterRecord::kSpeedClass, static_cast<uint32_t>(s)); }

}  // namespace

TEST(CreatureWalk, ACellTakesSixteenLessTheSpeedClassTicksTwiceThatSideways)
{
    const struct {
        int speed, dx, dy, ticks;
    } rows[] = {{12, 1, 0, 4}, {12, 1, -1, 8}, {12, -1, 1, 8}, {0, 0, 1, 16}, {0, 1, -1, 32}, {7, -1, -1, 9}};
    for (const auto& r : rows) {
        CCreatureBed bed;
        CCharacter& c = bed.Add(1000, 20, 20);
        SetSpeed(c, r.speed);
        c.MoveTo(20 + 3 * r.dx, 20 + 3 * r.dy, 0);
        const auto start = Centre(20, 20);
        bed.Frame();
        EXPECT_EQ(c.GetTileX(), 21 + (r.dx - 1)) << "the cell is taken at the first tick";
        EXPECT_NE(std::make_pair(c.GetPixelX(), c.GetPixelY()), start) << "and the foot point moves";
        bed.Frame(r.ticks - 1);
        EXPECT_EQ(std::make_pair(c.GetPixelX(), c.GetPixelY()), Centre(20 + r.dx, 20 + r.dy))
            << r.speed << " " << r.dx << "," << r.dy;
        EXPECT_EQ(c.GetActionDone(), 1);
        EXPECT_EQ(bed.Layer().GetObjectCell(20, 20), kCellEmpty) << "the cell left is free at the step's end";
        bed.Frame(2 * r.ticks);
        EXPECT_EQ(c.GetOrder(), CCreature::orderMove) << "the last cell ends, the order runs";
        bed.Frame();
        EXPECT_EQ(c.GetOrder(), CCreature::orderStand) << "at the goal the stepper stops the order";
        EXPECT_EQ(c.GetTileX(), 20 + 3 * r.dx);
        EXPECT_EQ(c.GetTileY(), 20 + 3 * r.dy);
    }
}

TEST(CreatureOrders, AnAttackOfflineHitsForOneAndKillsAtZero)
{
    CCreatureBed bed;
    CCharacter& me = bed.Me(10, 10);
    CCharacter& orc = bed.Add(1000, 11, 10, 1305);
    orc.GetCharRecord().SetU32(CharacterRecord::kHp, 2);
    me.OrderAttack(&orc, 0);
    bed.Frame();
    EXPECT_EQ(me.GetAction(), CCreature::orderAttack) << "in reach: the swing starts at once";
    EXPECT_EQ(me.GetOrderAccepts(), 0);
    EXPECT_EQ(me.GetDirection(), 4);
    bed.Frame(2);  // the second step carries the hit mark
    EXPECT_EQ(orc.GetOrder(), CCreature::orderHit);
    EXPECT_EQ(orc.GetHitAmount(), -1) << "outside battle every hit is one";
    bed.Frame();
    EXPECT_EQ(orc.GetCharRecord().I32(CharacterRecord::kHp), 1);
    EXPECT_EQ(bed.fx.log.Count("StartDamage"), 1);
    EXPECT_EQ(orc.GetPixelY(), Centre(11, 10).second - 12) << "raised while hit";
    bed.Frame(4);
    EXPECT_EQ(me.GetOrder(), CCreature::orderStand) << "the swing of 4 steps of 2 ticks is over";
    bed.Frame(10);
    EXPECT_EQ(orc.GetOrder(), CCreature::orderStand) << "15 ticks of being hit";
    EXPECT_EQ(orc.GetPixelY(), Centre(11, 10).second);

    me.OrderAttack(&orc, 0);
    bed.Frame(4);
    EXPECT_EQ(orc.GetCharRecord().I32(CharacterRecord::kHp), 0);
    EXPECT_EQ(orc.IsAlive(), 0);
    EXPECT_EQ(orc.GetOrder(), CCreature::orderDie);
    me.OrderAttack(&orc, 1);
    bed.Frame();
    EXPECT_EQ(me.GetOrder(), CCreature::orderStand) << "a dead target cannot be attacked";
    bed.Frame(38);
    EXPECT_EQ(orc.IsActive(), 1);
    bed.Frame();
    EXPECT_EQ(orc.IsActive(), 0) << "offline the dead leave after 40 ticks";
    EXPECT_EQ(bed.Layer().GetObjectCell(11, 10), kCellEmpty);
}

TEST(CreatureOrders, AnAttackWalksIntoReachAndGivesUpWhenTheTargetMoved)
{
    CCreatureBed bed;
    CCharacter& a = bed.Add(1000, 10, 10);
    CCharacter& b = bed.Add(1001, 14, 10);
    SetSpeed(a, 12);
    a.OrderAttack(&b, 0);
    bed.Frame(12);
    EXPECT_EQ(a.GetTileX(), 13);
    bed.Frame();
    EXPECT_EQ(a.GetAction(), CCreature::orderAttack);
    a.PlaceAt(10, 10);
    a.OrderAttack(&b, 0);
    bed.Frame();
    b.PlaceAt(20, 10);
    bed.Frame(4);
    EXPECT_EQ(a.GetOrder(), CCreature::orderStand) << "the target left the goal cell";
    EXPECT_EQ(a.GetTileX(), 11);
}

TEST(CreatureOrders, HitsAddUpWhileFreshAndOutsideBattleCountOne)
{
    CCreatureBed bed;
    CCharacter& a = bed.Add(1000, 10, 10);
    CCharacter& b = bed.Add(1001, 12, 10);
    bed.Layer().m_inBattle = 1;
    b.OrderHit(&a, 10, 10, -5);
    b.OrderHit(&a, 10, 10, -7);
    EXPECT_EQ(b.GetHitAmount(), -12);
    EXPECT_EQ(b.GetOrderAccepts(), 0);
    b.MoveTo(20, 20, 0);
    EXPECT_EQ(b.GetOrder(), CCreature::orderHit) << "only forced orders replace a hit";
    bed.Frame();
    b.OrderHit(&a, 10, 10, -3);
    EXPECT_EQ(b.GetHitAmount(), -3) << "once entered a new hit starts anew";
    bed.Layer().m_inBattle = 0;
    b.OrderHit(&a, 10, 10, -40);
    EXPECT_EQ(b.GetHitAmount(), -4);
    bed.Frame();
    EXPECT_EQ(b.GetCharRecord().I32(CharacterRecord::kHp), a.GetCharRecord().I32(CharacterRecord::kHp) - 16);

    // Pending hits add up too, and turn into one hit order in the frame.
    b.SetPendingHit(&a, 10, 10, -2, 1);
    b.SetPendingHit(&a, 10, 11, -3, 0);
    b.SetPendingHit(&a, 10, 12, -1, 1);
    EXPECT_EQ(b.GetPendingAmount(), -6);
    bed.Frame();
    EXPECT_EQ(b.GetPendingAmount(), 0);
    EXPECT_EQ(b.GetOrder(), CCreature::orderHit);
}

TEST(CreatureOrders, AcceptanceOfOrders)
{
    CCreatureBed bed;
    CCharacter& me = bed.Me(10, 10);
    CCharacter& other = bed.Add(1000, 20, 20);
    me.SetFrozen(true);
    me.MoveTo(15, 10, 1);
    EXPECT_EQ(me.GetOrder(), CCreature::orderStand) << "my frozen character does not move";
    me.OrderAttack(&other, 1);
    EXPECT_EQ(me.GetOrder(), CCreature::orderStand);
    me.OrderPickUp(11, 10, 1);
    EXPECT_EQ(me.GetOrder(), CCreature::orderPickUp) << "no frozen test for picking up";
    other.SetFrozen(true);
    other.MoveTo(25, 20, 0);
    EXPECT_EQ(other.GetOrder(), CCreature::orderMove) << "another frozen creature still walks";
    me.SetFrozen(false);

    // A forced attack snaps a walker onto its cell first.
    SetSpeed(other, 0);
    bed.Frame(3);
    EXPECT_EQ(other.GetAction(), CCreature::orderMove);
    EXPECT_EQ(other.GetTileX(), 21);
    other.OrderAttack(&me, 0);
    EXPECT_EQ(other.GetOrder(), CCreature::orderAttack) << "a walk accepts orders";
    other.OrderAttack(&me, 1);
    EXPECT_EQ(std::make_pair(other.GetPixelX(), other.GetPixelY()), Centre(21, 20));
    EXPECT_EQ(other.GetActionDone(), 1);
    EXPECT_EQ(bed.Layer().GetObjectCell(20, 20), kCellEmpty);

    g_inJail = 1;
    me.OrderChallenge(&other, 1);
    EXPECT_EQ(me.GetOrder(), CCreature::orderPickUp);
    EXPECT_EQ(bed.ui.log.Calls().back(), Line(176));
    other.OrderChallenge(&me, 0);
    EXPECT_EQ(other.GetOrder(), CCreature::orderChallenge) << "the jail keeps only me from battles";

    other.OrderDie(&me);
    EXPECT_EQ(other.IsAlive(), 0);
    other.OrderHit(&me, 1, 1, -1);
    other.MoveTo(1, 1, 1);
    EXPECT_EQ(other.GetOrder(), CCreature::orderDie) << "the dead take no orders";
    other.Stop();
    EXPECT_EQ(other.GetOrder(), CCreature::orderStand) << "but Stop";
}

TEST(CreatureUpdate, MyHpAndMpComeBackByTheFrameClock)
{
    CCreatureBed bed(512);
    CCharacter& me = bed.Me(100, 100);
    CharacterRecord& rec = me.GetCharRecord();
    const int maxHp = CalcMaxHp(rec), maxMp = CalcMaxMp(rec);
    ASSERT_GE(maxHp, 50);
    auto hp = [&] { return rec.I32(CharacterRecord::kHp); };
    auto mp = [&] { return rec.I32(CharacterRecord::kMp); };
    rec.SetU32(CharacterRecord::kHp, 10);
    rec.SetU32(CharacterRecord::kMp, static_cast<uint32_t>(maxMp - 1));
    g_frameClock = 718;
    bed.Frame();
    EXPECT_EQ(hp(), 10);
    bed.Frame();  // 720 = 24 x 30
    EXPECT_EQ(hp(), 10 + maxHp / 25);
    EXPECT_EQ(mp(), maxMp) << "capped at the maximum";
    EXPECT_EQ(bed.Layer().MyRecord().I32(CharacterRecord::kHp), hp()) << "the own record follows";
    EXPECT_EQ(bed.ui.log.Count("RefreshWindows"), 2);

    // The sanctuary: eight times 30, and the greeting once on entering.
    g_currentMapId = 0;
    me.PlaceAt(195, 240);
    g_frameClock = 959;
    bed.Frame(2);
    EXPECT_EQ(hp(), 10 + 2 * (maxHp / 25)) << "960 is a multiple of 240";
    EXPECT_EQ(Count(bed.ui, Line(37)), 1);
    me.PlaceAt(180, 240);
    bed.Frame();
    me.PlaceAt(195, 240);
    bed.Frame();
    EXPECT_EQ(Count(bed.ui, Line(37)), 2) << "shown again after leaving";
    g_currentMapId = 95;
    me.PlaceAt(100, 100);
    g_frameClock = 239;
    bed.Frame();
    EXPECT_EQ(hp(), 10 + 3 * (maxHp / 25)) << "map 95 regenerates as fast";

    // Above the maximum HP decays every 360 ticks, to the maximum.
    g_currentMapId = 2;
    rec.SetU32(CharacterRecord::kHp, static_cast<uint32_t>(maxHp + 100));
    g_frameClock = 359;
    bed.Frame();
    EXPECT_EQ(hp(), maxHp + 100 - (maxHp + 100) / 25);
    rec.SetU32(CharacterRecord::kHp, static_cast<uint32_t>(maxHp + 1));
    g_frameClock = 1079;
    bed.Frame();
    EXPECT_EQ(hp(), maxHp);

    // In battle only maps 85 (HP) and 86 (MP) regenerate, every 360.
    bed.Layer().m_inBattle = 1;
    for (int map : {85, 86, 2}) {
        g_currentMapId = map;
        rec.SetU32(CharacterRecord::kHp, 10);
        rec.SetU32(CharacterRecord::kMp, 10);
        g_frameClock = 359;
        bed.Frame();
        EXPECT_EQ(hp(), map == 85 ? 10 + maxHp / 25 : 10) << map;
        EXPECT_EQ(mp(), map == 86 ? 10 + maxMp / 25 : 10) << map;
    }
}

TEST(CreatureUpdate, TheTurnGaugeGivesAndTakesMyTurn)
{
    CCreatureBed bed;
    CCharacter& me = bed.Me(10, 10);
    CharacterRecord& rec = me.GetCharRecord();
    rec.SetU32(CharacterRecord::kLevel, 3);
    bed.Layer().m_inBattle = 1;
    const int fill = CalcTurnGaugeFill(rec), drain = CalcTurnGaugeDrain(rec);
    const int framesToFill = 1800 / fill + 1;
    bed.Frame(framesToFill - 1);
    EXPECT_EQ(me.GetMyTurn(), 0);
    EXPECT_EQ(rec.I32(CharacterRecord::kTurnTimer), (framesToFill - 1) * fill);
    me.PlaceAt(12, 10);
    bed.Frame();
    EXPECT_EQ(me.GetMyTurn(), 1);
    EXPECT_EQ(rec.I32(CharacterRecord::kTurnTimer), 1800);
    EXPECT_EQ(me.GetTurnStartX(), 12);
    EXPECT_TRUE(bed.Layer().IsRangeCircleShown());
    EXPECT_EQ(Count(bed.ui, Line(92)), 1);
    EXPECT_EQ(Count(bed.ui, Line(93)), 1);
    bed.Frame(1800 / drain);
    EXPECT_EQ(me.GetMyTurn(), 1);
    bed.Frame();
    EXPECT_EQ(me.GetMyTurn(), 0);
    EXPECT_FALSE(bed.Layer().IsRangeCircleShown());
    EXPECT_EQ(rec.I32(CharacterRecord::kTurnTimer), 0);

    // Above level 3, or once the battle is over, the turn comes silently;
    // another creature's turn never talks.
    rec.SetU32(CharacterRecord::kLevel, 4);
    me.SetMyTurn(1);
    bed.Layer().m_battleOver = 1;
    rec.SetU32(CharacterRecord::kLevel, 1);
    me.ToggleMyTurn();
    me.ToggleMyTurn();
    CCharacter& other = bed.Add(1000, 20, 20);
    bed.Layer().m_battleOver = 0;
    other.SetMyTurn(1);
    EXPECT_EQ(Count(bed.ui, Line(92)), 1);
    EXPECT_TRUE(bed.Layer().IsRangeCircleShown()) << "mine is still on";
    me.SetMyTurn(0);
    other.SetMyTurn(1);
    EXPECT_FALSE(bed.Layer().IsRangeCircleShown()) << "only my turn shows the circle";

    // The held Psychicforce repeats at my turn's start while I have 20 MP.
    bed.Layer().m_deathMarkFlag = 1;
    bed.Layer().m_deathMarks[3] = {&other, &me};
    me.SetMyTurn(1);
    rec.SetU32(CharacterRecord::kMp, 20);
    bed.Frame();
    EXPECT_EQ(bed.fx.log.Count("PsychicforceTick"), 1);
    me.SetMyTurn(1);
    rec.SetU32(CharacterRecord::kMp, 19);
    me.GetAbilitySet().SetOwned(1);
    bed.Frame();
    EXPECT_EQ(bed.fx.log.Count("PsychicforceTick"), 1);
    EXPECT_EQ(bed.ui.log.Calls().back(), Line(26));
}

TEST(CreatureUpdate, OnlineOthersFourteenCellsAwayLeave)
{
    CCreatureBed bed;
    CCharacter& me = bed.Me(20, 20);
    CCharacter& near = bed.Add(1000, 33, 20);
    CCharacter& farX = bed.Add(1001, 34, 20);
    CCharacter& farY = bed.Add(1002, 20, 6);
    bed.Frame();
    EXPECT_TRUE(near.IsActive() && farX.IsActive() && farY.IsActive()) << "offline everyone stays";
    bed.GoOnline();
    bed.Layer().m_inBattle = 1;
    bed.Frame();
    EXPECT_TRUE(farX.IsActive()) << "in battle everyone stays";
    bed.Layer().m_inBattle = 0;
    bed.Frame();
    EXPECT_TRUE(near.IsActive());
    EXPECT_FALSE(farX.IsActive());
    EXPECT_FALSE(farY.IsActive());
    EXPECT_TRUE(me.IsActive());
    EXPECT_EQ(bed.Layer().GetObjectCell(34, 20), kCellEmpty);
}

TEST(CreatureOrders, OnlineMyActionsAreSentAndHitsReported)
{
    CCreatureBed bed;
    bed.GoOnline();
    CCharacter& me = bed.Me(10, 10);
    CCharacter& orc = bed.Add(1300, 11, 10, 1305);
    CCharacter& player = bed.Add(40, 10, 12);
    me.OrderAttack(&orc, 0);
    bed.Frame(3);
    EXPECT_EQ(bed.Received(), (Bytes{20, 0x14, 0x05,                                          // attack 1300
                                     31, CCreatureBed::kMyId, 0, 0x14, 0x05, 0xFF, 0xFF}))  // its hit, -1
        << "the hit on the orc is reported before its hit order";
    EXPECT_EQ(orc.GetOrder(), CCreature::orderHit);
    const int orcHp = orc.GetCharRecord().I32(CharacterRecord::kHp);
    bed.Frame(20);
    EXPECT_EQ(orc.GetCharRecord().I32(CharacterRecord::kHp), orcHp) << "online outside battle the server decides";

    me.OrderChallenge(&player, 0);
    bed.Frame(8);
    EXPECT_EQ(me.GetOrder(), CCreature::orderChallenge) << "3 steps of 3 ticks";
    bed.Frame();
    EXPECT_EQ(me.GetOrder(), CCreature::orderStand);
    player.OrderChallenge(&me, 0);
    bed.Frame(10);
    EXPECT_EQ(bed.Received(), (Bytes{24, CCreatureBed::kMyId, 0, 40, 0,  //
                                     26, CCreatureBed::kMyId, 0, 40, 0, 0, CCreatureBed::kMyId, 0}));

    bed.Layer().SetGroundItem(12, 10, 77);
    me.OrderPickUp(12, 10, 0);
    bed.Frame(40);
    EXPECT_EQ(me.GetTileX(), 12);
    EXPECT_EQ(bed.Received(), (Bytes{10, 11, 0, 9, 0, 10, 12, 0, 10, 0,  // two steps, round the orc
                                     41, CCreatureBed::kMyId, 0, 77, 0, 12, 0, 10, 0}));

    // In battle: the attack with my stats and equipment, a hit on me with
    // my HP before it.
    bed.Layer().m_inBattle = 1;
    bed.Layer().m_battleNumber = 0x0203;
    bed.Layer().m_battleCentreX = 12;
    bed.Layer().m_battleCentreY = 10;
    CharacterRecord& mine = bed.world.MyRecord();
    mine.SetU32(CharacterRecord::kStrength, 0x11);
    mine.SetU32(CharacterRecord::kAgility, 0x22);
    mine.SetU32(CharacterRecord::kCourage, 0x33);
    mine.SetEquip(0, 0x0102);
    mine.SetU32(CharacterRecord::kHp, 50);
    bed.Layer().SendBattleAttack(1300);
    me.SetPendingHit(&orc, 11, 10, -9, 1);
    me.ProcessPendingHit();
    orc.SetPendingHit(&me, 10, 10, -9, 1);
    orc.ProcessPendingHit();
    Bytes expected = {30, 0, 3, 2, 4, 26, 0, CCreatureBed::kMyId, 0, 0x14, 0x05, 0x11, 0, 0x22, 0, 0x33, 0, 2, 1};
    expected.resize(expected.size() + 14, 0);
    for (uint8_t b : {30, 0, 3, 2, 5, 12, 0, int(CCreatureBed::kMyId), 0, 0x14, 0x05, 11, 0, 10, 0, 0xF7, 0xFF, 50, 0})
        expected.push_back(b);
    EXPECT_EQ(bed.Received(), expected) << "a hit on another creature is not mine to report in battle";
    EXPECT_EQ(me.GetHitAmount(), -9);
}

TEST(CreatureSoundsPlayed, SpeciesSoundsStepSoundsVoicesAndDeath)
{
    CArchiveBuilder archive = CArchiveBuilder::MinimalGame();
    for (const char* name : {"anpisatt.wav", "anpishit.wav", "anpisdie.wav", "swing.wav", "man1hit.wav", "0.wav",
                             "905att.wav"})
        archive.Add(name, CWaveWriter::SimpleWave(10));
    CCreatureBed bed(64, {}, archive);
    ASSERT_EQ(ResOpenArchive(), 0);
    ASSERT_EQ(g_soundManager.Init(), 1);
    auto loaded = [] {
        std::vector<std::string> names;
        for (int i = 0; i < CSoundManager::kSlotCount; ++i)
            if (CSoundBuffer* b = g_soundManager.GetSlot(i))
                if (std::find(names.begin(), names.end(), b->GetName()) == names.end())
                    names.push_back(b->GetName());
        return names;
    };
    CCharacter& me = bed.Me(10, 10);
    CCharacter& orc = bed.Add(1300, 11, 10, 1305);
    CCharacter& other = bed.Add(1301, 10, 11, 905);
    orc.OrderAttack(&me, 0);
    bed.Frame(4);
    EXPECT_EQ(loaded(), (std::vector<std::string>{"anpisatt.wav", "swing.WAV", "man1hit.wav"}));
    other.OrderAttack(&me, 0);
    bed.Frame(20);
    EXPECT_EQ(loaded().size(), 3u) << "class 905 has no species";
    orc.GetCharRecord().SetU32(CharacterRecord::kHp, 1);
    me.OrderAttack(&orc, 0);
    bed.Frame(5);
    EXPECT_EQ(loaded(), (std::vector<std::string>{"anpisatt.wav", "swing.WAV", "man1hit.wav", "anpishit.wav",
                                                  "0.wav", "anpisdie.wav"}));
}

TEST(CreatureAttack, ClassesTwoAndThreeChargeFromStepFiveAndPlayersWearTheirPiecesAtTheAttachPointUnlessHidden)
{
    constexpr int kPieceFrames = 8;
    constexpr int kChargeFrames = 2;
    CArchiveBuilder archive = CArchiveBuilder::MinimalGame();
    std::vector<TileDef> charge;
    for (int i = 0; i < kChargeFrames; ++i)
        charge.push_back({0, CRleEncoder::Encode(CRleEncoder::Pattern(6, 4, static_cast<uint32_t>(30 + i)))});
    archive.Add("charge.tle", CSpriteWriter::TileFile("charge", charge));
    for (const char* name : {"WHIP.TLR", "esperatt.TLR"}) {
        std::vector<SpriteFrameDef> frames, second;
        for (int i = 0; i < kPieceFrames; ++i) {
            frames.push_back(CSpriteWriter::Frame(CRleEncoder::Encode(CRleEncoder::Pattern(5, 5, 40u + i))));
            second.push_back(CSpriteWriter::Frame(CRleEncoder::Encode(CRleEncoder::Pattern(3, 3, 9, true))));
        }
        archive.Add(name, CSpriteWriter::EffectFile(name, frames, second, {}));
    }
    CreatureSetOptions options;
    options.attackSteps = kPieceFrames;
    options.attachPoint = {6, 1};
    CCreatureBed bed(64, options, archive);
    ResOpenArchive();
    ASSERT_EQ(g_turnGaugeSet.Load("data\\charge.tle"), 0);
    InitGameData();
    CCharacter& me = bed.Me(10, 10);             // class 0, class group 0
    CCharacter& esper = bed.Add(200, 20, 20, 1);  // class 2, class group 1
    CCharacter& orc = bed.Add(1000, 11, 10, 1305);
    CCharacter& orc2 = bed.Add(1001, 21, 20, 1305);

    for (auto [attacker, target, pieces, charges] : {std::tuple{&esper, &orc2, &g_esperAttSet, true},
                                                      std::tuple{&me, &orc, &g_whipSet, false}}) {
        SCOPED_TRACE(attacker->GetServerId());
        attacker->OrderAttack(target, 1);
        for (int tick = 0; tick < 2 * kPieceFrames; ++tick) {
            bed.Frame();
            const int step = tick / 2;
            int sx = 0, sy = 0;
            bed.Ground().WorldToScreen(attacker->GetPixelX(), attacker->GetPixelY(), sx, sy);
            int chargeFrame = -1, piece = 0, shadow = 0;
            const CDrawList& list = bed.Layer().DrawList();
            for (int i = 0; i < list.GetCount(); ++i) {
                const DrawEntry& d = list.GetEntry(i);
                if (d.owner != attacker)
                    continue;
                for (int f = 0; f < kChargeFrames; ++f)
                    if (d.image == g_turnGaugeSet.GetFrame(f)) {
                        chargeFrame = f;
                        EXPECT_EQ(d.x, sx);
                    }
                // Hot spot (4, 7), attach point (6, 1).
                const bool atPoint = d.x == sx - 4 + 6 && d.y == sy - 7 + 1;
                piece += d.image == pieces->GetFrame(step) && d.mode == 0 && atPoint;
                shadow += d.image == pieces->GetSecondFrame(step) && d.mode == 5 && atPoint;
            }
            const bool charging = charges && step >= 5 && step - 5 < kChargeFrames;
            EXPECT_EQ(chargeFrame, charging ? step - 5 : -1) << "step " << step;
            EXPECT_EQ(piece, 1) << "step " << step;
            EXPECT_EQ(shadow, 1) << "step " << step;
        }
        bed.Frame();
        EXPECT_NE(attacker->GetAction(), CCreature::orderAttack) << "the swing is over";
    }
    // Hidden in a battle, the esper of another group swings unseen: no
    // body, no piece, no shadow, no charge gives it away.
    bed.Layer().m_inBattle = 1;
    esper.SetHidden(true);
    CCharacter& orc3 = bed.Add(1002, 20, 21, 1305);
    esper.OrderAttack(&orc3, 1);
    int swinging = 0;
    for (int tick = 0; tick <= 2 * kPieceFrames; ++tick) {
        bed.Frame();
        swinging += esper.GetAction() == CCreature::orderAttack;
        const CDrawList& list = bed.Layer().DrawList();
        for (int i = 0; i < list.GetCount(); ++i)
            EXPECT_NE(list.GetEntry(i).owner, &esper) << "tick " << tick;
    }
    EXPECT_GE(swinging, 2 * kPieceFrames - 1) << "the whole swing ran";
    EXPECT_TRUE(esper.IsHidden());
    bed.Layer().m_inBattle = 0;
    g_turnGaugeSet.FreeFrames();
    FreeGameData();
}
