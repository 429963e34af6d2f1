// The UI command dispatcher over the window directory's real and placeholder
// windows: what each command id does to the windows, the layer and the
// packets on the main socket; what each NPC talk id offers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/CommandRing.h"
#include "app/QuillonView.h"
#include "app/ExitGame.h"
#include "app/FrameClock.h"
#include "app/ReceiveDispatch.h"
#include "intro/AccountRecord.h"
#include "core/HanCodeConv.h"
#include "platform/Dialogs.h"
#include "script/ExtraFunctions.h"
#include "script/ScriptManager.h"
#include "social/RankWin.h"
#include "social/Ranking.h"
#include "support/FakeScripts.h"
#include "support/FakeServer.h"
#include "support/SentPackets.h"
#include "support/TestWorld.h"
#include "ui/ButtonWidget.h"
#include "ui/IconList.h"
#include "ui/InputFocus.h"
#include "windows/DaradirUzedo.h"
#include "windows/DispatchCommands.h"
#include "windows/ItemList.h"
#include "windows/PlayerInfo.h"
#include "windows/SystemWindows.h"
#include "windows/TalkBoxWin.h"
#include "world/CharacterRecord.h"

namespace {

const std::set<int>& Unassigned()
{
    static const std::set<int> ids = [] {
        std::set<int> s{21, 24, 46, 64, 65, 96, 97, 98, 99, 122, 130, 144, 145};
        for (int id = 147; id <= 249; ++id)
            s.insert(id);
        return s;
    }();
    return ids;
}

TEST(CommandTable, EveryIdHasARowAndOnlyTheUnassignedAreSkipped)
{
    // Every id that is not unassigned executes: none waits for its window.
    for (int id = 0; id <= 250; ++id)
        EXPECT_EQ(GetCommandRow(id), Unassigned().count(id) ? CommandRow::kUnassigned : CommandRow::kWritten) << id;
    for (int id : {-1, -2, 251, 1000, 0x7FFFFFFF})
        EXPECT_EQ(GetCommandRow(id), CommandRow::kUnassigned) << id;
    for (int id = -1; id <= 260; ++id) {
        const int args = id == 36 ? 2 : (id == 34 || id == 35 || id == 74 || id == 75) ? 1 : 0;
        EXPECT_EQ(CommandArgumentCount(id), args) << id;
    }
}

class DispatchTest : public testing::Test {
protected:
    DispatchTest()
    {
        g_layerHolder.SetLayer(&ui);
        OpenTestMainSocket();
        g_loginRecord.Clear();
        ui.CreateWindows();
        TakeSentPackets();  // the speed field of the creation
        while (g_commandRing.Pop() != CCommandRing::kEmpty) {
        }
    }
    ~DispatchTest() override
    {
        CloseTestMainSocket();
        g_layerHolder.SetLayer(nullptr);
        ResetExitState();
    }

    CWidget* Find(int32_t id) { return ui.GetRootContainer()->FindChild(id); }
    CWidget* Child(int32_t window, int32_t id) { return Find(window)->FindChild(id); }

    // Every window unpinned and closed, then those given open.
    void Baseline(std::initializer_list<int> open = {})
    {
        CWidgetContainer& root = *ui.GetRootContainer();
        for (int i = 0; i < root.GetChildCount(); ++i) {
            root.GetChild(i)->SetPinned(0);
            root.GetChild(i)->SetState(CWidget::kClosed);
        }
        for (int id : open)
            Find(id)->SetState(CWidget::kOpen);
    }
    std::map<int32_t, int32_t> States()
    {
        std::map<int32_t, int32_t> out;
        CWidgetContainer& root = *ui.GetRootContainer();
        for (int i = 0; i < root.GetChildCount(); ++i)
            if (root.GetChild(i)->GetId() != 0)
                out[root.GetChild(i)->GetId()] = root.GetChild(i)->GetState();
        return out;
    }
    // Pushes the entries, runs one pass and names the windows whose state
    // it changed ("id:state", in id order).
    std::string Run(const std::vector<uint32_t>& entries)
    {
        const auto before = States();
        for (uint32_t e : entries)
            g_commandRing.Push(e);
        ui.DispatchCommands();
        std::string changed;
        for (auto [id, state] : States())
            if (before.at(id) != state)
                changed += (changed.empty() ? "" : " ") + std::to_string(id) + ":" + std::to_string(state);
        return changed;
    }
    // Every window closed but those given; no script asked for, no list
    // loaded.
    void Fresh(const std::vector<int>& open)
    {
        Baseline({});
        for (int id : open)
            Find(id)->SetState(CWidget::kOpen);
        scripts.log.Clear();
        g_itemList.Clear();
    }
    // The names of the scripts started since the last Fresh.
    std::vector<std::string> Started() const
    {
        std::vector<std::string> names;
        for (const std::string& call : scripts.log.Calls())
            names.push_back(call.substr(6, call.size() - 8));  // Load("name")
        return names;
    }
    std::string Pinned()
    {
        std::string out;
        for (int id : {4, 6, 7, 8, 9, 12, 35})
            out += Find(id)->IsPinned() ? '1' : '0';
        return out;
    }

