// The field frame's picking and clicks on a crafted draw list, the stage
// change on the virtual clock, the stage tables and the loaders' clip.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/CommandRing.h"
#include "app/MouseState.h"
#include "app/QuillonView.h"
#include "app/StringTable.h"
#include "audio/MusicPlayer.h"
#include "core/AnimSpriteSet.h"
#include "core/RleImage.h"
#include "platform/Crt.h"
#include "support/CreatureBed.h"
#include "world/BGLayer.h"
#include "world/FieldFrame.h"
#include "world/Npc.h"
#include "world/ObjLayer.h"
#include "world/StageHolder.h"
#include "world/StageLoader.h"
#include "world/StageTables.h"
#include "world/StructureObj.h"

namespace {

constexpr uint16_t kMe = CCreatureBed::kMyId;
constexpr uint32_t kEmpty = CCommandRing::kEmpty;

class FieldFrame : public testing::Test {
protected:
    void SetUp() override
    {
        me = &bed.Me(20, 20);
        me->GetCharRecord().SetU32(CharacterRecord::kHp, 50);
        image = Layer().GetCharSet(0)->GetFrame(0);
        ASSERT_NE(image, nullptr);
        ASSERT_EQ(image->GetSize().cx, 8);
        g_commandRing.Reset();
    }
    void TearDown() override
    {
        g_mouseState.Reset();
        std::memset(g_keyState, 0, sizeof g_keyState);
        g_commandRing.Reset();
        ResetFieldFrame();
    }
    CObjLayer& Layer() { return bed.Layer(); }
    // An 8 x 8 entry whose top-left pixel is (left, top), sorted by y.
    void Entry(CObj* owner, int left, int top)
    {
        const int x = left + image->GetHotSpot().x, y = top + image->GetHotSpot().y;
        ASSERT_EQ(Layer().AddDrawItem(owner, x, y, 0, image, 0, 0), 0);
    }
    CStructureObj* Structure(int slot, const char* name)
    {
        CStructureObj& s = Layer().StructureSlot(slot);
        s.Create(&Layer(), name, 30 + slot, 30, nullptr, nullptr, 0);
        return &s;
    }
    // A left press at the mouse's point at virtual time ms, then picking.
    void LeftAt(uint32_t ms, int x, int y)
    {
        bed.world.Platform().clock.Set(ms);
        g_mouseState.ResetMouseEvents();
        g_mouseState.SetMouseEvent(MOUSE_LDOWN, x, y);
        Layer().PickAndClick();
    }
    std::vector<uint32_t> Ring()
    {
        std::vector<uint32_t> out;
        for (uint32_t v = g_commandRing.Pop(); v != kEmpty; v = g_commandRing.Pop())
            out.push_back(v);
        return out;
    }

    CCreatureBed bed;
    CCharacter* me = nullptr;
    CRleImage* image = nullptr;
};

}  // namespace

TEST_F(FieldFrame, PickingTakesTheFrontMostAndACreatureBehindAStructureStillWins)
{
    CObjLayer& layer = Layer();
    CCharacter& bob = bed.Add(30, 25, 20);
    CNpc* first = layer.AddNpc("one", 22, 22, 0, 1305);
    CNpc* second = layer.AddNpc("two", 23, 22, 0, 905);
    ASSERT_TRUE(first && second);
    CStructureObj* wall = Structure(0, "wall");
    // Back to front: bob, the structure over him; two NPCs elsewhere, the
    // later (front) one first met, the earlier one replacing it.
    Entry(&bob, 100, 100);
    Entry(wall, 102, 102);
    Entry(first, 300, 300);
    Entry(second, 302, 302);
    layer.SortDrawList();
    struct Row {
        int x, y;
        CObj* obj;
        CCreature* creature;
        CNpc* npc;
        CStructureObj* structure;
    } rows[] = {
        {104, 104, &bob, &bob, nullptr, wall},     // both: the creature ends the search
        {109, 109, wall, nullptr, nullptr, wall},  // the structure alone
        {101, 101, &bob, &bob, nullptr, nullptr},
        {303, 303, first, nullptr, first, nullptr},
        {309, 309, second, nullptr, second, nullptr},
        {200, 200, nullptr, nullptr, nullptr, nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.x << "," << r.y);
        g_mouseState.SetMouseEvent(0, r.x, r.y);
        layer.PickAndClick();
        EXPECT_EQ(layer.m_pHoverObj, r.obj);
        EXPECT_EQ(layer.m_pHoverCreature, r.creature);
        EXPECT_EQ(layer.m_pHoverNpc, r.npc);
        EXPECT_EQ(layer.m_pHoverStructure, r.structure);
    }
}

