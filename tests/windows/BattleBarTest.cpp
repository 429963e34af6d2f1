// The battle command bar and the status window over the window directory:
// what the five buttons post for clicks, activations and drags, how their
// tooltips follow the current abilities, what the dispatcher's battle rows
// do with them, and the status window's value rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandRing.h"
#include "fixtures/WidgetSprites.h"
#include "rules/AbilitySet.h"
#include "support/TestWorld.h"
#include "ui/IconList.h"
#include "ui/MyCharacterView.h"
#include "ui/Widget.h"
#include "windows/BattleBar.h"
#include "windows/DaradirUzedo.h"
#include "windows/HotKeyButton.h"
#include "windows/PlayerInfo.h"
#include "windows/StatusWin.h"
#include "world/CharacterRecord.h"
#include "world/ObjLayer.h"

namespace {

constexpr uint32_t kButtonW = 40, kButtonH = 30;

CArchiveBuilder Archive()
{
    CArchiveBuilder b = CArchiveBuilder::MinimalGame();
    for (const char* name : {"ATBtn", "DFBtn", "SABtn", "RABtn", "ITBtn"})
        b.Replace(std::string(name) + ".slr", CWidgetSprites::File(4, kButtonW, kButtonH, 10));
    return b;
}

class BattleBarTest : public testing::Test {
protected:
    BattleBarTest()
    {
        world.Platform().settings.SetString("Control Panel\\International", "Locale", "00000412");
        g_layerHolder.SetLayer(&ui);
        ui.CreateWindows();
        SetMyAbilitySet(&abilities);
        ResetHotKeyButtons();
        // The battle begins: the five buttons come in.
        EXPECT_EQ(Run({37}), (std::vector<uint32_t>{}));
        g_uiFrameTicks = 100;
        Bar().Draw(nullptr);
        g_uiFrameTicks = 1;
    }
    ~BattleBarTest() override
    {
        SetMyAbilitySet(nullptr);
        ResetHotKeyButtons();
        g_layerHolder.SetLayer(nullptr);
    }

    CWidget& Bar() { return *ui.GetRootContainer()->FindChild(CBattleBar::kId); }
    CWidget& Button(int32_t id) { return *Bar().FindChild(id); }
    std::vector<uint32_t> Commands()
    {
        std::vector<uint32_t> out;
        for (uint32_t id; (id = g_commandRing.Pop()) != CCommandRing::kEmpty;)
            out.push_back(id);
        return out;
    }
    // Runs one dispatcher pass over the entries; what it left on the ring.
    std::vector<uint32_t> Run(const std::vector<uint32_t>& entries)
    {
        Commands();
        for (uint32_t e : entries)
            g_commandRing.Push(e);
        ui.DispatchCommands();
        return Commands();
    }
    // A press and a release of one mouse button on the root, 5 pixels into
    // the button; the commands they posted.
    std::vector<uint32_t> Click(int32_t id, int mouse = 1)
    {
        Commands();
        g_frameClock += CButtonWidget::kRepeatFrames;
        const CPoint at = *Button(id).GetPos();
        CWidgetContainer& root = *ui.GetRootContainer();
        if (mouse == 1) {
            root.OnLButtonDown(at.x + 5, at.y + 5);
            root.OnLButtonUp(at.x + 5, at.y + 5);
        } else {
            root.OnRButtonDown(at.x + 5, at.y + 5);
            root.OnRButtonUp(at.x + 5, at.y + 5);
        }
        return Commands();
    }
    void InBattle(bool on)
    {
        world.Layer().m_inBattle = on ? 1 : 0;
        world.Layer().m_battleNumber = on ? 501 : 0;
    }