    CTestWorld world;
    CDaradirUzedo ui{nullptr};
    FakeScripts scripts;
};

TEST_F(DispatchTest, WindowRowsOpenCloseAndToggleTheirWindows)
{
    struct Row {
        std::vector<uint32_t> entries;
        std::vector<int> open;  // before the pass
        std::string changed;
        bool sends = false;  // the parameter panel reports its values as it reloads
    };
    const Row rows[] = {
        {{0}, {}, ""},
        {{1}, {6}, ""},
        {{2}, {}, "2:1"},
        {{2}, {2}, "2:3"},
        {{3}, {}, "3:1"},
        {{4}, {}, "6:1"},
        {{5}, {}, "7:1 8:1"},
        {{6}, {}, "9:1"},
        {{7}, {}, "12:1"},
        {{11}, {35}, "35:3"},
        {{12}, {}, "26:1"},
        {{20}, {36}, "35:1 36:3"},
        {{30}, {37, 38, 39, 40, 41}, "35:1 37:3 38:3 39:3 40:3 41:3"},
        {{44}, {}, "7:1 8:1"},
        {{47}, {}, "51:1"},
        {{69}, {}, "10:1"},
        {{100}, {}, "59:1", true},
        {{101}, {}, ""},
        {{102}, {}, "71:1"},
        {{103}, {}, "72:1"},
        {{104}, {}, "73:1"},
        {{110}, {}, ""},
        {{111}, {}, "77:1"},
        {{112}, {77}, "77:3"},
        {{114}, {83}, "83:3"},
        {{120}, {83, 89}, "83:3 89:3"},
        {{116}, {}, "87:1"},
        {{118}, {87}, "87:3"},
        {{121}, {91, 92}, "91:3"},
        {{121}, {77, 93}, "77:3 93:3"},
        {{121}, {77}, ""},
        {{138, 139}, {}, ""},
        // Arguments leave with their id: 7 and 8 are not run as commands.
        {{34, 7, 6}, {}, "9:1"},
        {{35, 7, 6}, {}, "9:1"},
        {{36, 7, 7, 6}, {}, "9:1"},
        // Unassigned ids are skipped and the pass goes on.
        {{21, 24, 46, 96, 130, 147, 249, 251, 0x7FFFFFFFu, 6}, {}, "9:1"},
        // A talk id without an action is popped and does nothing.
        {{75, 6, 7}, {}, "12:1"},
        {{126, 117, 7}, {}, "12:1 87:1"},
    };
    for (const Row& r : rows) {
        Baseline({});
        for (int id : r.open)
            Find(id)->SetState(CWidget::kOpen);
        std::string entries;
        for (uint32_t e : r.entries)
            entries += std::to_string(e) + " ";
        EXPECT_EQ(Run(r.entries), r.changed) << "entries " << entries;
        EXPECT_TRUE(g_commandRing.IsEmpty()) << "entries " << entries;
        EXPECT_EQ(!TakeSentPackets().empty(), r.sends) << "entries " << entries;
    }
}

using Names = std::vector<std::string>;

TEST_F(DispatchTest, EachTalkIdOpensItsShopBankMenuOrScript)
{
    const struct {
        int32_t id;
        int16_t scriptValue;
        std::vector<int> open;
        std::string changed;
        std::string list;
        Names scripts;
    } rows[] = {
        {50, 1023, {}, "102:1", "weapon01.bin", {}},
        {50, 1024, {}, "102:1", "weapon02.bin", {}},
        {50, -5, {}, "102:1", "weapon01.bin", {}},
        {51, 0, {}, "103:1", "shield01.bin", {}},
        // The bank opens through 123 later in the same pass, unless it is up.
        {52, 0, {}, "94:1", "", {"Banker"}},
        {52, 0, {94}, "", "", {"Banker"}},
        {53, 0, {}, "", "", {}},
        {54, 0, {}, "101:1", "", {}},
        {55, 0, {}, "", "", {"Crackpot"}},
        {9001, 0, {}, "", "", {"BakMerc"}},
        {10001, 0, {}, "", "", {"Herb"}},
        {10002, 0, {}, "", "", {"S1arrowsw"}},
        {10003, 0, {}, "", "", {"S1arrowse"}},
        {10004, 0, {}, "", "", {"S1arrowsw2"}},
        {10005, 0, {}, "", "", {"S1arrowjail"}},
        {10006, 0, {}, "", "", {"Poison"}},
        {0, 0, {}, "", "", {}},
        {49, 0, {}, "", "", {}},
        {56, 0, {}, "", "", {}},
        {77, 0, {}, "", "", {}},
        {9000, 0, {}, "", "", {}},
        {10007, 0, {}, "", "", {}},
        {-1, 0, {}, "", "", {}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.id);
        Fresh(r.open);
        world.MyRecord().SetU16(CharacterRecord::kScriptValue, static_cast<uint16_t>(r.scriptValue));
        EXPECT_EQ(Run({75, static_cast<uint32_t>(r.id)}), r.changed);
        EXPECT_STREQ(g_itemList.GetFileName(), r.list.c_str());
        EXPECT_EQ(Started(), r.scripts);
        EXPECT_TRUE(g_commandRing.IsEmpty());
    }
    // Without its argument the talk does nothing.
    Fresh({});
    EXPECT_EQ(Run({75}), "");
    EXPECT_TRUE(Started().empty());
}

TEST_F(DispatchTest, MenuButtonsRunTheirChoiceAndClose)
{
    const struct {
        uint32_t command;
        std::vector<int> open;
        std::string changed;
        Names scripts;
    } rows[] = {
        // Colony mode comes with its to-field button.
        {132, {101}, "69:1 101:3", {}},
        {133, {101}, "101:3", {"SimMode"}},
        // The market opens later in the same pass.
        {134, {102}, "58:1 102:3", {}},
        {135, {102}, "102:3", {"WepMerc"}},
        {136, {103}, "58:1 103:3", {}},
        {137, {103}, "103:3", {"DefMerc"}},
        {138, {104}, "", {}},
        {139, {104}, "", {}},
        // The close button closes only the menus that are up; never the talk box.
        {140, {101, 103, 105}, "101:3 103:3", {}},
        {140, {}, "", {}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.command);
        Fresh(r.open);
        g_colonyMode = 0;
        ui.m_talkTopLine = 4;
        EXPECT_EQ(Run({r.command}), r.changed);
        EXPECT_EQ(Started(), r.scripts);
        EXPECT_EQ(ui.m_talkTopLine, r.scripts.empty() ? 4 : 0) << "a talk starts at its first line";
        EXPECT_EQ(g_colonyMode, r.command == 132 ? 1u : 0u);
    }
    g_colonyMode = 0;
    TakeSentPackets();  // colony mode left the field
}

TEST_F(DispatchTest, TheTalkBoxCountsItsLinesAndTheArrowsStayWithinThem)
{
    Fresh({CTalkBoxWin::kId});
    std::vector<uint8_t> screen(800 * 600);
    auto draw = [&](const std::string& text) {
        ui.m_talkText.fill('Q');  // stale bytes behind the terminator
        std::memcpy(ui.m_talkText.data(), text.c_str(), text.size() + 1);
        Find(CTalkBoxWin::kId)->Draw(screen.data());
    };
    // Five lines: the arrows move the top line between 0 and 2.
    draw(std::string(42 * 4 + 3, 'a'));
    EXPECT_EQ(ui.m_talkLineCount, 4);
    std::vector<int32_t> tops;
    for (uint32_t c : {141, 142, 142, 142, 142, 141, 141, 141}) {
        Run({c});
        tops.push_back(ui.m_talkTopLine);
    }
    EXPECT_EQ(tops, (std::vector<int32_t>{0, 1, 2, 2, 2, 1, 0, 0}));
    // A top line left by a longer text is brought back within a shorter one.
    ui.m_talkTopLine = 9;
    draw(std::string(42 * 4 + 3, 'a'));
    EXPECT_EQ(ui.m_talkTopLine, 2);
    ui.m_talkTopLine = 9;
    draw("short");
    EXPECT_EQ(ui.m_talkLineCount, 0);
    EXPECT_EQ(ui.m_talkTopLine, 0);
    ui.m_talkTopLine = -3;
    draw("short");
    EXPECT_EQ(ui.m_talkTopLine, 0);
    // A closed box draws nothing and counts nothing.
    Fresh({});
    ui.m_talkLineCount = 7;
    draw("short");
    EXPECT_EQ(ui.m_talkLineCount, 7);
}

TEST_F(DispatchTest, RankingRequestsPagesAndLookUps)
{
    Baseline({});
    auto johab = [](const char* cp949) {
        std::string s = cp949;
        CHanCodeConv::CP949ToJohab(s.data(), s.data());
        return s;
    };
    auto typed = [&](const std::string& text) {
        char* line = Find(68)->GetText();
        std::memset(line, 0, CWidgetWindow::kInputSize);
        std::memcpy(line, text.data(), std::min<size_t>(text.size(), CWidgetWindow::kInputSize - 1));
    };
    EXPECT_EQ(Run({89}), "67:1");
    EXPECT_EQ(TakeSentPackets(), (std::vector<SentPacket>{{'n', 0}}));
    EXPECT_EQ(g_rankingPage, kRankingAwaited);

    std::string seven = "가나다라마바사";  // 14 bytes of CP949
    const struct {
        int32_t page;
        uint32_t command;
        std::string text;
        SentPacket sent;
    } rows[] = {
        {91, 90, "", {'n', 2, 94}},
        {0, 91, "", {'n', 2, 0}},
        {40, 92, "", {'n', 2, 40}},
        {0, 95, "250", {'n', 3, 100}},
        {0, 95, "0", {'n', 3, 1}},
        {0, 95, "abc", {'n', 3, 1}},
        {0, 95, "99999999999999999999", {'n', 3, 100}},
        {0, 95, " 7th", {'n', 3, 7}},
        {0, 94, "Eric", {'n', 1, 'E', 'r', 'i', 'c', 0, 0, 0, 0, 0, 0, 0, 0}},
        {0, 94, johab(seven.c_str()), Concat({{'n', 1}, Bytes(seven.begin(), seven.begin() + 12)})},
        {0, 94, johab(("a" + seven).c_str()), Concat({{'n', 1, 'a'}, Bytes(seven.begin(), seven.begin() + 10), {0}})},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.command);
        g_rankingPage = r.page;
        typed(r.text);
        Find(68)->SetState(CWidget::kOpen);
        Run({r.command});
        EXPECT_EQ(TakeSentPackets(), std::vector<SentPacket>{r.sent}) << r.text;
        if (r.command >= 94) {
            EXPECT_EQ(Find(68)->GetState(), CWidget::kClosing) << "the look-up closes the search";
        }
    }