TEST_F(FieldFrame, LeftClicksAreTakenAtMostOnceIn250Ms)
{
    int sx = 0, sy = 0, px = 0, py = 0;
    CBGLayer::TileToPixel(24, 20, px, py);
    bed.Ground().WorldToScreen(px + 32, py + 16, sx, sy);
    const struct {
        uint32_t at;
        bool taken;
    } clicks[] = {{10000, true}, {10200, false}, {10249, false}, {10250, true}, {10510, true},
                  // Across the clock's wrap the signed difference still tells.
                  {0xFFFFFF80u, true}, {0x40u, false}, {0x7Au, true}};
    for (const auto& c : clicks) {
        SCOPED_TRACE(c.at);
        if (c.at == 0xFFFFFF80u)
            g_lastClickAt = c.at - 1000;
        me->Stop();
        LeftAt(c.at, sx, sy);
        EXPECT_EQ(me->GetOrder() == CCreature::orderMove, c.taken);
    }
    // Outside the view rectangle nothing is taken.
    me->Stop();
    LeftAt(20000, 400, Layer().GetViewBottom());
    EXPECT_EQ(me->GetOrder(), CCreature::orderStand);
}

TEST_F(FieldFrame, ClicksOnThingsPushTheirCommands)
{
    CObjLayer& layer = Layer();
    struct Row {
        const char* name;
        std::vector<uint32_t> ring;
        const char* shop;
    };
    const Row rows[] = {
        {"NoticeBoard", {49}, nullptr},        {"BugBoard", {50}, nullptr},
        {"FreeBoard", {48}, nullptr},          {"RankingBoard", {89}, nullptr},
        {"SellMachine", {70}, "potion01.bin"}, {"SellMachine1", {70}, "potion02.bin"},
        {"Event002", {75, 10001}, nullptr},    {"S1arrowsw", {75, 10002}, nullptr},
        {"S1arrowse", {75, 10003}, nullptr},   {"S1arrowsw2", {75, 10004}, nullptr},
        {"S1arrowjail", {75, 10005}, nullptr}, {"Event004", {75, 10006}, nullptr},
        {"noticeboard", {}, nullptr},  // names are exact: the ground is walked on
    };
    uint32_t t = 10000;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        layer.DrawList().Clear();
        Entry(Structure(1, r.name), 100, 100);
        layer.SortDrawList();
        bed.ui.log.Clear();
        me->Stop();
        LeftAt(t += 300, 103, 103);
        EXPECT_EQ(Ring(), r.ring);
        EXPECT_EQ(bed.ui.log.Count("LoadItemList"), r.shop ? 1 : 0);
        if (r.shop) {
            EXPECT_NE(bed.ui.log.Calls()[0].find(r.shop), std::string::npos);
        }
        EXPECT_EQ(me->GetOrder() == CCreature::orderMove, r.ring.empty());
    }

    // A talking character (class 9000..9999) and a town NPC: 75 and the class.
    layer.DrawList().Clear();
    CCharacter& sage = bed.Add(40, 26, 26);
    sage.GetCharRecord().SetU32(CharacterRecord::kClass, 9123);
    CNpc* npc = layer.AddNpc("npc", 22, 22, 0, 1305);
    Entry(&sage, 100, 100);
    Entry(npc, 300, 300);
    layer.SortDrawList();
    LeftAt(t += 300, 103, 103);
    LeftAt(t += 300, 303, 303);
    EXPECT_EQ(Ring(), (std::vector<uint32_t>{75, 9123, 75, 1305}));

    // Alt and the five letters in battle, each on its own.
    layer.m_inBattle = 1;
    g_keyState[56] = 1;
    for (uint8_t scan : {30, 32, 23, 19, 31})
        g_keyState[scan] = 1;
    g_mouseState.ResetMouseEvents();
    layer.PickAndClick();
    EXPECT_EQ(Ring(), (std::vector<uint32_t>{39, 40, 41, 42, 43}));
    g_keyState[30] = g_keyState[19] = 0;
    layer.PickAndClick();
    EXPECT_EQ(Ring(), (std::vector<uint32_t>{40, 41, 43}));
    g_keyState[56] = 0;
    layer.PickAndClick();
    EXPECT_EQ(Ring(), std::vector<uint32_t>{});
}

