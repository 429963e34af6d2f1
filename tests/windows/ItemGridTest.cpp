// The inventory's grid and equipment boxes on a field with my character:
// scrolling within the list, the cell hit tests, one carried item at a
// time, and every kind of item use with what it sends and shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandRing.h"
#include "app/ReceiveDispatch.h"
#include "app/StringTable.h"
#include "fixtures/ItemRecordWriter.h"
#include "fixtures/WidgetSprites.h"
#include "rules/CalcData.h"
#include "support/CreatureBed.h"
#include "windows/DaradirUzedo.h"
#include "windows/InvWin.h"
#include "windows/ItemBox.h"
#include "windows/ItemGrid.h"
#include "windows/MouseCursor.h"
#include "windows/PlayerInfo.h"
#include "world/StageLoader.h"

namespace {

constexpr int kPotion = 20;     // HP +30
constexpr int kBigPotion = 21;  // HP +30 and HP +5000
constexpr int kBlue = 22;       // MP +10
constexpr int kComb = 143, kDye = 144, kToStart = 106, kRecord = 110, kRecall = 111, kTravel = 94;
constexpr int kWeapon = 3;
// The open grid's cells on screen: the inventory rests at (528, 0).
constexpr int32_t kCellX = 528 + 18, kCellY = 445;

CArchiveBuilder Archive()
{
    CArchiveBuilder b = CArchiveBuilder::MinimalGame();
    CWidgetSprites::AddTo(b);
    b.Add("InvWin.slr", CWidgetSprites::File(1, 272, 600, 3));
    b.Add("ItmBox.slr", CWidgetSprites::File(1, 60, 60, 4));
    b.Add("ItmBox2.slr", CWidgetSprites::File(1, 60, 70, 5));
    return b;
}

class ItemGridTest : public testing::Test {
protected:
    void SetUp() override
    {
        for (int id = 1; id < 200; ++id) {
            ItemRecord r = MakeItemRecord("", "item" + std::to_string(id), id == kWeapon ? 0 : id == kTravel ? 5 : 9);
            if (id == kPotion)
                r.kind1 = 10, r.value1 = 30;
            if (id == kBigPotion)
                r.kind1 = 10, r.value1 = 30, r.kind2 = 10, r.value2 = 5000;
            if (id == kBlue)
                r.kind2 = 11, r.value2 = 10;
            bed.world.AddItem(id, r);
        }
        bed.GoOnline();
        me = &bed.Me(20, 21);
        g_layerHolder.SetLayer(&ui);
        win.Toggle();
        for (int i = 0; i < 60; ++i) {
            g_uiFrameTicks = 1;
            win.Draw(nullptr);
        }
        ASSERT_EQ(*win.GetPos(), *win.GetOpenPos());
        bed.Received();
    }
    void TearDown() override
    {
        g_layerHolder.SetLayer(nullptr);
        g_uiFrameTicks = 0;
        g_mouseCursor = CMouseCursor{};
        g_commandRing.Reset();
        g_currentMapId = 0;
    }
    CharacterRecord& Rec() { return me->GetCharRecord(); }
    void Hold(std::vector<int> ids)
    {
        for (int i = 0; i < CPlayerInfo::kItemSlots; ++i)
            Rec().SetItem(i, i < int(ids.size()) ? uint16_t(ids[size_t(i)]) : 0);
        grid().Refresh();
    }
    CItemGrid& grid() { return *win.GetGrid(); }
    std::vector<std::string> Lines()
    {
        std::vector<std::string> out;
        for (const std::string& call : bed.ui.log.Calls())
            if (call.rfind("AddLine(", 0) == 0)
                out.push_back(call.substr(9, call.size() - 11));
        bed.ui.log.Clear();
        return out;
    }
    std::vector<uint32_t> Commands()
    {
        std::vector<uint32_t> out;
        for (uint32_t id; (id = g_commandRing.Pop()) != CCommandRing::kEmpty;)
            out.push_back(id);
        return out;
    }

    CCreatureBed bed{64, {}, Archive()};
    CCharacter* me = nullptr;
    CDaradirUzedo ui{nullptr};
    CInvWin win;
};

}  // namespace