    // A page of six entries whose last two are empty; names of twelve bytes
    // carry no terminator.
    Bytes reply = {3};
    for (int i = 0; i < 6; ++i) {
        Bytes name(12, static_cast<uint8_t>('A' + i));
        reply = Concat({reply, name, {static_cast<uint8_t>(i < 4 ? 10 + i : 101 + i), static_cast<uint8_t>(i), 1}});
    }
    ui.OnRankingReply(reply.data());
    auto* win = static_cast<CRankWin*>(Find(67));
    EXPECT_EQ(g_rankingPage, 3);
    EXPECT_STREQ(win->GetRankLine(0), "             10                AAAAAAAAAAAA                 256");
    EXPECT_STREQ(win->GetRankLine(3), "             13                DDDDDDDDDDDD                 259");
    EXPECT_STREQ(win->GetRankLine(4), "");
    EXPECT_STREQ(win->GetRankLine(5), "");
    g_gmFlag = 1;
    ui.OnRankingReply(reply.data());
    EXPECT_STREQ(win->GetRankLine(0), "[  3]        10                AAAAAAAAAAAA                 256");
    EXPECT_STREQ(win->GetRankLine(3), "[  6]        13                DDDDDDDDDDDD                 259");
    g_gmFlag = 0;

    // Not in the ranking: the typed name on the notice line, the page kept.
    typed(johab("가나"));
    const uint8_t notFound[91] = {'e'};
    ui.OnRankingReply(notFound);
    EXPECT_EQ(g_rankingPage, 3);
    ASSERT_NE(g_currentNoticeLine, nullptr);
    EXPECT_TRUE(std::string(g_currentNoticeLine->GetText()) == johab("가나님은 순위 안에 없습니다.") ||
                std::string(g_currentNoticeLine->GetText()) == johab("가나") + " is not in ranking.")
        << g_currentNoticeLine->GetText();
    EXPECT_EQ(g_currentNoticeLine->GetCountdown(), 60);
    ResetRankingGlobals();
}

