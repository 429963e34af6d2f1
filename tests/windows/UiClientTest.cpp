// The whole client on the headless harness, logged in and standing on stage
// 0: the in-game windows come with the first field frame, hot keys open
// them, the windows see each click before the field, notices show, and the
// game menu's leave question ends the session with the log-out at the server.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/ExitGame.h"
#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "core/Display.h"
#include "fixtures/ColonySprites.h"
#include "fixtures/FontBuilder.h"
#include "fixtures/HelpArchive.h"
#include "fixtures/IntroArchive.h"
#include "fixtures/ObrBuilder.h"
#include "app/CommandRing.h"
#include "fixtures/WidgetSprites.h"
#include "intro/AccountRecord.h"
#include "intro/IntroLayer.h"
#include "rules/GameData.h"
#include "rules/ItemData.h"
#include "script/ScriptManager.h"
#include "scriptc/ScriptCompiler.h"
#include "support/FakeServer.h"
#include "support/Harness.h"
#include "support/RunningScripts.h"
#include "social/RankWin.h"
#include "ui/AbilityList.h"
#include "ui/IconList.h"
#include "ui/InputFocus.h"
#include "ui/WidgetWindow.h"
#include "social/Ranking.h"
#include "ui/ListWidgetEx.h"
#include "windows/AbilityWin.h"
#include "windows/HelpWin.h"
#include "windows/DaradirUzedo.h"
#include "windows/ProfileRecord.h"
#include "windows/SystemWindows.h"
#include "windows/WindowTable.h"
#include "world/CharacterRecord.h"
#include "world/FieldFrame.h"
#include "world/Npc.h"
#include "world/ObjLayer.h"
#include "world/StageLoader.h"

namespace {

constexpr uint16_t kId = 9;
constexpr uint8_t kCtrl = 29, kA = 30, kS = 31, kX = 45, kY = 21, kF1 = 59, kF4 = 62;

class UiClient : public testing::Test {
protected:
    // Log-in, character choice and field entry against the scripted server.
    void LogInToStage0()
    {
        CFakeServer& server = h.Server();
        ASSERT_TRUE(h.Start());
        ASSERT_TRUE(h.RunUntil([] { return g_gameFrameCount >= 2; }, 200));
        g_loginRecord.SetSlot(1, 0, "Mira", 5);
        g_selectedSlot = 1;
        auto field = [](int f, const Bytes& payload) {
            return Concat({U16Packet(52, kId), {static_cast<uint8_t>(f)}, payload});
        };
        auto ask = [](int f) { return Concat({U16Packet(52, kId), {static_cast<uint8_t>(f)}}); };
        Bytes name(12, 0);
        std::copy_n("Mira", 4, name.begin());
        Bytes entered = U16Packet(3, kId);
        entered.insert(entered.end(), {0, 3, 0, 3, 0, 0, 0, 0, 0});  // cell (3, 3) of the 8 x 8 stage
        server.Expect({1}).Send(U16Packet(1, 336));
        server.Expect(Concat({{2, 1, 6}, name})).Send(U16Packet(2, kId));
        server.Expect({50, 'W', 106}).Send({50, 1}).Send({106, 1});
        server.Expect(ask(50)).Send(field(50, record));
        server.Expect(Concat({ask(69), ask(68)})).Send(field(69, {0, 0, 0, 0})).Send(field(68, {0, 0, 0, 0}));
        server.Expect({3, 1, 175, 0, 42, 1}).Expect({'e', 3, kId, 0, 'e', 2, kId, 0, 'e', 4, kId, 0}).Send(entered);
        g_pView->m_pIntroLayer->m_sceneState = kSceneConnect;
        Frames([] { return g_pView->m_pIntroLayer->m_sceneState == kSceneInWorld; }, 400);
        ASSERT_TRUE(Frames([] { return g_uiCreated != 0; }, 400))
            << "connect step " << g_connectStep << " scene " << g_pView->m_pIntroLayer->m_sceneState << " mine "
            << (g_pView->m_pObjLayer->GetMyCharacter() != nullptr) << " failure " << server.Failure() << " layers "
            << g_pView->m_pDisplay->GetCount() << " boxes " << h.Boxes().size() << " exiting " << IsExiting()
            << " debug " << h.DebugText().substr(h.DebugText().size() > 2000 ? h.DebugText().size() - 2000 : 0);
        EXPECT_EQ(server.Failure(), "");
        EXPECT_EQ(g_currentMapId, 0);
        ui = g_layerHolder.GetLayer();
        ASSERT_NE(ui, nullptr);
    }
    // Runs whole frames until pred holds (at most n frames).
    bool Frames(const std::function<bool()>& pred, int n)
    {
        const uint32_t last = g_gameFrameCount + static_cast<uint32_t>(n);
        h.RunUntil([&] { return pred() || g_gameFrameCount >= last; }, 1000 * n);
        return pred();
    }
    void Frame(int n = 1) { Frames([] { return false; }, n); }
    CWidget* Find(int32_t id) { return ui->GetRootContainer()->FindChild(id); }
    int32_t State(int32_t id) { return Find(id)->GetState(); }
    std::vector<int32_t> OpenIds()
    {
        std::vector<int32_t> out;
        CWidgetContainer& root = *ui->GetRootContainer();
        for (int i = 0; i < root.GetChildCount(); ++i)
            if (root.GetChild(i)->GetState() != CWidget::kClosed)
                out.push_back(root.GetChild(i)->GetId());
        return out;
    }

