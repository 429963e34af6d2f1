// The market's rows from bound list files, their sorting, buying and
// selling (money and items conserved, only the row the player chose is
// sold), the market window's sort step and clicks, and a merchant with
// more wares than the market shows at once in the whole client.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/CommandRing.h"
#include "core/ResFile.h"
#include "fixtures/ItemRecordWriter.h"
#include "fixtures/SampleWorld.h"
#include "fixtures/WidgetSprites.h"
#include "support/FakeUi.h"
#include "support/SampleTown.h"
#include "support/SentPackets.h"
#include "support/TestWorld.h"
#include "ui/MarketList.h"
#include "ui/WidgetContainer.h"
#include "windows/DaradirUzedo.h"
#include "windows/ItemList.h"
#include "windows/MarketWin.h"
#include "windows/PlayerInfo.h"

namespace {

Bytes Ids(std::initializer_list<uint32_t> ids)
{
    Bytes b;
    for (uint32_t id : ids)
        for (int k = 0; k < 4; ++k)
            b.push_back(static_cast<uint8_t>(id >> (8 * k)));
    return b;
}

CArchiveBuilder Archive()
{
    CArchiveBuilder b = CArchiveBuilder::MinimalGame();
    CWidgetSprites::AddTo(b);
    b.Add("MarketWin.slr", CWidgetSprites::File(1, 440, 420, 3));
    for (const char* button : {"ItemBtn.slr", "PriceBtn.slr", "LevBtn.slr", "EffBtn.slr"})
        b.Add(button, CWidgetSprites::File(4, 40, 16, 20));
    b.Nested().Replace("weapon01.bin", Ids({5, 9, 7, 0xFFFFFFFF, 6}));
    Bytes many;
    for (uint32_t i = 0; i < 300; ++i)
        for (uint8_t byte : Ids({1 + i % 9}))
            many.push_back(byte);
    b.Nested().Replace("weapon02.bin", many);
    // Two of 5, one id past the signed range, a torn last id.
    Bytes odd = Ids({5, 0x12345, 6, 5});
    odd.push_back(7);
    b.Nested().Replace("shield01.bin", odd);
    return b;
}

class Market : public testing::Test {
protected:
    void SetUp() override
    {
        // Id: name, price, level; the long name is cut to 31 bytes.
        const struct {
            const char* name;
            int price, level;
        } items[] = {{"", 0, 0},       {"Axe", 300, 2},      {"Bow", 100, 1},     {"Club", 100, 3},
                     {"Dirk", 50, 1},  {"L", 700, 1},        {"Flail", 200, 4},   {"Glaive", 800, 5},
                     {"Halberd", 900, 7}, {"Ice", 120, 9}};
        for (int id = 1; id <= 9; ++id) {
            ItemRecord r = MakeItemRecord("", id == 5 ? std::string(40, 'L') : items[id].name, 9);
            r.price = items[id].price;
            r.requiredLevel = items[id].level;
            r.weight = 1;
            world.AddItem(id, r);
        }
        world.MyRecord().SetU32(CharacterRecord::kStrength, 6);
        // The game binds the list files at start-up.
        ASSERT_EQ(ResOpenArchive(), 0);
        ASSERT_EQ(ResOpenBindFile(), 1);
        OpenTestMainSocket();
        TakeSentPackets();
        g_itemList.Clear();
    }
    void TearDown() override
    {
        CloseTestMainSocket();
        g_itemList.Clear();
        g_commandRing.Reset();
    }
    std::vector<int> Numbers()
    {
        std::vector<int> v;
        for (int i = 0; i < g_itemList.GetCount(); ++i)
            v.push_back(g_itemList.GetRow(i).number);
        return v;
    }
    std::vector<int> Ids()
    {
        std::vector<int> v;
        for (int i = 0; i < g_itemList.GetCount(); ++i)
            v.push_back(g_itemList.GetRow(i).itemId);
        return v;
    }
    int Money() { return g_playerInfo.GetMoney(); }
    void Hold(std::initializer_list<int> ids)
    {
        int slot = 0;
        for (int i = 0; i < CPlayerInfo::kItemSlots; ++i)
            world.MyRecord().SetItem(i, 0);
        for (int id : ids)
            world.MyRecord().SetItem(slot++, static_cast<uint16_t>(id));
    }
    void Choose(int number) { *g_itemList.GetSelectionPtr() = number; }