TEST_F(DispatchTest, GameMenuPinsTheMainWindowsWhileItsPagesAreUp)
{
    Baseline({35});
    EXPECT_EQ(Run({16}), "35:3 37:1 38:1 39:1 40:1 41:1");
    EXPECT_EQ(Pinned(), "1111111");
    EXPECT_EQ(Run({6, 30}), "35:1 37:3 38:3 39:3 40:3 41:3") << "the pinned inventory stays; 35 unpinned first";
    EXPECT_EQ(Pinned(), "0000000");

    // 17 and 18 ask; 19 answers with the action they chose; 20 goes back.
    for (auto [ask, action] : {std::pair{17u, 1}, {18u, 0}}) {
        Baseline({35});
        g_areYouSureAction = -1;
        EXPECT_EQ(Run({ask}), "35:3 36:1") << ask;
        EXPECT_EQ(g_areYouSureAction, action) << ask;
        EXPECT_EQ(Pinned(), "1111111") << ask;
        EXPECT_EQ(Run({20}), "35:1 36:3") << ask;
        EXPECT_EQ(Pinned(), "0000000") << ask;
    }
    Baseline({36});
    g_areYouSureAction = 1;
    EXPECT_EQ(Run({19}), "36:3 83:1");
    EXPECT_EQ(g_inputFocus.GetFocusWidget(), Child(83, 84));
    EXPECT_FALSE(IsExiting()) << "deleting the character does not leave the game";
    Baseline({36});
    g_areYouSureAction = 0;
    EXPECT_EQ(Run({19}), "36:3");
    EXPECT_TRUE(IsExiting());
}