TEST_F(ItemGridTest, ScrollingStaysInsideTheList)
{
    struct Row {
        int count;
        std::vector<int> tops;  // after each ScrollDown
        double first, second;   // at the last top
    };
    const Row rows[] = {
        {0, {0, 0}, 0, 0},
        {7, {3, 6, 6}, 6.0 / 7, 1.0},
        {100, std::vector<int>(40, 0), 0.96, 0.98},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.count);
        Hold(std::vector<int>(size_t(r.count), 30));
        grid().SetTopIndex(0);
        std::vector<int> tops;
        for (size_t i = 0; i < r.tops.size(); ++i) {
            grid().ScrollDown();
            tops.push_back(grid().GetTopIndex());
        }
        if (r.count == 100) {
            EXPECT_EQ(tops.back(), CItemGrid::kMaxTop);
        } else {
            EXPECT_EQ(tops, r.tops);
        }
        double a = -1, b = -1;
        grid().GetScrollFraction(&a, &b);
        EXPECT_DOUBLE_EQ(a, r.first);
        EXPECT_DOUBLE_EQ(b, r.second);
    }
    // With 100 items the last row shows 99 and two cells past the list that
    // hold nothing: no pick-up, no drop, the equipment untouched.
    for (double f : {1.0, 7.5, -3.0}) {
        grid().SetScrollFraction(f);
        EXPECT_LE(grid().GetTopIndex(), CItemGrid::kMaxTop);
        EXPECT_GE(grid().GetTopIndex(), 0);
    }
    grid().SetTopIndex(99);
    EXPECT_EQ(grid().GetTopIndex(), 96);
    Rec().SetEquip(0, kWeapon);
    EXPECT_EQ(grid().OnLButtonDown(kCellX + 73 + 5, kCellY + 52 + 5), 0) << "slot 100";
    EXPECT_EQ(grid().OnLButtonDown(kCellX + 146 + 5, kCellY + 52 + 5), 0) << "slot 101";
    EXPECT_EQ(g_mouseCursor.GetItemId(), 0);
    EXPECT_EQ(grid().OnLButtonDown(kCellX + 5, kCellY + 52 + 5), 1) << "slot 99";
    EXPECT_EQ(g_mouseCursor.GetItemId(), 30);
    EXPECT_EQ(grid().OnLButtonUp(kCellX + 146 + 5, kCellY + 52 + 5), 1);
    EXPECT_EQ(g_mouseCursor.GetItemId(), 30) << "not dropped past the list";
    EXPECT_EQ(Rec().Equip(0), kWeapon);
    EXPECT_EQ(grid().OnLButtonUp(kCellX + 5, kCellY + 52 + 5), 1);
    EXPECT_EQ(g_mouseCursor.GetItemId(), 0);
    EXPECT_EQ(Rec().Item(99), 30);
}

