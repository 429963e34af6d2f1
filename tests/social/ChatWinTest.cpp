// The chat window and the big chat: a typed line leaves as command 7 and its
// echo from the server comes back through the field's command 7 into the
// history; the history's size; the gauges on the screen; the overlay of the
// closed window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <algorithm>
#include <cstring>

#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "intro/AccountRecord.h"
#include "intro/IntroLayer.h"
#include "net/MySocket.h"
#include "support/FakeServer.h"
#include "support/Harness.h"
#include "ui/InputFocus.h"
#include "rules/CalcData.h"
#include "social/ChatLine.h"
#include "social/ChatTestEnv.h"
#include "social/ChatWin.h"
#include "windows/PlayerInfo.h"
#include "windows/UiService.h"
#include "world/ObjLayer.h"

namespace {


class ChatWindows : public ChatTest {
protected:
    // The real UI answers the field (the bed records the calls otherwise).
    ChatWindows() { SetUi(nullptr); }

    // Pixels of the colour in the gauge's row from its origin.
    int GaugeWidthOnScreen(int x, int y, uint8_t colour)
    {
        int n = 0;
        while (x + n < 800 && screen[static_cast<size_t>(y + 5) * 800 + static_cast<size_t>(x + n)] == colour)
            ++n;
        return n;
    }