TEST_F(DispatchTest, LayerStateRows)
{
    // The ability pages come to the front in turn.
    auto* pages = dynamic_cast<CIconList*>(Find(8));
    ASSERT_NE(pages, nullptr);
    for (uint32_t id : {15u, 13u, 14u}) {
        Run({id});
        EXPECT_EQ(pages->GetOrder(0), static_cast<int32_t>(id) - 13) << id;
    }

    // Travel: the region maps close and the destination's flag is set.
    for (auto [id, flag] : {std::pair{105u, 1}, {106u, 2}, {107u, 0}}) {
        Baseline({71, 73});
        ui.m_travelRequest = {0, 0, 0};
        EXPECT_EQ(Run({id}), "71:3 73:3") << id;
        std::array<uint8_t, 3> expected{};
        expected[static_cast<size_t>(flag)] = 1;
        EXPECT_EQ(ui.m_travelRequest, expected) << id;
    }

    // In a battle the profile and the colony panel stay shut.
    world.Layer().m_inBattle = 1;
    Baseline();
    EXPECT_EQ(Run({12, 100}), "");
    world.Layer().m_inBattle = 0;

    // A game master's Enter with the chat window down opens the chat line,
    // the next one submits and closes it.
    g_gmFlag = 1;
    Baseline();
    ui.m_gmChatIdle = 1;
    EXPECT_EQ(Run({29}), "");
    EXPECT_EQ(ui.m_gmChatIdle, 0);
    EXPECT_EQ(g_inputFocus.GetFocusWidget(), Find(2));
    EXPECT_EQ(Run({29}), "");
    EXPECT_EQ(ui.m_gmChatIdle, 1);
    EXPECT_EQ(g_inputFocus.GetFocusWidget(), nullptr);
    g_gmFlag = 0;
    EXPECT_EQ(Run({29}), "");
    EXPECT_EQ(ui.m_gmChatIdle, 1) << "without the flag Enter only sends the chat";

    // The password form opens with its first box in focus and emptied.
    Baseline();
    Child(77, 78)->SetText("old");
    EXPECT_EQ(Run({111}), "77:1");
    EXPECT_EQ(g_inputFocus.GetFocusWidget(), Child(77, 78));
    EXPECT_STREQ(Child(77, 78)->GetText(), "");
}