TEST_F(ItemGridTest, CellsAndBoxesHitOnlyInsideAndPickOneItemAtATime)
{
    Hold({10, 11, 12, 13, 14, 15, 16});
    struct Hit {
        int32_t x, y;
        int slot;  // -1: not a cell
    };
    const Hit clicks[] = {
        {kCellX, kCellY, 0},           {kCellX - 1, kCellY, -1},      {kCellX, kCellY - 1, -1},
        {kCellX + 3 * 73 - 1, kCellY + 2 * 52 - 1, 5},               {kCellX + 3 * 73, kCellY, -1},
        {kCellX, kCellY + 2 * 52, -1},
    };
    for (const Hit& h : clicks) {
        EXPECT_EQ(grid().SlotAt(h.x, h.y, CItemGrid::kClickTop), h.slot) << h.x << "," << h.y;
        EXPECT_EQ(grid().SlotAt(h.x, h.y - 3, CItemGrid::kDoubleClickTop), h.slot) << "3 pixels higher";
    }

    // One carried item: the grid, the boxes and the cabinet refuse a second.
    Rec().SetEquip(0, kWeapon);
    EXPECT_EQ(grid().OnLButtonDown(kCellX + 5, kCellY + 5), 1);
    EXPECT_EQ(g_mouseCursor.GetItemId(), 10);
    EXPECT_EQ(grid().OnLButtonDown(kCellX + 80, kCellY + 5), 0);
    CItemBoxGroup* box = win.GetBox(0);
    ASSERT_EQ(box->GetState(), CWidget::kOpen);
    ASSERT_EQ(*box->GetPos(), (CPoint{628, 20}));
    const int32_t bx = box->GetPos()->x + 10, by = box->GetPos()->y + 10;
    EXPECT_EQ(box->OnLButtonDown(bx, by), 0);
    EXPECT_EQ(Rec().Equip(0), kWeapon);
    EXPECT_EQ(Rec().Item(1), 11);
    EXPECT_EQ(g_mouseCursor.GetItemId(), 10);
    // Dropped on the weapon box it does not fit; the release returns it.
    EXPECT_EQ(box->OnLButtonUp(bx, by), 1);
    g_mouseCursor.ReturnCarried();
    EXPECT_EQ(Rec().Item(0), 10);
    // The weapon comes off its box and goes back.
    EXPECT_EQ(box->OnLButtonDown(bx, by), 1);
    EXPECT_EQ(g_mouseCursor.GetItemId(), kWeapon);
    EXPECT_EQ(box->OnLButtonUp(bx, by), 1);
    EXPECT_EQ(Rec().Equip(0), kWeapon);
    EXPECT_EQ(g_mouseCursor.GetItemId(), 0);
    EXPECT_TRUE(bed.Received().empty()) << "nothing moved for the server";
}

TEST_F(ItemGridTest, TheBoxesSlideInOneAfterAnother)
{
    CInvWin inv;
    inv.Toggle();
    std::vector<int> opened(CInvWin::kBoxes, -1);
    for (int tick = 1; tick <= 60; ++tick) {
        g_uiFrameTicks = 1;
        for (int i = 0; i < CInvWin::kBoxes; ++i) {
            inv.GetBox(i)->Update();
            if (opened[size_t(i)] < 0 && inv.GetBox(i)->GetState() == CWidget::kOpen)
                opened[size_t(i)] = tick;
        }
    }
    // 640 + 160 i of delay at 64 a tick, then 272 pixels at 64 a tick.
    for (int i = 0; i < CInvWin::kBoxes; ++i)
        EXPECT_EQ(opened[size_t(i)], 10 + (160 * i + 63) / 64 + 5) << i;
    EXPECT_EQ(*inv.GetBox(3)->GetPos(), (CPoint{628, 90}));
}