    CTestWorld world{Archive()};
    CDaradirUzedo ui{nullptr};
    CAbilitySet abilities{&world.MyRecord()};
};

using V = std::vector<uint32_t>;

TEST_F(BattleBarTest, ClicksPostTheButtonsCommands)
{
    for (int32_t id : {45, 46, 43, 44, 47})
        EXPECT_EQ(Button(id).GetState(), CWidget::kOpen) << id;
    EXPECT_EQ(*Button(43).GetPos(), (CPoint{50, 50}));
    EXPECT_EQ(*Button(45).GetPos(), (CPoint{50, 150}));

    struct Row {
        int32_t id;
        int mouse;
        V posted;
    };
    const Row rows[] = {
        {43, 1, {0, 39}}, {44, 1, {0, 40}}, {47, 1, {0, 43}}, {46, 1, {0, 42}}, {45, 1, {0, 41, 109}},
        // A right click on the item button asks for MP; the reaction
        // button stands for no ability.
        {45, 2, {108}},   {46, 2, {}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(Click(r.id, r.mouse), r.posted) << r.id << " mouse " << r.mouse;
    EXPECT_EQ(g_leftHeldBattleButton, -1);
    EXPECT_EQ(g_rightHeldBattleButton, -1);
    EXPECT_EQ(g_activeBattleButton, -1) << "clicks post their commands instead of activating";

    // The battle ends: they go.
    Run({38});
    for (int32_t id : {45, 46, 43, 44, 47})
        EXPECT_EQ(Button(id).GetState(), CWidget::kClosing) << id;
}

TEST_F(BattleBarTest, ActivationTogglesAndTheReactionHotKeyActivatesItsButton)
{
    Button(43).Activate();
    Button(43).Activate();
    EXPECT_EQ(Commands(), (V{44, 13, 5}));
    EXPECT_EQ(g_activeBattleButton, -1);
    Button(43).Activate();
    Button(44).Activate();
    EXPECT_EQ(Commands(), (V{44, 13, 44, 13})) << "the other button takes over without a deactivation";
    EXPECT_EQ(g_activeBattleButton, 44);

    // Command 42 activates the reaction button only in a battle; its
    // commands open the ability pages on the reaction page.
    ResetHotKeyButtons();
    EXPECT_EQ(Run({42}), V{});
    EXPECT_FALSE(ui.IsWindowOpen(8));
    InBattle(true);
    EXPECT_EQ(Run({42}), V{});
    EXPECT_EQ(g_activeBattleButton, 46);
    EXPECT_TRUE(ui.IsWindowOpen(7));
    EXPECT_TRUE(ui.IsWindowOpen(8));
    EXPECT_EQ(static_cast<CIconList*>(ui.GetRootContainer()->FindChild(8))->GetOrder(0), 1);
    Run({42});
    EXPECT_FALSE(ui.IsWindowOpen(8)) << "the second activation closes them again";
    EXPECT_EQ(g_activeBattleButton, -1);
}

TEST_F(BattleBarTest, TheBattleRowsArmTheCurrentAbilityOfTheirCategory)
{
    abilities.SetOwned(1);  // PowerBreak, attack
    abilities.SetOwned(2);  // CounterGuard, defence
    abilities.Select(1);
    abilities.Select(2);
    struct Row {
        uint32_t command;
        int selected;
    };
    // Category 3 and the support category have no current ability here.
    const Row rows[] = {{39, 1}, {40, 2}, {41, 0}, {43, 0}};
    for (const Row& r : rows) {
        abilities.ClearSelectedCategory();
        InBattle(false);
        Run({r.command});
        EXPECT_EQ(abilities.GetSelectedCategory(), 0) << r.command << " outside a battle";
        InBattle(true);
        Run({r.command});
        EXPECT_EQ(abilities.GetSelectedCategory(), r.selected) << r.command;
    }
    SetMyAbilitySet(nullptr);
    EXPECT_EQ(Run({39, 40, 42, 43}), V{}) << "without a character nothing happens";
}

TEST_F(BattleBarTest, RightClicksCycleTheAbilityAndTheTooltipsNameIt)
{
    Bar().ReloadData();
    EXPECT_STREQ(Button(43).GetTooltip(), "공격 Alt-A");
    EXPECT_STREQ(Button(44).GetTooltip(), "방어 Alt-D");
    EXPECT_STREQ(Button(47).GetTooltip(), "보조 Alt-S");
    EXPECT_STREQ(Button(45).GetTooltip(), "HP/MP");

    // One owned attack ability stays current.
    abilities.SetOwned(1);
    abilities.Select(1);
    EXPECT_EQ(Click(43, 2), (V{110}));
    EXPECT_EQ(abilities.GetCurrentId(1), 1);
    EXPECT_EQ(Button(43).GetTooltip(), AbilityTable[1].korean) << "the table's CP949 name";
    abilities.SetOwned(3);  // GuardBreak
    EXPECT_EQ(Click(43, 2), (V{110}));
    EXPECT_EQ(abilities.GetCurrentId(1), 3);
    EXPECT_EQ(Button(43).GetTooltip(), AbilityTable[3].korean);
    EXPECT_EQ(Click(43, 2), (V{110}));
    EXPECT_EQ(abilities.GetCurrentId(1), 1) << "round to the first";
    EXPECT_EQ(Click(47, 2), V{}) << "no support ability";
    EXPECT_STREQ(Button(47).GetTooltip(), "보조 Alt-S");

    // The tooltip follows a choice made elsewhere as soon as the cursor
    // passes over the button.
    abilities.Select(3);
    ui.GetRootContainer()->OnMouseMove(60, 60);
    EXPECT_EQ(Button(43).GetTooltip(), AbilityTable[3].korean);
    world.Platform().settings.SetString("Control Panel\\International", "Locale", "00000409");
    Bar().ReloadData();
    EXPECT_STREQ(Button(43).GetTooltip(), "GuardBreak");
    EXPECT_STREQ(Button(44).GetTooltip(), "Defence Alt-D");
}

TEST_F(BattleBarTest, BothButtonsDragAButtonThatStaysOnTheScreen)
{
    CWidgetContainer& root = *ui.GetRootContainer();
    g_frameClock += CButtonWidget::kRepeatFrames;
    root.OnLButtonDown(55, 57);
    root.OnRButtonDown(55, 57);
    Commands();  // the right press cycled the (absent) attack abilities
    struct Row {
        int32_t x, y;
        CPoint at;
    };
    const Row rows[] = {
        {300, 400, {295, 393}},
        {-100, 900, {0, 600 - kButtonH}},
        {2000, 3, {800 - kButtonW, 0}},
        {400, 300, {395, 293}},
    };
    for (const Row& r : rows) {
        root.OnMouseMove(r.x, r.y);
        EXPECT_EQ(*Button(43).GetPos(), r.at) << r.x << "," << r.y;
        EXPECT_EQ(*Button(43).GetOpenPos(), r.at);
        EXPECT_EQ(*Button(43).GetClosedPos(), (CPoint{r.at.x - 800, r.at.y}));
    }
    EXPECT_EQ(g_battleButtonDragging, 1);
    EXPECT_EQ(*Button(44).GetPos(), (CPoint{50, 100})) << "only the grabbed button moves";

    // The releases that end the drag post nothing.
    root.OnLButtonUp(400, 300);
    EXPECT_EQ(g_battleButtonDragging, 1) << "the right button is still down";
    root.OnRButtonUp(400, 300);
    EXPECT_EQ(Commands(), V{});
    EXPECT_EQ(g_battleButtonDragging, 0);
    // The button keeps its new place, and is clicked there.
    EXPECT_EQ(Click(43), (V{0, 39}));
    Run({38, 37});
    g_uiFrameTicks = 100;
    Bar().Draw(nullptr);
    EXPECT_EQ(*Button(43).GetPos(), (CPoint{395, 293}));
}

TEST(StatusWinRows, TheSheetShowsTheRecordWithItsEquipmentAndDerivedValues)
{
    CTestWorld world;
    ItemRecord ring;
    ring.equipType = 2;
    ring.kind1 = 1;  // strength
    ring.value1 = 5;
    ring.kind2 = 5;  // courage
    ring.value2 = 2;
    world.AddItem(1, ring);
    CharacterRecord& rec = world.MyRecord();
    using R = CharacterRecord;
    rec.SetEquip(0, 1);
    rec.SetU32(R::kClass, 0);
    rec.SetU32(R::kGameTime, 3 * 2880 + 5 * 240 + 7);
    rec.SetU32(R::kLevel, 12);
    rec.SetU32(R::kServerValue28, 321);
    rec.SetU32(R::kHp, 150);
    rec.SetU32(R::kMp, 40);
    rec.SetU32(R::kExperience, 1234);
    rec.SetU32(R::kStrength, 30);
    rec.SetU32(R::kAgility, 20);
    rec.SetU32(R::kWisdom, 9);
    rec.SetU32(R::kConstitution, 12);
    rec.SetU32(R::kCourage, 8);
    rec.SetU32(R::kRemain, 3);
    rec.SetU32(R::kSpeedClass, 7);
    rec.SetU16(R::kKills, 5);
    rec.SetU16(R::kProfileValue, 0xFFFE);
    rec.SetU16(R::kBattleLogouts, 1);

    const CStatusWin::ValueRows rows = CStatusWin::FormatRows(rec, "Mira", 98765);
    // Class 0's base stats are 17, 13, 5, 5, 5: 34 points above them.
    const std::pair<int32_t, const char*> expected[] = {
        {27, "Mira"},
        {48, "20(6/12)"},
        {98, "12 (4/4)"},
        {119, "321"},
        {154, "150/220"},   // 200 + 12 x 5 / 3
        {175, "40/62"},     // 50 + 9 x 7 / 5
        {196, "1234/372"},  // (3 + 34)^2 / 4 + 30
        {227, "35"},
        {248, "20"},
        {269, "9"},
        {290, "12"},
        {311, "10"},
        {342, "3"},
        {377, "22"},  // (2 x 35 + 20) / 4
        {399, "8"},   // (2 x 12 + 20) / 5
        {435, "7"},
        {454, "5/-2/1"},
        {523, "98765"},
    };
    ASSERT_EQ(rows.size(), std::size(expected));
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].y, expected[i].first) << i;
        EXPECT_STREQ(rows[i].text.data(), expected[i].second) << "row at y " << expected[i].first;
    }

    // Extreme values stay within the row.
    rec.SetU32(R::kStrength, 0x7FFFFFFF);
    rec.SetU32(R::kHp, 0x80000000);
    const CStatusWin::ValueRows big = CStatusWin::FormatRows(rec, std::string(40, 'n').c_str(), -1);
    EXPECT_STREQ(big[7].text.data(), "2147483652");
    EXPECT_STREQ(big[4].text.data(), "-2147483648/220");
    EXPECT_EQ(std::string(big[0].text.data()), std::string(CStatusWin::kValueSize - 1, 'n'));
    EXPECT_STREQ(big[17].text.data(), "-1");
}

}  // namespace
