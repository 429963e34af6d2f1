// The bank, the money-transfer form and the cabinet as the UI layer builds
// them: the cabinet's grid, its one-item rule, the Escape commands and the
// dispatcher's bank, cabinet and transfer commands with their bounds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandRing.h"
#include "app/ReceiveDispatch.h"
#include "app/StringTable.h"
#include "core/TextLayer.h"
#include "fixtures/FontBuilder.h"
#include "intro/IntroLayer.h"
#include "ui/MessageRing.h"
#include "support/SentPackets.h"
#include "support/TestWorld.h"
#include "ui/InputFocus.h"
#include "windows/CabinetCell.h"
#include "windows/CabinetWin.h"
#include "windows/DaradirUzedo.h"
#include "windows/DispatchCommands.h"
#include "windows/MouseCursor.h"
#include "windows/PlayerInfo.h"

namespace {

class BankTest : public testing::Test {
protected:
    BankTest()
    {
        g_layerHolder.SetLayer(&ui);
        ui.CreateWindows();
        Commands();
        OpenTestMainSocket();
        TakeSentPackets();
    }
    ~BankTest() override
    {
        CloseTestMainSocket();
        g_layerHolder.SetLayer(nullptr);
        g_mouseCursor = CMouseCursor{};
        ResetDispatchGlobals();
    }
    CWidget* Find(int32_t id) { return ui.GetRootContainer()->FindChild(id); }
    std::vector<uint32_t> Commands()
    {
        std::vector<uint32_t> out;
        for (uint32_t id; (id = g_commandRing.Pop()) != CCommandRing::kEmpty;)
            out.push_back(id);
        return out;
    }
    void Run(std::initializer_list<uint32_t> ids)
    {
        for (uint32_t id : ids)
            g_commandRing.Push(id);
        ui.DispatchCommands();
    }
    std::vector<int> Cabinet()
    {
        std::vector<int> v;
        for (int i = 0; i < CPlayerInfo::kCabinetSlots; ++i)
            v.push_back(g_playerInfo.GetCabinetItem(i));
        while (!v.empty() && v.back() == 0)
            v.pop_back();
        return v;
    }
    std::string Amount() { return Find(97)->FindChild(96)->GetText(); }

    CTestWorld world;
    CDaradirUzedo ui{nullptr};
};

}  // namespace

TEST_F(BankTest, TheCabinetGridCountsHitsAndMovesOneItemAtATime)
{
    auto* win = dynamic_cast<CCabinetWin*>(Find(98));
    ASSERT_NE(win, nullptr);
    for (int i : {0, 1, 2, 3, 4, 6})
        g_playerInfo.SetCabinetItem(i, 20 + i);
    win->SetState(CWidget::kOpen);
    win->SetPos(*win->GetOpenPos());
    win->Draw(nullptr);
    CCabinetCell* cell = win->GetCell();
    cell->Refresh();
    EXPECT_EQ(cell->GetCount(), 5) << "up to the first empty slot";

    const int32_t ox = 133 + CCabinetCell::kOrigin, oy = 93 + CCabinetCell::kOrigin;
    const struct {
        int32_t x, y, slot;
    } hits[] = {{133 + 10, oy + 5, -1}, {ox, oy, 0},   {ox + 4 * 73 - 1, oy + 5 * 53 - 1, 19},
                {ox + 4 * 73, oy, -1},  {ox, oy + 5 * 53, -1}, {ox + 73 + 1, oy + 53 + 1, 5}};
    for (const auto& h : hits)
        EXPECT_EQ(cell->SlotAt(h.x, h.y), h.slot) << h.x << "," << h.y;
    EXPECT_EQ(cell->OnLButtonDown(133 + 10, oy + 5), 0);

    EXPECT_EQ(cell->OnLButtonDown(ox + 146 + 1, oy + 1), 1);
    EXPECT_EQ(g_mouseCursor.GetItemId(), 22);
    EXPECT_EQ(g_mouseCursor.GetSource(), CMouseCursor::kFromCabinet);
    EXPECT_EQ(Cabinet(), (std::vector<int>{20, 21, 0, 23, 24, 0, 26}));
    EXPECT_EQ(cell->OnLButtonDown(ox + 1, oy + 1), 0) << "one item at a time";
    EXPECT_EQ(g_playerInfo.GetCabinetItem(0), 20);
    EXPECT_EQ(cell->OnLButtonUp(ox + 2 * 73 + 1, oy + 2 * 53 + 1), 1);  // cell 10
    EXPECT_EQ(g_mouseCursor.GetItemId(), 0);
    EXPECT_EQ(Cabinet(), (std::vector<int>{20, 21, 23, 24, 0, 26, 22}));
    EXPECT_EQ(TakeSentPackets(), (std::vector<SentPacket>{{53, 66, 7, 22, 0}, {53, 67, 2}}));
    EXPECT_EQ(cell->OnLButtonUp(ox + 1, oy + 1), 1) << "a release with nothing carried is taken";
    EXPECT_TRUE(TakeSentPackets().empty());

    EXPECT_EQ(Find(98)->OnEscape(), 98);
    EXPECT_EQ(Find(97)->OnEscape(), 97);
    EXPECT_EQ(Commands(), (std::vector<uint32_t>{125, 127}));
}