    static CArchiveBuilder Archive()
    {
        CArchiveBuilder b = CIntroArchive::Game();
        CObrBuilder eric("CHR");
        eric.Character("eric", CObrBuilder::CharRecord("0", 0, 0, 12)).AnimSet("eric");
        b.Replace("eric.obr", eric.Build());
        CObrBuilder items("ITM");
        items.Item("none", "p").Item("crown", "p", {{ItemRecord::kRequiredLevel, 30}}).AnimSet("p").Prefix(23);
        b.Replace("item.obr", items.Build());
        // The town NPC whose talk id is 54.
        CObrBuilder madman("CHR");
        madman.Character("54", CObrBuilder::CharRecord("54", 3, 54)).AnimSet("54");
        b.Replace("madman.obr", madman.Build());
        // The controls' pictures are read as the windows are built; a window
        // slides only with its picture.
        for (const char* name :
             {"TechCube", "okg1", "cancelg1", "confirmbutton", "HQTab", "MainTab", "SimTab", "AblTab", "MailDn",
              "MailUp", "MailQuit", "MailWrite", "MailRead", "MailSearch", "MailErase", "BullReLoad", "BullReList",
              "MailLeft", "MailRight", "ToFldBtn", "GameMenu", "SearchDat", "SearchTTL", "SearchID", "Searching",
              "MusicVol", "SoundVol", "GammaCnt", "StageEf", "PrevBtn", "BullWin", "MailWin", "MailReadWin",
              "BullReadWin", "ChatWin", "ChatWin2", "interface_cell", "SlideBtn", "CheckBox", "BullTab", "BuyBtn",
              "SellBtn", "ExitBtn", "ItemBtn", "PriceBtn", "LevBtn", "EffBtn", "MarketWin", "ItmBox", "ItmBox2",
              "ScrUpArr", "ScrDnArr", "ScrPnt", "depositg", "cabinetg", "rightarrow", "leftarrow", "bars", "button3",
              "itemsgreen", "Ungroup", "ChgLead", "Ban", "Leave", "Refresh", "InviteBtn", "joinBtn", "chllngBtn",
              "accptBtn", "exchngBtn", "oka", "cancela", "RankWin", "RankFndWin", "RnkRfsBtn", "RnkFndBtn", "RnkFndRk",
              "RnkFndNm", "colonyg", "talkg", "itemg", "xg", "uparrow", "downarrow", "cusco", "abydos", "eurasia",
              "dots"})
            b.Replace(std::string(name) + ".slr", CWidgetSprites::File(5, 30, 16, 11));
        CColonySprites::AddScreenTo(b);
        b.Replace("StatusWin.slr", CWidgetSprites::Picture(272, 600, 5));
        // The battle bar's buttons and the ability pages are read as they
        // are built.
        for (const char* name : {"ATBtn", "DFBtn", "SABtn", "RABtn", "ITBtn", "Shadow"})
            b.Replace(std::string(name) + ".slr", CWidgetSprites::File(4, 40, 30, 11));
        for (const char* name : {"ActWin", "ReactWin", "SupWin"})
            b.Replace(std::string(name) + ".slr", CWidgetSprites::Picture(272, 600, 6));
        b.Replace("AreYouSure.slr", CWidgetSprites::File(5, 340, 40, 7));
        b.Replace("ProfileWin.slr", CWidgetSprites::Picture(400, 310, 5));
        b.Replace("Face.slr", CWidgetSprites::File(12, 80, 80, 7));
        b.Replace("cherubim.slr", CWidgetSprites::Picture(320, 150, 5));
        b.Replace("passwordch1.slr", CWidgetSprites::Picture(334, 250, 5));
        CHelpArchive::AddWindowTo(b);
        // The colony talk's script, running as long as the client does.
        b.Replace("SimMode.scr", CompileScript("proc Main() { while (1) { } } ;"));
        b.Replace("Move.htx", CHelpArchive::Page({"Walk: left click", "Run: double click"}));
        return b;
    }