TEST_F(ItemGridTest, ItemUseConsumesOnlyWhatActed)
{
    Rec().SetU32(CharacterRecord::kConstitution, 10);
    Rec().SetU32(CharacterRecord::kWisdom, 10);
    const int maxHp = CalcMaxHp(Rec()), maxMp = CalcMaxMp(Rec());
    ASSERT_GT(maxHp, 40);
    ASSERT_GT(maxMp, 11);
    struct Row {
        const char* name;
        std::vector<int> held;
        int hp, mp;
        bool deathMatch;
        std::vector<int> heldAfter;
        int hpAfter, mpAfter;
        std::vector<std::string> lines;
        std::vector<uint32_t> commands;
        Bytes sent;
    };
    const Row rows[] = {
        {"a potion at full HP is kept", {kPotion, 30}, maxHp, 0, false, {kPotion, 30}, maxHp, 0, {}, {}, {}},
        {"a potion below the maximum", {kPotion, 30}, 10, 0, false, {30}, 40, 0, {}, {}, {53, 57, 0}},
        {"a potion capped", {kPotion}, maxHp - 5, 0, false, {}, maxHp, 0, {}, {}, {53, 57, 0}},
        {"two HP pairs: the second decides", {kBigPotion}, 10, 0, false, {}, maxHp, 0, {}, {}, {53, 57, 0}},
        {"the MP pair", {kBlue}, 10, 1, false, {}, 10, 11, {}, {}, {53, 57, 0}},
        {"in a death match", {kPotion}, 10, 0, true, {kPotion}, 10, 0, {GetGameString(86)}, {}, {}},
        {"the comb without the dye", {kComb, 30}, 10, 0, false, {kComb, 30}, 10, 0, {GetGameString(152)}, {}, {}},
        {"the comb with the dye", {kComb, kDye}, 10, 0, false, {kComb, kDye}, 10, 0, {}, {116, 6}, {}},
        {"recall without a point", {kRecall}, 10, 0, false, {kRecall}, 10, 0, {GetGameString(81)}, {}, {}},
        {"recording the point", {kRecord, 30}, 10, 0, false, {30}, 10, 0, {GetGameString(80)},
         {}, {53, 63, 2, 20, 0, 21, 0, 53, 57, 0}},
        {"recall to it", {kRecall}, 10, 0, false, {}, 10, 0, {}, {}, {53, 57, 0}},
        {"back to the start", {kToStart}, 10, 0, false, {}, 10, 0, {}, {}, {53, 57, 0}},
        {"an empty cell", {}, 10, 0, false, {}, 10, 0, {}, {}, {}},
    };
    g_currentMapId = 2;
    CDaradirUzedo& layer = ui;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Hold(r.held);
        Rec().SetU32(CharacterRecord::kHp, uint32_t(r.hp));
        Rec().SetU32(CharacterRecord::kMp, uint32_t(r.mp));
        bed.Layer().m_inBattle = r.deathMatch ? 1 : 0;
        bed.Layer().m_battleNumber = r.deathMatch ? 20001 : 0;
        layer.m_hpQuickItem = layer.m_mpQuickItem = 0;
        Lines();
        EXPECT_EQ(grid().OnLButtonDblClk(kCellX + 5, CItemGrid::kDoubleClickTop + 1), 1);
        std::vector<int> held;
        for (int i = 0; i < int(r.heldAfter.size()) + 1; ++i)
            if (int id = CPlayerInfo::GetItem(Rec(), i))
                held.push_back(id);
        EXPECT_EQ(held, r.heldAfter);
        EXPECT_EQ(Rec().I32(CharacterRecord::kHp), r.hpAfter);
        EXPECT_EQ(Rec().I32(CharacterRecord::kMp), r.mpAfter);
        EXPECT_EQ(Lines(), r.lines);
        EXPECT_EQ(Commands(), r.commands);
        EXPECT_EQ(bed.Received(), r.sent);
        const bool restored = r.sent.size() == 3 && !r.held.empty() && (r.held[0] == kPotion || r.held[0] == kBigPotion);
        EXPECT_EQ(layer.m_hpQuickItem, restored ? r.held[0] : 0);
    }
    bed.Layer().m_inBattle = 0;
    EXPECT_EQ(bed.Layer().StageChange().GetState(), CStageChange::kWipe) << "a stage change started";
}

TEST_F(ItemGridTest, AnItemUsedInABattleTellsTheBattleWhatItRestored)
{
    Rec().SetU32(CharacterRecord::kConstitution, 10);
    Rec().SetU32(CharacterRecord::kWisdom, 12);
    Hold({kPotion});
    Rec().SetU32(CharacterRecord::kHp, 10);
    Rec().SetU32(CharacterRecord::kMp, 3);
    bed.Layer().m_inBattle = 1;
    bed.Layer().m_battleNumber = 0x1234;
    EXPECT_EQ(grid().OnLButtonDblClk(kCellX + 5, CItemGrid::kDoubleClickTop + 1), 1);
    bed.Layer().m_inBattle = 0;
    const uint8_t lo = g_myId & 0xFF, hi = g_myId >> 8;
    // [30][0][u16 battle][7][u16 10]: my id, HP, MP, constitution, wisdom; then the removal.
    const Bytes expected{30, 0, 0x34, 0x12, 7, 10, 0, lo, hi, 40, 0, 3, 0, 10, 0, 12, 0, 53, 57, 0};
    EXPECT_EQ(bed.Received(), expected);
}