TEST_F(DispatchTest, SuspensionDiscardsEveryEntryWithItsArguments)
{
    g_uiCommandsSuspended = 1;
    Baseline();
    EXPECT_EQ(Run({74, 6, 75, 7, 36, 2, 3, 34, 12, 6}), "");
    EXPECT_TRUE(g_commandRing.IsEmpty());
    g_uiCommandsSuspended = 0;
    EXPECT_EQ(Run({6}), "9:1") << "nothing was kept for later";
}

TEST_F(DispatchTest, TheBoardCooldownCountsPassesNotRequests)
{
    EXPECT_TRUE(TakeRequestCooldown());
    EXPECT_EQ(g_requestCooldown, 45);
    EXPECT_FALSE(TakeRequestCooldown()) << "dropped, not deferred";
    for (int pass = 0; pass < 44; ++pass)
        ui.DispatchCommands();  // an empty ring still counts
    EXPECT_EQ(g_requestCooldown, 1);
    EXPECT_FALSE(TakeRequestCooldown());
    ui.DispatchCommands();
    ui.DispatchCommands();
    EXPECT_EQ(g_requestCooldown, 0) << "never below 0";
    EXPECT_TRUE(TakeRequestCooldown());
}

// The boards' and the mail's rows without a board server: which list opens
// over which, who may write on the notice board, and what battle, an open
// reader and the cooldown hold back.
TEST_F(DispatchTest, BoardRowsOpenOneListAtATime)
{
    auto look = [&] { return dynamic_cast<CButtonWidget*>(Child(52, 53))->GetLook(); };
    g_gmFlag = 0;
    Baseline({54});
    EXPECT_EQ(Run({49}), "52:1 54:3") << "the notice board closes the mail list";
    EXPECT_EQ(ui.m_listWindowId, 52);
    EXPECT_EQ(ui.m_readerWindowId, 55);
    EXPECT_EQ(look(), CButtonWidget::kLookDisabled) << "only a game master writes notices";
    Baseline({52});
    EXPECT_EQ(Run({50, 49}), "") << "not over an open list";
    EXPECT_EQ(Run({48}), "52:1 54:3") << "the free board opens over it";
    EXPECT_EQ(look(), CButtonWidget::kLookNormal) << "everyone writes on the free board";
    g_gmFlag = 1;
    Baseline();
    EXPECT_EQ(Run({49}), "52:1 54:3");
    EXPECT_EQ(look(), CButtonWidget::kLookNormal);
    g_gmFlag = 0;

    // Not while an entry is read, not in a battle.
    for (int reader : {55, 56}) {
        Baseline({reader});
        EXPECT_EQ(Run({48, 51}), "") << reader;
    }
    world.Layer().m_inBattle = 1;
    world.Layer().m_battleNumber = 7;
    Baseline();
    EXPECT_EQ(Run({48, 51}), "");
    world.Layer().m_inBattle = 0;

    // The mail closes the bulletin list; quitting closes the current list
    // once; the reader's quit closes the reader.
    Baseline({52});
    EXPECT_EQ(Run({51}), "52:3 54:1");
    EXPECT_EQ(ui.m_listWindowId, 54);
    EXPECT_EQ(ui.m_readerWindowId, 56);
    Baseline({54, 56});
    EXPECT_EQ(Run({62}), "54:3");
    EXPECT_EQ(ui.m_listWindowId, -1);
    EXPECT_EQ(Run({62, 58, 61}), "") << "no list: nothing to close, read or erase";
    EXPECT_EQ(Run({63}), "56:3");

    // The search window: one toggle per cooldown; a search closes it.
    g_requestCooldown = 0;
    Baseline();
    EXPECT_EQ(Run({60, 60}), "57:1") << "the second request is dropped";
    Baseline({57});
    EXPECT_EQ(Run({68}), "57:3");
}