TEST_F(FieldFrame, TheFrameRunsOnlyWithMyCharacterAndOutsideAStageChange)
{
    CObjLayer& layer = Layer();
    EXPECT_EQ(layer.Process(), 1);
    layer.StageChange().Init(CStageChange::kMove, 0, 20, 20);
    for (int i = 0; i < CStageChange::kWipeFrames; ++i)
        EXPECT_EQ(layer.Process(), 0) << i;
    layer.StageChange().Finish();
    EXPECT_EQ(layer.Process(), 1);
    layer.SetMyCharacter(nullptr);
    EXPECT_EQ(layer.Process(), 0);
    layer.SetMyCharacter(me);

    // Below zero HP outside battle: back to 20, told, off the field.
    bed.GoOnline();
    me->GetCharRecord().SetU32(CharacterRecord::kHp, static_cast<uint32_t>(-100));
    EXPECT_EQ(layer.Process(), 1);
    EXPECT_EQ(layer.MyRecord().I32(CharacterRecord::kHp), 20);
    EXPECT_EQ(layer.m_battleOver, 2u);
    EXPECT_FALSE(me->IsActive());
    EXPECT_EQ(bed.Received(), (Bytes{53, 9, 20, 0, 0, 0, 5, kMe, 0}));
}

TEST_F(FieldFrame, F5TogglesTheAutoClickAndTheBarsAndGaugeStayInBounds)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 2; ++i) {
        g_lastKey = 63;
        Layer().Process();
        g_lastKey = 0;
    }
    for (const std::string& call : bed.ui.log.Calls())
        if (call.rfind("AddLine(", 0) == 0)
            lines.push_back(call.substr(9, call.size() - 11));
    EXPECT_EQ(lines, (std::vector<std::string>{GetGameString(84), GetGameString(85)}));
    EXPECT_EQ(g_autoClick, 0u);

    const struct {
        int a, b, w;
    } bars[] = {{0, 100, 1}, {50, 100, 16}, {100, 100, 32}, {300, 100, 32}, {5, 0, 1}, {5, -4, 1}, {-50, 100, 1},
                {0x7FFFFFFF, 1, 32}};
    for (const auto& b : bars)
        EXPECT_EQ(BarWidth(b.a, b.b), b.w) << b.a << "/" << b.b;
    const struct {
        int timer, w;
    } gauges[] = {{0, 0}, {900, 58}, {1800, 116}, {5000, 116}, {-10, 0}, {0x7FFFFFFF, 116}};
    for (const auto& g : gauges)
        EXPECT_EQ(GaugeWidth(g.timer), g.w) << g.timer;
}

TEST(StageChangeWipe, CoversTheScreenAfter25FramesForAnySeed)
{
    CStageChange change;
    std::vector<uint8_t> screen(CStageChange::kColumns * CStageChange::kRows);
    for (unsigned seed = 1; seed <= 100; ++seed) {
        plat::SRand(seed * 7919u);
        std::fill(screen.begin(), screen.end(), 0xAA);
        change.Init(CStageChange::kMove, 0, 0, 0);
        for (int f = 0; f < CStageChange::kWipeFrames; ++f) {
            ASSERT_EQ(change.GetState(), CStageChange::kWipe) << seed << " frame " << f;
            EXPECT_EQ(change.Update(screen.data()), 0);
        }
        ASSERT_EQ(change.GetState(), CStageChange::kLoad) << seed;
        ASSERT_EQ(std::count(screen.begin(), screen.end(), 0xAA), 0) << seed;
    }
    EXPECT_EQ(CStageChange::NoticeX("01234567890123456789"), 660);
}

TEST_F(FieldFrame, StageChangesIntoAndOutOfBattleLoadNothingAndReenterAtMyCell)
{
    CObjLayer& layer = Layer();
    bed.GoOnline();
    const int stageBefore = g_lastLoadedStage;
    auto run = [&](int frames) {
        for (int i = 0; i < frames; ++i)
            layer.StageChange().Update(nullptr);
    };

    // Into battle: "Combat.mid" at once, idle after the wipe, nothing sent.
    layer.StageChange().Init(CStageChange::kEnterBattle, 0, 20, 20);
    EXPECT_EQ(g_musicPlayer.GetFileName(), "Combat.mid");
    EXPECT_EQ(layer.m_inBattle, 1u);
    run(CStageChange::kWipeFrames + 1);
    EXPECT_EQ(layer.StageChange().GetState(), CStageChange::kIdle);
    EXPECT_EQ(g_lastLoadedStage, stageBefore);
    EXPECT_EQ(bed.Received(), Bytes{});

    // Out to stage 0: command 3 at my cell; a refusal resends it once.
    g_currentMapId = 0;
    layer.StageChange().Init(CStageChange::kLeaveBattle, 0, 0, 0);
    EXPECT_EQ(layer.m_inBattle, 0u);
    EXPECT_EQ(layer.m_stageChanging, 1u);
    run(CStageChange::kWipeFrames + 3);
    const Bytes enter = {3, 1, 20, 0, 20, 0};
    EXPECT_EQ(bed.Received(), enter);
    layer.m_enteredAnswer = -1;
    run(3);
    EXPECT_EQ(bed.Received(), enter) << "one resend for one refusal";
    layer.m_enteredAnswer = 1;
    run(1);
    EXPECT_EQ(layer.StageChange().GetState(), CStageChange::kIdle);
    EXPECT_EQ(layer.m_stageChanging, 0u);
    EXPECT_EQ(g_lastLoadedStage, stageBefore) << "stage 0 was not loaded again";
    EXPECT_EQ(layer.GetMyCharacter(), me);
}