    // The record the server gives: it wears item 1, which wants level 30.
    static Bytes WearingTheCrown()
    {
        Bytes record(436, 0);
        record[CharacterRecord::kEquipment + 2 * 3] = 1;
        return record;
    }
    // Key presses, each held for a few frames.
    void Type(std::initializer_list<uint8_t> scans)
    {
        for (uint8_t scan : scans) {
            h.KeyDown(scan);
            h.RunForMs(70);
            h.KeyUp(scan);
            h.RunForMs(70);
        }
    }

    CHarness h{5000};
    CTestArchive archive{Archive(), false};
    CDaradirUzedo* ui = nullptr;
    Bytes record = WearingTheCrown();
};

TEST_F(UiClient, TheInterfaceComesUpOverTheFieldAndRoutesKeysAndClicks)
{
    LogInToStage0();
    // The first field frame built the directory, in order, with the chat
    // window open and the main tab bar coming in.
    CWidgetContainer& root = *ui->GetRootContainer();
    ASSERT_EQ(root.GetChildCount(), kWindowRows);
    for (int i = 0; i < kWindowRows; ++i)
        EXPECT_EQ(root.GetChild(i)->GetId(), WindowTable()[static_cast<size_t>(i)].id) << "row " << i + 1;
    EXPECT_EQ(OpenIds(), (std::vector<int32_t>{4, 2}));
    EXPECT_EQ(State(2), CWidget::kOpen);
    EXPECT_EQ(State(4), CWidget::kOpening);
    EXPECT_EQ(g_uiFrameRan, g_gameFrameCount) << "the field frame runs the UI layer";
    // The crown came off into the first free slot on that frame.
    const Bytes unequip = {53, 51, 0, 1, 0, 53, 53, 3, 0, 0};
    EXPECT_TRUE(h.RunUntil(
        [&] {
            const Bytes& got = h.Server().Unmatched();
            return std::search(got.begin(), got.end(), unequip.begin(), unequip.end()) != got.end();
        },
        2000));
    Frame(60);
    EXPECT_EQ(State(4), CWidget::kOpen);

    // Ctrl+S: the status window; S alone on the single-key table does nothing.
    h.KeyDown(kCtrl);
    h.KeyDown(kS);
    Frame(2);
    h.KeyUp(kS);
    h.KeyUp(kCtrl);
    EXPECT_EQ(OpenIds(), (std::vector<int32_t>{4, 2, 6}));
    ASSERT_TRUE(Frames([&] { return State(6) == CWidget::kOpen; }, 120)) << State(6) << " " << Find(6)->GetPos()->x;

    // A click where no window is goes to the field.
    const uint32_t lastFieldClick = g_lastClickAt;
    h.RunForMs(1000);
    h.Click(1, 200, 200);
    Frame(2);
    EXPECT_NE(g_lastClickAt, lastFieldClick);

    // A right click on the field closes the topmost open window (the chat
    // and the tab bar are not closed this way); then there is none.
    h.Click(2, 200, 200);
    Frame(1);
    EXPECT_EQ(State(6), CWidget::kClosing);
    EXPECT_EQ(State(2), CWidget::kOpen);
    ASSERT_TRUE(Frames([&] { return State(6) == CWidget::kClosed; }, 120));
    h.Click(2, 200, 200);
    Frame(1);
    EXPECT_EQ(OpenIds(), (std::vector<int32_t>{4, 2}));

    // Esc with only those two up does nothing either.
    h.KeyPress(1);
    Frame(2);
    EXPECT_EQ(OpenIds(), (std::vector<int32_t>{4, 2}));

    // A notice shows on the screen at its place for its time.
    ASSERT_NE(g_currentNoticeLine, nullptr);
    g_currentNoticeLine->Show("HHHH", 5);
    Frame(1);
    auto noticeShown = [&] {
        const plat::PresentRecord& shown = h.Platform().video.lastPresent;
        if (shown.depth != 8 || shown.width != 800 || shown.pixels.size() < 800u * 600u)
            return false;
        for (int y = 428; y < 444; ++y)
            for (int x = 50; x < 62; ++x)
                if (shown.pixels[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)] == 185)
                    return true;
        return false;
    };
    EXPECT_TRUE(noticeShown());
    Frame(6);
    EXPECT_FALSE(noticeShown());