    CTestWorld world{Archive()};
    FakeUi ui;
};

}  // namespace

TEST_F(Market, ListFilesGiveNumberedRowsWithTheirLines)
{
    g_itemList.Load("weapon01.bin");
    EXPECT_EQ(Ids(), (std::vector<int>{5, 9, 7})) << "stops at the end marker";
    EXPECT_EQ(Numbers(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(g_itemList.GetMode(), CItemList::kBuy);
    const std::string longName(31, 'L');
    EXPECT_EQ(std::string(g_itemList.GetRow(0).name.data()), longName);
    char expected[128];
    std::snprintf(expected, sizeof expected, " %-20s %12d  %12d    %-30s", "Ice", 120, 9,
                  g_itemList.GetRow(1).description.data());
    EXPECT_EQ(std::string(g_itemList.GetRow(1).line.data()), std::string(expected).substr(0, 95));

    g_itemList.Load("weapon02.bin");
    EXPECT_EQ(g_itemList.GetCount(), 255) << "the 256th id is not read";
    g_itemList.Load("shield01.bin");
    EXPECT_EQ(Ids(), (std::vector<int>{5, 6, 5})) << "an id past 32767 and a torn id are skipped";
    g_itemList.Load("nothing.bin");
    EXPECT_EQ(g_itemList.GetCount(), 0);
    EXPECT_EQ(g_itemList.GetSelected(nullptr), -1);

    Hold({7, 2, 5});
    g_itemList.LoadSellable("shield01.bin");
    EXPECT_EQ(Ids(), (std::vector<int>{5, 5})) << "only held ids, each listing a row";
    EXPECT_EQ(g_itemList.GetRow(0).price, 350);
    EXPECT_EQ(g_itemList.GetMode(), CItemList::kSell);
    std::snprintf(expected, sizeof expected, " %-20s  %12d %12d    %-30s", longName.c_str(), 350, 1,
                  g_itemList.GetRow(0).description.data());
    EXPECT_EQ(std::string(g_itemList.GetRow(0).line.data()), std::string(expected).substr(0, 95));
}

TEST_F(Market, SortingKeepsEachRowsNumberAndBreaksTiesByName)
{
    g_itemList.Load("weapon02.bin");  // ids 1..9 repeating
    g_itemList.Load("weapon01.bin");
    struct Row {
        CItemList::Comparator less;
        std::vector<int> ids;
    };
    // 5 "LLL..." 700, level 1; 9 "Ice" 120, level 9; 7 "Glaive" 800, level 5.
    const Row rows[] = {
        {CItemList::CompareName, {7, 9, 5}},
        {CItemList::ComparePrice, {9, 5, 7}},
        {CItemList::CompareLevel, {5, 7, 9}},
        {CItemList::CompareDescription, {7, 9, 5}},
    };
    for (const Row& r : rows) {
        g_itemList.Load("weapon01.bin");
        g_itemList.Sort(nullptr, r.less);
        EXPECT_EQ(Ids(), r.ids);
    }
    Choose(2);  // Ice
    g_itemList.Sort(nullptr, CItemList::ComparePrice);
    int price = 0;
    EXPECT_EQ(g_itemList.GetSelected(&price), 9) << "the selection follows its row";
    EXPECT_EQ(price, 120);

    // Bow, Club and Glaive cost 100: by name.
    g_itemList.Load("weapon02.bin");
    g_itemList.Sort(nullptr, CItemList::ComparePrice);
    const std::vector<int> ids = Ids();
    EXPECT_EQ(std::vector<int>(ids.begin(), ids.begin() + 3), (std::vector<int>{4, 4, 4})) << "Dirk, 50";
    const auto at = std::find(ids.begin(), ids.end(), 2);
    ASSERT_NE(at, ids.end());
    EXPECT_EQ(at[0], 2);
    EXPECT_EQ(*std::find_if(at, ids.end(), [](int id) { return id != 2; }), 3) << "Bow before Club";
}

TEST_F(Market, BuyingAndSellingConserveMoneyAndItems)
{
    world.MyRecord().SetU32(CharacterRecord::kMoney, 250);
    g_itemList.Load("weapon01.bin");
    Choose(1);  // 700: too dear
    g_itemList.BuySelected();
    EXPECT_EQ(Money(), 250);
    EXPECT_TRUE(TakeSentPackets().empty());
    Choose(2);  // Ice, 120
    g_itemList.BuySelected();
    EXPECT_EQ(Money(), 130);
    EXPECT_EQ(TakeSentPackets(), (std::vector<SentPacket>{{53, 51, 0, 9, 0}, {53, 30, 130, 0, 0, 0}}));

    // The first Sell press only shows the sell list, whatever was chosen.
    Hold({9, 7, 9});
    Choose(1);
    g_itemList.SellSelected();
    EXPECT_EQ(g_itemList.GetMode(), CItemList::kSell);
    EXPECT_EQ(Money(), 130);
    EXPECT_EQ(Ids(), (std::vector<int>{9, 7}));
    Choose(1);
    g_itemList.SellSelected();
    EXPECT_EQ(Money(), 190);
    EXPECT_EQ(TakeSentPackets(), (std::vector<SentPacket>{{53, 52, 0, 9, 0, 2, 0, 0}, {53, 30, 190, 0, 0, 0}}));
    // Selling again without a new choice sells nothing.
    g_itemList.SellSelected();
    EXPECT_EQ(Money(), 190);
    EXPECT_TRUE(TakeSentPackets().empty());

    // A stale row: its item was dropped meanwhile.
    Choose(2);  // the 7, at 400
    Hold({9});
    g_itemList.SellSelected();
    EXPECT_EQ(Money(), 190) << "nothing held, nothing paid";
    EXPECT_TRUE(TakeSentPackets().empty());

    // Buy in the sell list goes back to the goods and buys nothing.
    Choose(1);
    g_itemList.BuySelected();
    EXPECT_EQ(g_itemList.GetMode(), CItemList::kBuy);
    EXPECT_EQ(Money(), 190);
}

TEST_F(Market, TheWindowSortsOncePerNewColumnAndTakesEveryClickWhileOpen)
{
    CMarketWin win;
    g_itemList.Load("weapon01.bin");
    win.SetState(CWidget::kOpen);
    win.SetPos(*win.GetOpenPos());
    win.Refresh();
    EXPECT_EQ(win.GetList()->GetRowCount(), 3);
    win.Draw(nullptr);
    EXPECT_EQ(win.GetSortCount(), 0) << "nothing sorted before a column is chosen";
    struct Press {
        int32_t column;
        int sorts;  // after the draw
        int firstId;
    };
    const Press presses[] = {{11, 1, 9}, {11, 1, 9}, {13, 2, 7}, {11, 3, 9}, {10, 4, 7}};
    for (const Press& p : presses) {
        // The toggle buttons store their value in the window's selection.
        const int32_t x = win.GetPos()->x, y = win.GetPos()->y;
        const struct {
            int32_t col, ox, oy;
        } buttons[] = {{10, 52, 43}, {11, 174, 42}, {12, 274, 44}, {13, 343, 42}};
        for (const auto& b : buttons)
            if (b.col == p.column) {
                EXPECT_EQ(win.OnLButtonDown(x + b.ox + 1, y + b.oy + 1), 1);
            }
        win.Draw(nullptr);
        EXPECT_EQ(win.GetSortCount(), p.sorts) << p.column;
        EXPECT_EQ(win.GetList()->GetRow(0).value, g_itemList.GetRow(0).number);
        EXPECT_EQ(g_itemList.GetRow(0).itemId, p.firstId);
    }
    EXPECT_EQ(win.OnLButtonDown(0, 0), 1) << "open: taken anywhere";
    EXPECT_EQ(win.OnLButtonDblClk(799, 599), 1);
    win.SetState(CWidget::kClosed);
    EXPECT_EQ(win.OnLButtonDown(win.GetPos()->x + 5, win.GetPos()->y + 5), 0);
}

// ---- the whole client ---------------------------------------------------------

namespace {

// The merchant's list with more wares than 128: potions, a helmet as the
// 200th, an axe as the 255th, a mail coat as the 256th (never read).
CArchiveBuilder ManyWares()
{
    constexpr uint32_t kPotion = 3, kHelmet = 6, kAxe = 5, kMailCoat = 7;
    Bytes list;
    for (uint32_t i = 1; i <= 300; ++i) {
        const uint32_t id = i == 200 ? kHelmet : i == 255 ? kAxe : i == 256 ? kMailCoat : kPotion;
        for (int k = 0; k < 4; ++k)
            list.push_back(static_cast<uint8_t>(id >> (8 * k)));
    }
    CArchiveBuilder b = CSampleWorld::Builder();
    b.Nested().Replace("weapon01.bin", list);
    return b;
}

class MarketClient : public testing::Test, protected CSampleTown {
protected:
    MarketClient() : CSampleTown(ManyWares()) {}
    CWidget* Win(int32_t id) { return g_layerHolder.GetLayer()->GetRootContainer()->FindChild(id); }
    bool Opens(int32_t id)
    {
        return h.RunUntil([&] { return Win(id)->GetState() == CWidget::kOpen; }, 20000);
    }
    // The item-list (51) and money (30) reports since `from` field reports.
    std::vector<Bytes> Reports(size_t from)
    {
        const std::vector<Bytes> all = game.Taken(53);
        std::vector<Bytes> out;
        for (size_t i = from; i < all.size(); ++i)
            if (all[i][1] == 51 || all[i][1] == 30)
                out.push_back(all[i]);
        return out;
    }
};

}  // namespace

// The weapon merchant's market with 300 ids in its list: 255 rows, sorted
// by price, scrolled to the end; the last two rows, far past the 128th, are
// drawn and bought.
TEST_F(MarketClient, AllOfTwoHundredAndFiftyFiveWaresAreShownAndSold)
{
    ASSERT_TRUE(LogIn(false));
    const size_t before = game.Taken(53).size();
    ASSERT_TRUE(ClickNpcAt(179, 292)) << "the weapon merchant";
    ASSERT_TRUE(Opens(102));
    h.RunForMs(200);
    ClickAt(240 + 47 + 20, 123 + 85 + 10);  // the shop's items button
    ASSERT_TRUE(Opens(58));
    h.RunForMs(300);

    // The price column, then the scroll bar's track at its bottom.
    const int kX = Win(58)->GetPos()->x, kY = Win(58)->GetPos()->y;
    ClickAt(kX + 174 + 10, kY + 42 + 8);
    ClickAt(kX + 435, kY + 320);
    h.RunForMs(300);
    // 253 potions at 20, the helmet at 150, the axe at 450; the mail coat
    // (400) would stand between them.
    auto rowY = [&](int i) { return kY + 93 + 5 + i * 14; };
    // Their names and prices; the rest of the line runs past the list.
    const std::string helmet = std::string(g_itemList.GetRow(253).line.data()).substr(0, 36);
    const std::string axe = std::string(g_itemList.GetRow(254).line.data()).substr(0, 36);
    ASSERT_EQ(g_itemList.GetCount(), 255);
    EXPECT_EQ(Shown(helmet, kX + 16 + 5, rowY(14), 162), 1.0) << helmet;
    EXPECT_EQ(Shown(axe, kX + 16 + 5, rowY(15), 162), 1.0) << axe;

    ClickAt(kX + 16 + 60, rowY(15) + 7);
    h.RunForMs(200);
    EXPECT_EQ(Shown(axe, kX + 16 + 5, rowY(15), 60), 1.0) << "the chosen row";
    ClickAt(kX + 25 + 30, kY + 381 + 10);  // Buy
    // The buttons repeat no faster than every 15 frames.
    h.RunForMs(600);
    ClickAt(kX + 16 + 60, rowY(14) + 7);
    ClickAt(kX + 25 + 30, kY + 381 + 10);
    h.RunForMs(300);
    // Slot 0 the axe, money 1550; slot 1 the helmet, money 1400.
    EXPECT_EQ(Reports(before), (std::vector<Bytes>{{53, 51, 0, 5, 0},
                                                   {53, 30, 1550 & 0xFF, 1550 >> 8, 0, 0},
                                                   {53, 51, 1, 6, 0},
                                                   {53, 30, 1400 & 0xFF, 1400 >> 8, 0, 0}}));
    EXPECT_EQ(game.Record().I32(CharacterRecord::kMoney), 1400);
    EXPECT_EQ(game.Items()[0], 5);
    EXPECT_EQ(game.Items()[1], 6);
    for (const auto& box : h.Boxes())
        ADD_FAILURE() << box.text;
}