TEST_F(BankTest, TheBankOpensTheCabinetBesideTheInventory)
{
    Run({123});
    EXPECT_TRUE(ui.IsWindowOpen(94));
    Run({125});
    EXPECT_FALSE(ui.IsWindowOpen(94));
    EXPECT_TRUE(ui.IsWindowOpen(98));
    EXPECT_TRUE(ui.IsWindowOpen(9));
    g_mouseCursor.PickUp(5, CMouseCursor::kFromCabinet, 0);
    Run({125});
    EXPECT_TRUE(ui.IsWindowOpen(98)) << "not while an item is carried";
    g_mouseCursor.Clear();
    Run({125});
    EXPECT_FALSE(ui.IsWindowOpen(98));
    EXPECT_FALSE(ui.IsWindowOpen(9));
    Run({123, 124});
    EXPECT_FALSE(ui.IsWindowOpen(94));
    EXPECT_TRUE(ui.IsWindowOpen(97));
}

TEST_F(BankTest, TransferAmountsStayWithinTheMoneyAndTheLimit)
{
    CharacterRecord& me = world.MyRecord();
    Find(97)->SetState(CWidget::kOpen);
    struct Row {
        uint32_t money;
        const char* typed;   // box 96 before, null: as left
        uint32_t command;
        std::string amount;  // box 96 after
        int32_t percent;
    };
    const Row rows[] = {
        {12345, nullptr, 131, "6150", 50},
        {12345, nullptr, 128, "7150", 58},
        {12345, nullptr, 129, "6150", 50},
        {12345, "99999999999", 128, "99999999999", 50},
        {12345, "99999999999", 129, "99000", 100},
        {12345, "-5", 129, "0", 100},
        {12345, "abc", 128, "1000", 8},
        {50, "5000", 129, "4000", 0},
        {500000, nullptr, 131, "0", 0},
        {4000000000u, "200", 131, "0", 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.command) + " " + (r.typed ? r.typed : ""));
        me.SetU32(CharacterRecord::kMoney, r.money);
        if (r.typed)
            Find(97)->FindChild(96)->SetText(r.typed);
        Run({r.command});
        EXPECT_EQ(Amount(), r.amount);
        EXPECT_EQ(g_transferPercent, r.percent);
        EXPECT_GE(ui.m_transferAmount, 0);
        EXPECT_LE(ui.m_transferAmount, 100000);
    }
    Run({127});
    EXPECT_EQ(Amount(), "");
    EXPECT_EQ(ui.m_transferAmount, 0);
    EXPECT_FALSE(ui.IsWindowOpen(97));
    EXPECT_EQ(me.U32(CharacterRecord::kMoney), 4000000000u) << "only the server's reply moves money";
    EXPECT_TRUE(TakeSentPackets().empty());
}