    // The scrolling message box takes its text and runs through it on the
    // wall clock.
    ASSERT_NE(g_pMessageBoxWin, nullptr);
    g_pMessageBoxWin->SetText(std::string(100, 'm').c_str());
    EXPECT_FALSE(g_pMessageBoxWin->IsEmpty());
    for (int i = 0; i < 6 && !g_pMessageBoxWin->IsEmpty(); ++i)
        h.RunForMs(2000);
    EXPECT_TRUE(g_pMessageBoxWin->IsEmpty());
    EXPECT_TRUE(h.Boxes().empty());
}

// Pixels of colour 60 that the window's picture has and its pristine copy
// has not, in a box of the picture.
int Written(const CWidget& w, int x0, int y0, int x1, int y1)
{
    const auto* win = dynamic_cast<const CWidgetWindow*>(&w);
    const CSlrList* clean = win ? win->GetCleanImage() : nullptr;
    const uint8_t* now = w.GetSprite()->GetFrame(0);
    const uint8_t* was = clean ? clean->GetFrame(0) : nullptr;
    if (!now || !was)
        return -1;
    const int width = w.GetSprite()->GetWidth();
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const size_t at = 8 + static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
            n += now[at] == 60 && was[at] != 60 ? 1 : 0;
        }
    return n;
}

TEST_F(UiClient, CtrlSShowsTheCharacterSheetAndCtrlATheAbilityPagesInItsPlace)
{
    LogInToStage0();
    Frame(60);
    auto chord = [&](uint8_t key) {
        h.KeyDown(kCtrl);
        h.KeyDown(key);
        Frame(2);
        h.KeyUp(key);
        h.KeyUp(kCtrl);
    };
    chord(kS);
    ASSERT_TRUE(Frames([&] { return State(6) == CWidget::kOpen; }, 120)) << State(6);
    // The values are written on the picture centred on x 174: my HP "0/200"
    // from x 159 on its row (a glyph's ink may run a pixel into the next
    // cell), nothing beside it.
    const CWidget& sheet = *Find(6);
    EXPECT_GT(Written(sheet, 159, 147, 189, 163), 20);
    EXPECT_EQ(Written(sheet, 120, 147, 159, 163), 0);
    EXPECT_EQ(Written(sheet, 192, 147, 230, 163), 0);
    EXPECT_GT(Written(sheet, 162, 20, 186, 36), 0) << "the name";

    // Ctrl+A: the tab bar and the page stack come; the sheet gives way.
    chord(kA);
    auto* pages = dynamic_cast<CIconList*>(Find(8));
    ASSERT_NE(pages, nullptr);
    ASSERT_TRUE(Frames([&] { return State(8) == CWidget::kOpen && State(7) == CWidget::kOpen; }, 120))
        << State(8) << " " << State(7);
    EXPECT_FALSE(ui->IsWindowOpen(6));
    EXPECT_EQ(*pages->GetPos(), (CPoint{528, 0}));
    EXPECT_EQ(*pages->GetPage(0)->GetPos(), (CPoint{528, 0})) << "the action page in front, at the stack";
    EXPECT_EQ(pages->GetPage(0)->GetState(), CWidget::kOpen);

    // The reaction tab brings its page to the front.
    h.RunForMs(1000);
    h.MouseMove(515, 75);
    Frame(1);
    h.Click(1, 515, 75);
    ASSERT_TRUE(Frames([&] { return pages->GetOrder(0) == 1; }, 10));
    EXPECT_EQ(*pages->GetPage(1)->GetPos(), (CPoint{528, 0}));

    // Ctrl+S again: the sheet comes back and the pages go, the tab bar too.
    chord(kS);
    ASSERT_TRUE(Frames([&] { return State(6) == CWidget::kOpen && State(8) == CWidget::kClosed; }, 120))
        << State(6) << " " << State(8);
    EXPECT_TRUE(Frames([&] { return State(7) == CWidget::kClosed; }, 120));
    for (const auto& b : h.Boxes())
        ADD_FAILURE() << b.text;
}