TEST_F(DispatchTest, RemovingAnItemKeepsTheInventoryWindowAsItWas)
{
    CharacterRecord& me = world.MyRecord();
    for (int slot = 0; slot < 4; ++slot)
        CPlayerInfo::SetItem(me, slot, 40 + slot);
    Baseline({9});
    EXPECT_EQ(Run({74, 41}), "9:1") << "closed around the removal and opened again";
    EXPECT_EQ(TakeSentPackets(), (std::vector<SentPacket>{{53, 52, 1, 43, 0, 3, 0, 0}}));
    Baseline();
    EXPECT_EQ(Run({74, 40}), "");
    EXPECT_EQ(TakeSentPackets(), (std::vector<SentPacket>{{53, 52, 0, 42, 0, 2, 0, 0}}));
    EXPECT_EQ(Run({74, 99}), "") << "not held";
    EXPECT_TRUE(TakeSentPackets().empty());
    EXPECT_EQ(Run({74}), "") << "the ring ran out: the argument is -1";
    EXPECT_TRUE(TakeSentPackets().empty());
    EXPECT_EQ(CPlayerInfo::GetItem(me, 0), 42);
    EXPECT_EQ(CPlayerInfo::GetItem(me, 1), 43);
    EXPECT_EQ(CPlayerInfo::GetItem(me, 2), 0);
}

class FormDispatchTest : public DispatchTest {
protected:
    FormDispatchTest()
    {
        g_loginRecord.SetText(AccountRecord::kResidentNumber, AccountRecord::kResidentNumberSize, "700101-1234567");
        g_loginRecord.SetText(AccountRecord::kPassword, AccountRecord::kPasswordSize, "oldpass");
    }
    void Fill(int32_t window, std::initializer_list<const char*> texts)
    {
        int32_t id = window + 1;
        for (const char* t : texts)
            Child(window, id++)->SetText(t);
    }
    static SentPacket Field(int field, std::initializer_list<std::string> parts)
    {
        SentPacket p{53, static_cast<uint8_t>(field)};
        for (const std::string& s : parts)
            p.insert(p.end(), s.begin(), s.end());
        return p;
    }
    const std::string kNumber = std::string("700101-1234567") + '\0';
    const std::string kAccount = std::string("oldpass") + std::string(3, '\0');
};

TEST_F(FormDispatchTest, PasswordChangeChecksInOrderAndSendsField61)
{
    struct Row {
        std::vector<const char*> boxes;  // 78..82
        std::string changed;
    };
    const Row rows[] = {
        {{"oldpass", "700101", "1234568", "new", "new"}, "90:1"},   // the personal number
        {{"oldpass", "700102", "1234567", "new", "new"}, "90:1"},
        {{"oldpas", "700101", "1234567", "new", "new"}, "91:1"},    // the account text
        {{"oldpass", "700101", "1234567", "new", "newer"}, "92:1"}, // the two new passwords
        {{"oldpass", "700101", "1234567", "", ""}, ""},             // empty but equal: sent
    };
    for (const Row& r : rows) {
        Baseline({77});
        int32_t id = 78;
        for (const char* t : r.boxes)
            Child(77, id++)->SetText(t);
        EXPECT_EQ(Run({113}), r.changed) << r.boxes[0] << " " << r.boxes[2] << " " << r.boxes[4];
        const auto sent = TakeSentPackets();
        EXPECT_EQ(sent.size(), r.changed.empty() ? 1u : 0u);
    }

    // Twelve typed characters are kept as nine: compared and sent bounded.
    g_loginRecord.SetText(AccountRecord::kPassword, AccountRecord::kPasswordSize, "abcdefghi");
    Baseline({77});
    Fill(77, {"abcdefghijkl", "700101", "1234567", "zyxwvutsrqpo", "zyxwvutsr"});
    EXPECT_EQ(Run({113}), "") << "the window stays for the server's answer";
    EXPECT_EQ(TakeSentPackets(), (std::vector<SentPacket>{Field(61, {kNumber, std::string("abcdefghi") + '\0',
                                                                      std::string("zyxwvutsr") + '\0'})}));
    EXPECT_STREQ(ui.m_pwNew.data(), "zyxwvutsr");

    // Cancel empties the boxes and the texts.
    EXPECT_EQ(Run({112}), "77:3");
    for (int32_t box = 78; box <= 82; ++box)
        EXPECT_STREQ(Child(77, box)->GetText(), "") << box;
    EXPECT_STREQ(ui.m_pwAccount.data(), "");
    EXPECT_STREQ(ui.m_pwNew.data(), "");
}