    std::vector<uint8_t> screen = std::vector<uint8_t>(800 * 600, 0);
};

TEST_F(ChatWindows, ATypedLineLeavesAndItsEchoShowsInTheHistory)
{
    auto* chat = dynamic_cast<CChatWin*>(&Chat());
    ASSERT_NE(chat, nullptr);
    ASSERT_NE(dynamic_cast<CBigChatWin*>(&BigChat()), nullptr);
    EXPECT_EQ(chat->GetState(), CWidget::kOpen);
    EXPECT_EQ(BigChat().GetState(), CWidget::kClosed);
    EXPECT_EQ(BigChat().GetText(), chat->GetText()) << "one input line";
    CPoint at;
    BigChat().GetInputPos(&at);
    EXPECT_EQ(at, (CPoint{25, 558}));

    Type("hello all");
    EXPECT_EQ(Sent(), ChatPacket(0, "hello all"));
    Receive(Received(CCreatureBed::kMyId, "Arin", 0, "hello all"));
    EXPECT_STREQ(chat->GetLines()[1], "[Arin] hello all");
    // A whisper from a Korean name: the name shown in Johab, answered with
    // "!!" in CP949.
    const std::string name = "김철";
    English(true);
    Receive(Received(40, name, 1, "Arin see you"));
    EXPECT_EQ(std::string(chat->GetLines()[1]), "From " + Johab(name) + " : see you");
    English(false);
    Type("!!ok");
    EXPECT_EQ(Sent(), ChatPacket(1, name + " ok"));
    // A slash command's reply lands in the same history.
    Receive(ChatReply(2, 3));
    EXPECT_EQ(std::string(chat->GetLines()[1]), Johab("현재 3명이 Tolmar에 들어와 있습니다."));
    EXPECT_EQ(chat->GetLineAttrs()[1], CChatLine::kReplyColour);
}

TEST_F(ChatWindows, TheHistoryKeepsTheNewestLinesAndTheBigChatShowsTheSame)
{
    CWidgetWindow& chat = Chat();
    for (int i = 0; i < 35; ++i)
        chat.AddTextLine(("line " + std::to_string(i)).c_str(), 60 + i);
    char** lines = chat.GetLines();
    EXPECT_STREQ(lines[1], "line 34");
    EXPECT_EQ(chat.GetLineAttrs()[1], 94);
    EXPECT_STREQ(lines[33], "line 2");
    for (int i = 1; i < 34; ++i)
        EXPECT_STRNE(lines[i], "line 1");
    EXPECT_EQ(BigChat().GetLines(), lines);
    EXPECT_EQ(BigChat().GetLineAttrs(), chat.GetLineAttrs());
    EXPECT_EQ(BigChat().GetMaxLen(), chat.GetMaxLen());
    chat.Clear();
    EXPECT_EQ(chat.GetText()[0], '\0');
}

TEST(ChatGauge, WidthsAreClampedAndSurviveZeroDivisors)
{
    struct Row {
        int64_t value, divisor;
        int32_t max, width;
    };
    const Row rows[] = {
        {0, 100, 54, 1},         {100, 100, 54, 54},   {50, 100, 54, 27},   {-5, 10, 54, 1},
        {500, 100, 54, 54},      {5, 0, 54, 54},       {5, -3, 54, 54},     {40, 80, 99, 49},
        {4294967295LL, 3, 54, 54}, {4294967295LL, 4294967295LL, 54, 54}, {1, 4294967295LL, 54, 1},
    };
    for (const Row& r : rows)
        EXPECT_EQ(CChatWin::GaugeWidth(r.value, r.divisor, r.max), r.width) << r.value << " / " << r.divisor;
}

TEST_F(ChatWindows, TheHpGaugeOnTheScreen)
{
    CharacterRecord& rec = *g_playerInfo.GetMyRecord();
    const int maxHp = CalcMaxHp(rec);
    ASSERT_GT(maxHp, 0);
    struct Row {
        int hp, width;
    };
    for (const Row& r : {Row{0, 1}, Row{maxHp, 54}, Row{maxHp / 2, 54 * (maxHp / 2) / maxHp}, Row{maxHp * 3, 54}}) {
        rec.SetU32(CharacterRecord::kHp, static_cast<uint32_t>(r.hp));
        std::fill(screen.begin(), screen.end(), 0);
        Chat().Draw(screen.data());
        EXPECT_EQ(GaugeWidthOnScreen(602, 479, 119), r.width) << r.hp;
    }
    int32_t widths[CChatWin::kGauges];
    CChatWin::GaugeWidths(widths);
    for (int32_t w : widths)
        EXPECT_GE(w, 1);
}

TEST_F(ChatWindows, TheClosedWindowsOverlayFadesALineEvery150Frames)
{
    CWidgetWindow& chat = Chat();
    for (int i = 0; i < 6; ++i)
        chat.AddTextLine("hi", 60);
    EXPECT_EQ(ui.m_chatOverlayShown, 6);
    chat.SetState(CWidget::kClosed);
    ui.m_gmChatIdle = 1;
    std::vector<int> fadedAt;
    for (int frame = 1; frame <= 1000; ++frame) {
        const int16_t before = ui.m_chatOverlayExpired;
        chat.Draw(screen.data());
        if (ui.m_chatOverlayExpired != before)
            fadedAt.push_back(frame);
    }
    EXPECT_EQ(fadedAt, (std::vector<int>{150, 300, 450, 600, 750, 900}));
    EXPECT_EQ(ui.m_chatOverlayTimer, 900) << "stopped once all had faded";

    // A new line shows alone and starts the count again; while a game
    // master types, nothing fades.
    chat.AddTextLine("again", 60);
    EXPECT_EQ(ui.m_chatOverlayShown, 2);
    EXPECT_EQ(ui.m_chatOverlayExpired, 0);
    ui.m_gmChatIdle = 0;
    for (int frame = 0; frame < 400; ++frame)
        chat.Draw(screen.data());
    EXPECT_EQ(ui.m_chatOverlayExpired, 0);
    EXPECT_EQ(ui.m_chatOverlayTimer, 1);
    // Near the counter's end it starts again at 41.
    ui.m_gmChatIdle = 1;
    ui.m_chatOverlayTimer = 2147483646;
    chat.Draw(screen.data());
    EXPECT_EQ(ui.m_chatOverlayTimer, 42);
}

TEST(ChatClient, ALineTypedInTheRunningClientLeavesAndItsEchoShows)
{
    CHarness h;
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(h.RunUntil([] { return g_pView && g_pView->m_pObjLayer && g_layerHolder.GetLayer(); }));
    ASSERT_TRUE(h.RunUntil([&] { return h.Server().Accepted() && g_pMainSocket->CanSend(); }, 20000));
    CDaradirUzedo* ui = g_layerHolder.GetLayer();
    if (!ui->WindowsCreated())
        ui->CreateWindows();
    g_loginRecord.SetSlot(1, 0, ChatTest::kMe, 3);
    g_selectedSlot = 1;
    g_myId = CCreatureBed::kMyId;
    // The field takes chat while my character stands on it.
    CObjLayer* layer = g_pView->m_pObjLayer;
    layer->m_pMyChar = &layer->CharacterSlot(0);
    h.Steps(10);
    const size_t from = h.Server().AllReceived().size();

    CWidget* chat = ui->GetRootContainer()->FindChild(CChatLine::kChatWindow);
    ASSERT_NE(chat, nullptr);
    CWidget* home = g_inputFocus.GetHomeWidget();
    ASSERT_EQ(home, ui->GetRootContainer()->FindChild(CChatLine::kBigChatWindow));
    std::strcpy(home->GetText(), "hello all");
    g_inputFocus.SetFocusWidget(home);
    g_inputFocus.SubmitFocused();
    const Bytes packet = ChatPacket(0, "hello all");
    auto sent = [&] {
        const Bytes& all = h.Server().AllReceived();
        return std::search(all.begin() + static_cast<long>(from), all.end(), packet.begin(), packet.end()) != all.end();
    };
    EXPECT_TRUE(h.RunUntil(sent, 20000));

    h.Server().Send(Received(CCreatureBed::kMyId, ChatTest::kMe, 0, "hello all"));
    EXPECT_TRUE(h.RunUntil([&] { return std::strcmp(chat->GetLines()[1], "[Arin] hello all") == 0; }, 20000));
    layer->m_pMyChar = nullptr;
}

}  // namespace