TEST_F(UiClient, LeavingFromTheGameMenuSendsTheLogOut)
{
    LogInToStage0();
    h.KeyDown(kCtrl);
    h.KeyDown(kX);
    Frame(2);
    h.KeyUp(kX);
    h.KeyUp(kCtrl);
    ASSERT_TRUE(Frames([&] { return State(36) == CWidget::kOpen; }, 120)) << State(36) << " " << State(35);
    EXPECT_FALSE(IsExiting());
    const size_t before = h.Server().AllReceived().size();

    // Yes on the are-you-sure box, over the field: the window takes the
    // click and the field never sees it.
    h.RunForMs(1000);
    const uint32_t lastFieldClick = g_lastClickAt;
    h.MouseMove(470, 250);
    Frame(1);
    h.Click(1, 470, 250);
    Frame(2);
    EXPECT_TRUE(IsExiting());
    EXPECT_EQ(g_lastClickAt, lastFieldClick);
    h.RunUntil([&] { return h.Server().ClientClosed(); }, 20000);
    const Bytes& all = h.Server().AllReceived();
    const Bytes got(all.begin() + static_cast<long>(before), all.end());
    // Leaving the field, the game time, HP and MP, then the log-out.
    const Bytes leave = {5, kId, 0, 53, 7, 0, 0, 0, 0, 53, 9, 0, 0, 0, 0, 53, 10, 0, 0, 0, 0, 51, 'O'};
    EXPECT_EQ(got, leave);
    EXPECT_TRUE(h.Boxes().empty());
}

TEST_F(UiClient, F1ShowsTheHelpAndTheGameMenusOptionItemOpensTheOptionPage)
{
    LogInToStage0();
    h.KeyDown(kF1);
    Frame(1);
    h.KeyUp(kF1);
    ASSERT_TRUE(Frames([&] { return State(CHelpWin::kId) == CWidget::kOpen; }, 120)) << State(CHelpWin::kId);
    const auto* help = static_cast<CHelpWin*>(Find(CHelpWin::kId));
    const CListWidgetEx* list = help->GetList();
    ASSERT_EQ(list->GetRowCount(), 2);
    EXPECT_EQ(std::string(list->GetRow(1).text), "Run: double click\n\n") << "the page ends in its line feed";

    // Ctrl+Y: the game menu, which closes the help.
    h.KeyDown(kCtrl);
    h.KeyDown(kY);
    Frame(2);
    h.KeyUp(kY);
    h.KeyUp(kCtrl);
    EXPECT_EQ(State(CHelpWin::kId), CWidget::kClosing);
    ASSERT_TRUE(Frames([&] { return State(35) == CWidget::kOpen; }, 120)) << State(35);

    // Its first item, at rest at (300, 200): the option page.
    const std::vector<int32_t> options = {37, 38, 39, 40, 41};
    auto optionsIn = [&](int32_t state) {
        return std::all_of(options.begin(), options.end(), [&](int32_t id) { return State(id) == state; });
    };
    h.RunForMs(1000);
    h.MouseMove(305, 205);
    Frame(1);
    h.Click(1, 305, 205);
    ASSERT_TRUE(Frames([&] { return optionsIn(CWidget::kOpen); }, 120));
    // The menu was pinned on its way out: it rests at its closed place.
    Frame(30);
    EXPECT_EQ(State(35), CWidget::kClosing);
    EXPECT_EQ(*Find(35)->GetPos(), *Find(35)->GetClosedPos());

    // Esc on the page goes back to the menu.
    h.KeyDown(1);
    Frame(1);
    h.KeyUp(1);
    Frame(1);
    EXPECT_TRUE(optionsIn(CWidget::kClosing));
    EXPECT_EQ(State(35), CWidget::kOpening);
    EXPECT_TRUE(h.Boxes().empty());
}