TEST_F(FormDispatchTest, DeletionSendsField62OnlyAfterAPassedCheckWhileTheBoxIsUp)
{
    Baseline({89});
    EXPECT_EQ(Run({119}), "") << "a stray confirmation";
    EXPECT_TRUE(TakeSentPackets().empty());

    Baseline({83});
    Fill(83, {"oldpass", "700101", "7654321"});
    EXPECT_EQ(Run({115}), "90:1");
    Fill(83, {"nopass", "700101", "1234567"});
    EXPECT_EQ(Run({115}), "91:1");
    EXPECT_EQ(Run({119}), "") << "the failed check does not arm the confirmation";
    EXPECT_TRUE(TakeSentPackets().empty());

    Baseline({83});
    Fill(83, {"oldpass", "700101", "1234567"});
    EXPECT_EQ(Run({115}), "89:1");
    EXPECT_TRUE(TakeSentPackets().empty()) << "asks first";
    // The reset question, with the cursor shown while it is up: no sends
    // nothing and leaves the confirmation armed, yes sends the field once.
    plat::CHeadlessPlatform& platform = world.Platform();
    const int cursor = platform.window.m_cursorCount;
    platform.dialogs.boxes.clear();  // the missing pictures' boxes
    // Where no box can be shown nobody consents.
    plat::SetDialogs(nullptr);
    EXPECT_EQ(Run({119}), "");
    EXPECT_TRUE(TakeSentPackets().empty());
    plat::SetDialogs(&platform.dialogs);
    platform.dialogs.answers = {false, true};
    EXPECT_EQ(Run({119}), "");
    EXPECT_TRUE(TakeSentPackets().empty());
    EXPECT_EQ(Run({119, 119}), "");
    EXPECT_EQ(TakeSentPackets(), (std::vector<SentPacket>{Field(62, {kNumber, kAccount})})) << "once";
    ASSERT_EQ(platform.dialogs.boxes.size(), 2u);
    for (const plat::RecordedBox& box : platform.dialogs.boxes) {
        EXPECT_EQ(box.caption, "☞ 확인 ☜");
        EXPECT_EQ(box.text, "이 캐릭터의 데이터는 초기화 됩니다.\n 초기화된 데이터는 어떤 경우에도 복구가 불가능 합니다 "
                            "\n 그래도 하시겠습니까?");
        EXPECT_EQ(box.yes + "/" + box.no, "예/아니오");
        EXPECT_EQ(box.cursorCount, cursor + 1);
    }
    EXPECT_EQ(platform.window.m_cursorCount, cursor);

    // Checked, then the box went away: nothing.
    Baseline({83});
    EXPECT_EQ(Run({115}), "89:1");
    Find(89)->SetState(CWidget::kClosed);
    EXPECT_EQ(Run({119}), "");
    EXPECT_TRUE(TakeSentPackets().empty());

    // Cancel from the confirmation disarms it.
    Baseline({83});
    Fill(83, {"oldpass", "700101", "1234567"});
    EXPECT_EQ(Run({115, 120}), "83:3 89:3");
    EXPECT_FALSE(ui.m_deletionChecked);
    EXPECT_STREQ(ui.m_delAccount.data(), "");
    Find(89)->SetState(CWidget::kOpen);
    EXPECT_EQ(Run({119}), "");
    EXPECT_TRUE(TakeSentPackets().empty());
    EXPECT_EQ(platform.dialogs.boxes.size(), 2u) << "asked only after a passed check";
}

}  // namespace