TEST(StageTables, EveryStageListsItsFilesInOrder)
{
    const struct {
        size_t tiles, objects;
        const char *firstTile, *lastTile, *firstObject, *lastObject;
    } stages[] = {
        {71, 76, "arrow_s.tle", "greenback.tle", "arrow1.obr", "vending1.obr"},
        {38, 22, "2s_gline.tle", "wood_shadows1.tle", "bwall1.obr", "ytree4.obr"},
        {47, 20, "blk2mud.tle", "wood_shadows1.tle", "hdstn-1.obr", "wood3.obr"},
        {26, 27, "bbwall_shadow.tle", "wood_shadows1.tle", "bbwall1.obr", "wood3.obr"},
        {34, 28, "2brtdge.tle", "greentile.tle", "2bri_o1.obr", "newvending.obr"},
        {12, 19, "desert.tle", "well_st.tle", "6well.obr", "suninb2.obr"},
        {35, 12, "bong1.tle", "study_t.tle", "eagloo.obr", "study.obr"},
    };
    for (int s = 0; s < kStageTableCount; ++s) {
        SCOPED_TRACE(s);
        const std::vector<std::string> tiles = StageTileFiles(s), objects = StageObjectFiles(s);
        ASSERT_EQ(tiles.size(), stages[s].tiles);
        ASSERT_EQ(objects.size(), stages[s].objects);
        EXPECT_EQ(tiles.front(), std::string("data\\") + stages[s].firstTile);
        EXPECT_EQ(tiles.back(), std::string("data\\") + stages[s].lastTile);
        EXPECT_EQ(objects.front(), std::string("data\\") + stages[s].firstObject);
        EXPECT_EQ(objects.back(), std::string("data\\") + stages[s].lastObject);
        EXPECT_STREQ(StageMapName(s), (std::to_string(s + 1) + "stage.map").c_str());
    }
    const std::vector<std::string> runs = StageObjectFiles(0);
    auto at = [&](const char* name) { return std::find(runs.begin(), runs.end(), name) - runs.begin(); };
    EXPECT_EQ(at("data\\fun13.obr") - at("data\\fun01.obr"), 12) << "the run keeps its width";
    EXPECT_EQ(at("data\\fun10.obr") - at("data\\fun09.obr"), 1);
    const std::vector<std::string> s3 = StageTileFiles(3);
    EXPECT_EQ(std::count(s3.begin(), s3.end(), "data\\deco2-2.tle"), 2);
    const std::vector<std::string> s6 = StageTileFiles(6);
    for (const char* bare : {"data\\scret1_t", "data\\scret4_t"})
        EXPECT_EQ(std::count(s6.begin(), s6.end(), bare), 1) << bare;
    EXPECT_EQ(std::count(s6.begin(), s6.end(), "data\\bong8.tle"), 1);
    for (int s : {-1, 7})
        EXPECT_TRUE(StageTileFiles(s).empty() && StageObjectFiles(s).empty() && !StageMapName(s)) << s;
}

TEST_F(FieldFrame, TheLoadersClipSetsBothLayersAlike)
{
    CStageHolder holder(nullptr);
    CQuillonView* view = g_pView;
    view->m_pBGLayer = &bed.Ground();
    holder.SetHandle(view);
    holder.EmptyHook();
    holder.SetLayersClip(10, 20, 600, 400);
    EXPECT_EQ(Layer().GetViewLeft(), 10);
    EXPECT_EQ(Layer().GetViewTop(), 20);
    EXPECT_EQ(Layer().GetViewRight(), 600);
    EXPECT_EQ(Layer().GetViewBottom(), 400);
    EXPECT_EQ(bed.Ground().GetViewLeft(), 10);
    EXPECT_EQ(bed.Ground().GetViewTop(), 20);
    EXPECT_EQ(bed.Ground().GetViewRight(), 600);
    EXPECT_EQ(bed.Ground().GetViewBottom(), 400);
    view->m_pBGLayer = nullptr;
}