TEST_F(UiClient, F4ShowsMyProfileAndItsTextIsSentAndKeptWhenItCloses)
{
    LogInToStage0();
    Frame(30);
    const Bytes& all = h.Server().AllReceived();
    size_t before = all.size();
    auto since = [&] { return Bytes(all.begin() + static_cast<long>(before), all.end()); };
    auto f4 = [&] {
        before = all.size();
        h.KeyDown(kF4);
        Frame(1);
        h.KeyUp(kF4);
        Frame(1);
    };

    // F4: the profile request for my id and four of my fields.
    f4();
    Bytes expect = {'e', 1, kId, 0};
    for (uint8_t f : {32, 35, 36, 31})
        expect = Concat({expect, U16Packet(52, kId), {f}});
    EXPECT_TRUE(h.RunUntil([&] { return since().size() >= expect.size(); }, 20000));
    EXPECT_EQ(since(), expect);
    ASSERT_TRUE(Frames([&] { return State(26) == CWidget::kOpen; }, 120)) << State(26);
    EXPECT_STREQ(g_profileRecord.name, "Mira");

    // The text box holds my words; F4 again closes the window with them.
    Find(26)->FindChild(27)->SetText("Hello Tolmar");
    f4();
    Bytes text = {'d', 1, 'H', 'e', 'l', 'l', 'o', ' ', 'T', 'o', 'l', 'm', 'a', 'r'};
    text.resize(102, 0);
    EXPECT_TRUE(h.RunUntil([&] { return since().size() >= text.size(); }, 20000));
    EXPECT_EQ(since(), text);
    std::string saved;
    if (std::FILE* f = std::fopen(ProfileSavPath().c_str(), "rb")) {
        char buf[64] = {};
        saved.assign(buf, std::fread(buf, 1, sizeof buf, f));
        std::fclose(f);
    }
    EXPECT_EQ(saved, "Hello Tolmar\n\n\n");
    for (const auto& b : h.Boxes())
        ADD_FAILURE() << b.text;
}

TEST_F(UiClient, TheRankingBoardPagesThroughTheServersRanking)
{
    LogInToStage0();
    CFakeServer& server = h.Server();
    auto sentSince = [&](size_t from, const Bytes& want) {
        const Bytes& all = server.AllReceived();
        return std::search(all.begin() + static_cast<long>(from), all.end(), want.begin(), want.end()) != all.end();
    };
    // The ranking board's command, as the field's click on it pushes it.
    size_t before = server.AllReceived().size();
    g_commandRing.Push(89);
    ASSERT_TRUE(Frames([&] { return sentSince(before, {'n', 0}); }, 60));
    Bytes page = {110, 0};
    for (int i = 0; i < 6; ++i)
        page = Concat({page, Bytes(12, static_cast<uint8_t>('a' + i)), {static_cast<uint8_t>(20 - i), 0, 0}});
    server.Send(page);
    auto* rank = static_cast<CRankWin*>(Find(CRankWin::kId));
    ASSERT_TRUE(Frames([&] { return g_rankingPage == 0 && State(CRankWin::kId) == CWidget::kOpen; }, 120));
    for (int i = 0; i < 6; ++i)
        EXPECT_NE(std::string(rank->GetRankLine(i)).find(std::string(12, static_cast<char>('a' + i))),
                  std::string::npos)
            << i;

    // The next-page button on the open window asks for the page from rank 6
    // and hides the entries until it comes.
    before = server.AllReceived().size();
    h.RunForMs(1000);
    h.MouseMove(170 + 325, 100 + 300);
    Frame(1);
    h.Click(1, 170 + 325, 100 + 300);
    ASSERT_TRUE(Frames([&] { return sentSince(before, {'n', 2, 6}); }, 60));
    EXPECT_EQ(g_rankingPage, kRankingAwaited);
    EXPECT_TRUE(h.Boxes().empty());
}