TEST_F(BankTest, TheSlidersAmountTakesTheEditLineOntoItsBox)
{
    struct TextLayer {
        CTextLayer text{nullptr};
        TextLayer()
        {
            const Bytes han = CFontBuilder::HangulFont(), eng = CFontBuilder::EnglishFont();
            text.SetFontData(han.data(), han.size(), eng.data(), eng.size());
            g_pTextLayer = &text;
        }
        ~TextLayer() { g_pTextLayer = nullptr; }
    } layer;
    std::vector<uint8_t> screen(800 * 600, 0);
    // The edit line's ink (colour 60) in the band of a box's text.
    auto ink = [&](int x, int y) {
        int n = 0;
        for (int row = y; row < y + 14; ++row)
            for (int col = x; col < x + 115; ++col)
                n += screen[static_cast<size_t>(row) * 800 + static_cast<size_t>(col)] == 60 ? 1 : 0;
        return n;
    };
    world.MyRecord().SetU32(CharacterRecord::kMoney, 12345);
    // The form comes with the recipient's box focused; the first frame
    // starts the edit line there.
    Run({124});
    Find(97)->SetState(CWidget::kOpen);
    g_inputFocus.DrawWidgetInput(screen.data());
    // A move of the slider: the amount's box takes the line with its text.
    Run({131});
    std::fill(screen.begin(), screen.end(), 0);
    g_inputFocus.DrawWidgetInput(screen.data());
    EXPECT_EQ(g_inputFocus.GetFocusWidget(), Find(97)->FindChild(96));
    EXPECT_EQ(Amount(), "6150");
    EXPECT_GT(ink(233 + 151, 93 + 105), 20) << "the amount on its own box";
    EXPECT_EQ(ink(233 + 152, 93 + 53), 0) << "nothing over the recipient's box";
}

TEST_F(BankTest, SendingMoneyChecksInOrderThenLeavesByChatAndClosesTheForm)
{
    CharacterRecord& me = world.MyRecord();
    me.SetU32(CharacterRecord::kMoney, 5000);
    const AccountRecord savedRecord = g_loginRecord;
    const int32_t savedSlot = g_selectedSlot;
    g_loginRecord.SetSlot(1, 0, "myself", 3);
    g_selectedSlot = 1;
    struct Row {
        const char* recipient;
        const char* amount;
        int message;  // the refusal's string, 0 when it leaves
    };
    const Row rows[] = {
        {"", "100", 157},      {"bob", "", 158},         {"bob", "0", 158},  {"myself", "100", 159},
        {"bob", "100000", 173}, {"bob", "-3", 177},      {"bob", "5001", 178}, {"bob", "5000", 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.recipient) + " " + r.amount);
        Find(97)->SetState(CWidget::kOpen);
        Find(97)->FindChild(95)->SetText(r.recipient);
        Find(97)->FindChild(96)->SetText(r.amount);
        const int before = g_messageRing.GetLineCount();
        Run({126});
        if (r.message) {
            ASSERT_EQ(g_messageRing.GetLineCount(), before + 1);
            EXPECT_STREQ(g_messageRing.GetLine(0)->text, GetGameString(r.message));
            EXPECT_TRUE(TakeSentPackets().empty());
            EXPECT_TRUE(ui.IsWindowOpen(97));
            continue;
        }
        // [8][13][u16 0][u16 21], the 12-byte name, region, x, y, the amount.
        const SentPacket expected{8, 13, 0, 0, 21, 0, 'b', 'o', 'b', 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                  0, 0, 0, 0, 0, 0x88, 0x13, 0, 0};
        EXPECT_EQ(TakeSentPackets(), std::vector<SentPacket>{expected});
        EXPECT_FALSE(ui.IsWindowOpen(97));
        EXPECT_EQ(Amount(), "");
        EXPECT_EQ(me.U32(CharacterRecord::kMoney), 5000u) << "only the server's reply moves money";
    }
    g_loginRecord = savedRecord;
    g_selectedSlot = savedSlot;
}