TEST_F(ItemGridTest, ARecallPointIsKnownByItsMapNotItsCell)
{
    // Cell (0, 0) of map 1 is a point; before one is recorded the map is -1.
    EXPECT_EQ(bed.Layer().m_recallPoint.map, -1);
    bed.Layer().m_recallPoint = RecallPoint{1, 0, 0};
    Hold({kRecall});
    EXPECT_EQ(grid().OnLButtonDblClk(kCellX + 5, CItemGrid::kDoubleClickTop + 1), 1);
    EXPECT_EQ(CPlayerInfo::GetItem(Rec(), 0), 0) << "used";
    EXPECT_EQ(bed.Received(), (Bytes{53, 57, 0}));
    const CStageChange& change = bed.Layer().StageChange();
    EXPECT_EQ(change.GetState(), CStageChange::kWipe);
    EXPECT_EQ(change.GetStage(), 1);
    EXPECT_EQ(change.GetX(), 0);
    EXPECT_EQ(change.GetY(), 0);
    EXPECT_EQ(bed.Layer().m_freeFightNotice, 0u);
    // A point in the free-fight map: the field warns of it on arrival.
    bed.Layer().m_recallPoint = RecallPoint{3, 124, 402};
    Hold({kRecall});
    EXPECT_EQ(grid().OnLButtonDblClk(kCellX + 5, CItemGrid::kDoubleClickTop + 1), 1);
    EXPECT_EQ(change.GetStage(), 3);
    EXPECT_EQ(bed.Layer().m_freeFightNotice, 1u);
}

TEST_F(ItemGridTest, QuickRestoresUseTheChosenPotionOrABuiltInOne)
{
    Rec().SetU32(CharacterRecord::kConstitution, 10);
    Rec().SetU32(CharacterRecord::kWisdom, 10);
    const int maxHp = CalcMaxHp(Rec()), maxMp = CalcMaxMp(Rec());
    struct Row {
        const char* name;
        uint32_t command;
        int quick;  // the chosen item of the kind
        std::vector<int> held;
        int value;  // HP or MP before
        bool carrying, deathMatch;
        std::vector<int> heldAfter;
        int valueAfter;
    };
    const Row rows[] = {
        {"the chosen potion", 109, kPotion, {30, kPotion}, 10, false, false, {30}, 40},
        {"the chosen potion, both pairs", 109, kBigPotion, {kBigPotion}, 10, false, false, {}, maxHp},
        {"the chosen potion not held", 109, kPotion, {77}, 10, false, false, {77}, 10},
        {"a built-in one", 109, 0, {30, 77, 74}, 10, false, false, {30, 74}, std::min(90, maxHp)},
        {"a built-in MP one", 108, 0, {75}, 1, false, false, {}, std::min(41, maxMp)},
        {"at the maximum", 109, 0, {74}, maxHp, false, false, {74}, maxHp},
        {"while carrying", 109, 0, {74}, 10, true, false, {74}, 10},
        {"in a death match", 109, 0, {74}, 10, false, true, {74}, 10},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Hold(r.held);
        const size_t field = r.command == 109 ? CharacterRecord::kHp : CharacterRecord::kMp;
        Rec().SetU32(field, uint32_t(r.value));
        (r.command == 109 ? ui.m_hpQuickItem : ui.m_mpQuickItem) = r.quick;
        g_mouseCursor.PickUp(r.carrying ? 30 : 0, CMouseCursor::kFromItems, 50);
        bed.Layer().m_inBattle = r.deathMatch ? 1 : 0;
        bed.Layer().m_battleNumber = r.deathMatch ? 20001 : 0;
        g_commandRing.Push(r.command);
        ui.DispatchCommands();
        std::vector<int> held;
        for (int i = 0; i < 4; ++i)
            if (int id = CPlayerInfo::GetItem(Rec(), i))
                held.push_back(id);
        EXPECT_EQ(held, r.heldAfter);
        EXPECT_EQ(Rec().I32(field), r.valueAfter);
        const bool used = held.size() < r.held.size();
        EXPECT_EQ(bed.Received().size(), used ? 3u : 0u) << "field 57 for the slot used";
        ui.m_hpQuickItem = ui.m_mpQuickItem = 0;
    }
    bed.Layer().m_inBattle = 0;
    g_mouseCursor.Clear();
}