TEST_F(UiClient, ClickingATownNpcOpensItsMenuWhoseTalkButtonStartsItsScript)
{
    LogInToStage0();
    CObjLayer& layer = *g_pView->m_pObjLayer;
    CNpc* npc = layer.AddNpc(nullptr, 6, 3, 0, 54);
    ASSERT_NE(npc, nullptr);
    Frame(2);
    // Where the field drew it.
    int x = -1, y = -1;
    for (int i = 0; i < layer.DrawList().GetCount(); ++i) {
        const DrawEntry& e = layer.DrawList().GetSorted(i);
        if (e.owner != npc || !e.image)
            continue;
        x = static_cast<int16_t>(e.x) - e.image->GetHotSpot().x + e.image->GetSize().cx / 2;
        y = static_cast<int16_t>(e.y) - static_cast<int16_t>(e.z) - e.image->GetHotSpot().y + e.image->GetSize().cy / 2;
    }
    ASSERT_GE(x, 0) << "the NPC is on the screen";
    CScriptManager::Reset();
    h.RunForMs(1000);
    h.Click(1, x, y);
    ASSERT_TRUE(Frames([&] { return State(101) == CWidget::kOpen; }, 120)) << State(101);
    EXPECT_EQ(Find(101)->GetPos()->x, 240);

    // Its talk button, over the field: the script starts and the menu goes.
    h.RunForMs(1000);
    const uint32_t lastFieldClick = g_lastClickAt;
    h.MouseMove(240 + 181 + 10, 123 + 85 + 8);
    Frame(1);
    h.Click(1, 240 + 181 + 10, 123 + 85 + 8);
    ASSERT_TRUE(Frames([] { return !RunningScripts().empty(); }, 30));
    EXPECT_EQ(RunningScripts(), std::vector<std::string>{"SimMode"});
    EXPECT_EQ(g_lastClickAt, lastFieldClick);
    EXPECT_NE(State(101), CWidget::kOpen);
    EXPECT_TRUE(Frames([&] { return State(101) == CWidget::kClosed; }, 120));
    for (const auto& b : h.Boxes())
        ADD_FAILURE() << b.text;
}

TEST_F(UiClient, ThePasswordFormTakesWhatIsTypedAndTabMovesToTheNextBoxWithoutBlanks)
{
    g_loginRecord.SetText(AccountRecord::kResidentNumber, AccountRecord::kResidentNumberSize, "700101-1234567");
    g_loginRecord.SetText(AccountRecord::kPassword, AccountRecord::kPasswordSize, "4321");
    LogInToStage0();
    Frame(30);
    // "/암호" typed into the chat line (the edit line starts in Hangul
    // mode: d k a g h), then Enter: the form comes with its first box.
    constexpr uint8_t kSlash = 0x35, kEnter = 28, kTab = 15;
    Type({kSlash, 0x20, 0x25, 0x1E, 0x22, 0x23, kEnter});
    ASSERT_TRUE(Frames([&] { return State(77) == CWidget::kOpen; }, 200)) << State(77);
    const size_t before = h.Server().AllReceived().size();
    // Old password, Tab, the personal number's two halves, the new one
    // twice: digits only, so nothing is composed.
    Type({0x05, 0x04, 0x03, 0x02, kTab, 0x08, 0x0B, 0x0B, 0x02, 0x0B, 0x02, kTab, 0x02, 0x03, 0x04, 0x05, 0x06,
          0x07, 0x08, kTab, 0x06, 0x07, 0x08, 0x09, kTab, 0x06, 0x07, 0x08, 0x09});
    for (int32_t box : {78, 79, 80, 81, 82})
        EXPECT_EQ(std::string(Find(77)->FindChild(box)->GetText()).find(' '), std::string::npos) << box;
    h.RunForMs(500);
    // The focused last box shows its stars; the edit line, placed on them,
    // draws only its cursor, never the digits.
    const plat::PresentRecord& shown = h.Platform().video.lastPresent;
    ASSERT_EQ(shown.pixels.size(), 800u * 600u);
    uint16_t rows[16];
    CFontBuilder::ReadCell(shown.pixels.data(), 800, 233 + 164, 93 + 177, 8, 60, rows);
    EXPECT_EQ(CFontBuilder::DecodeAscii(rows), '*');
    h.MouseMove(233 + 52 + 10, 93 + 220 + 8);
    Frame(1);
    h.Click(1, 233 + 52 + 10, 93 + 220 + 8);
    Bytes sent = {53, 61};
    for (const std::string& part : {std::string("700101-1234567") + '\0', std::string("4321") + std::string(6, '\0'),
                                    std::string("5678") + std::string(6, '\0')})
        sent.insert(sent.end(), part.begin(), part.end());
    auto got = [&] {
        const Bytes& all = h.Server().AllReceived();
        return std::search(all.begin() + static_cast<long>(before), all.end(), sent.begin(), sent.end()) != all.end();
    };
    EXPECT_TRUE(Frames(got, 60)) << "field 61 with exactly the typed characters";
    for (int32_t box : {90, 91, 92})
        EXPECT_EQ(State(box), CWidget::kClosed) << "no complaint " << box;
    for (const auto& b : h.Boxes())
        ADD_FAILURE() << b.text;
}

TEST_F(UiClient, ARankChangeReloadsTheAbilityPagesOnceWithTheNewName)
{
    // Class 2 of the second group above level 39 (the level follows the
    // stats) holds Psychicforce, whose rank the skill word B gives.
    record[CharacterRecord::kClass] = 2;
    record[CharacterRecord::kClassGroup] = 1;
    for (size_t off = CharacterRecord::kWisdom; off <= CharacterRecord::kCourage; off += 4)
        record[off] = 60;
    // The composed names are the Korean lists'.
    h.Platform().settings.SetString("Control Panel\\International", "Locale", "00000412");
    LogInToStage0();
    Frame(10);
    auto* pages = dynamic_cast<CIconList*>(Find(8));
    ASSERT_NE(pages, nullptr);
    auto* action = dynamic_cast<CAbilityWin*>(pages->GetPage(0));
    ASSERT_NE(action, nullptr);
    auto psychicforce = [&]() -> std::string {
        const CListWidget* list = action->GetList(0);
        for (int i = 0; list && i < list->GetRowCount(); ++i)
            if (list->GetRow(i).value == 23)
                return list->GetRow(i).text;
        return "";
    };
    const std::string before = psychicforce();
    EXPECT_EQ(before, std::string("싸이킥포스 ") + CObjLayer::GetClassName(StatLevelB(0)));
    // The first skill value whose level has another rank name.
    int skill = 1;
    while (skill < 0x7FFF && std::string(CObjLayer::GetClassName(StatLevelB(skill))) ==
                                 CObjLayer::GetClassName(StatLevelB(0)))
        ++skill;
    ASSERT_LT(skill, 0x7FFF);
    const std::string after = std::string("싸이킥포스 ") + CObjLayer::GetClassName(StatLevelB(skill));

    // One below the boundary changes nothing; the boundary reloads the pages.
    auto skillB = [&](int v) {
        h.Server().Send(Concat({U16Packet(52, kId), {26, static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)}}));
    };
    skillB(skill - 1);
    Frame(10);
    EXPECT_EQ(psychicforce(), before);
    skillB(skill);
    EXPECT_TRUE(Frames([&] { return psychicforce() == after; }, 30)) << psychicforce();
    Frame(5);
    EXPECT_EQ(g_abilityRankChanged, 0);
    EXPECT_FALSE(AbilityRankNamesChanged()) << "nothing more to push";
    for (const auto& b : h.Boxes())
        ADD_FAILURE() << b.text;
}

}  // namespace
