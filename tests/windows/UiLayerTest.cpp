// The UI layer on its own: the clock, the window directory, the mouse
// dispatch order, the single-key table and the route trail's pace.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandRing.h"
#include "app/FrameClock.h"
#include "app/MouseState.h"
#include "core/HotKey.h"
#include "support/TestWorld.h"
#include "ui/InputFocus.h"
#include "windows/DaradirUzedo.h"
#include "windows/MouseCursor.h"
#include "windows/SystemWindows.h"
#include "windows/WindowTable.h"

namespace {

class UiLayerTest : public testing::Test {
protected:
    UiLayerTest() { g_layerHolder.SetLayer(&ui); }
    ~UiLayerTest() override { g_layerHolder.SetLayer(nullptr); }

    std::vector<uint32_t> Commands()
    {
        std::vector<uint32_t> out;
        for (uint32_t id; (id = g_commandRing.Pop()) != CCommandRing::kEmpty;)
            out.push_back(id);
        return out;
    }
    void Latch(uint32_t events, int x = 10, int y = 20)
    {
        for (uint32_t bit = 1; bit <= MOUSE_MOVE; bit <<= 1)
            if (events & bit)
                g_mouseState.SetMouseEvent(bit, x, y);
    }

    CTestWorld world;
    CDaradirUzedo ui{nullptr};
};

// Logs every mouse operation offered to it as "<id>:<event>" and takes the
// events of its mask.
class CRecorder : public CWidget {
public:
    CRecorder(int32_t id, uint32_t takes, std::vector<std::string>* log) : CWidget(id), m_takes(takes), m_log(log) {}
    int OnLButtonDblClk(int32_t, int32_t) override { return Log("dbl", MOUSE_LDBLCLK); }
    int OnLButtonDown(int32_t, int32_t) override { return Log("ldown", MOUSE_LDOWN); }
    int OnRButtonDown(int32_t, int32_t) override { return Log("rdown", MOUSE_RDOWN); }
    int OnMouseMove(int32_t, int32_t) override { return Log("move", MOUSE_MOVE); }
    int OnRButtonUp(int32_t, int32_t) override { return Log("rup", MOUSE_RUP); }
    int OnLButtonUp(int32_t, int32_t) override { return Log("lup", MOUSE_LUP); }
    int32_t OnEscape() override
    {
        m_log->push_back(std::to_string(m_id) + ":esc");
        SetState(kClosing);
        return m_id;
    }

private:
    int Log(const char* what, uint32_t bit)
    {
        m_log->push_back(std::to_string(m_id) + ":" + what);
        return (m_takes & bit) ? 1 : 0;
    }
    uint32_t m_takes;
    std::vector<std::string>* m_log;
};

TEST(UiClock, TicksAndCarriedTime)
{
    struct Row {
        uint32_t last, now, ticks, after;
    };
    const Row rows[] = {
        {0, 40, 2, 33},                     // 7 ms carried
        {33, 40, 0, 33},                    // not yet a tick
        {1000, 1033, 1, 1016},              // a 33 ms cadence: 1 tick...
        {1016, 1066, 3, 1066},              // ...then 3
        {1066, 1099, 1, 1082},
        {0xFFFFFFF0u, 0x18u, 2, 0x11u},     // across the clock's wrap
        {5000, 85000, 4800, 85000},         // an 80 s stall
        {0, 0xFFFFFFFFu, 257698037, 0xFFFFFFF3u},  // the largest gap
    };
    for (const Row& r : rows) {
        EXPECT_EQ(UiTicksBetween(r.last, r.now), r.ticks) << r.last << " -> " << r.now;
        EXPECT_EQ(UiTimeAfterTicks(r.last, r.ticks), r.after) << r.last << " -> " << r.now;
    }
}

TEST_F(UiLayerTest, FramesNotPresentedLeaveTheClockForTheNextPresentedOne)
{
    g_frameNow = 10000;
    ui.OnFrame();  // creates the windows and counts from now
    EXPECT_EQ(g_uiLastTime, 10000u);
    std::vector<uint32_t> ticks;
    for (uint32_t now : {10033u, 10066u, 10099u, 10132u}) {
        g_frameNow = now;
        ui.OnFrame();
        ticks.push_back(g_uiFrameTicks);
    }
    EXPECT_EQ(ticks, (std::vector<uint32_t>{1, 3, 1, 3}));
    EXPECT_EQ(g_uiLastTime, 10132u);

    g_frameNotPresented = 1;
    g_frameNow = 10300;
    ui.OnFrame();
    EXPECT_EQ(g_uiLastTime, 10132u);
    g_frameNotPresented = 0;
    g_frameNow = 10340;
    ui.OnFrame();
    EXPECT_EQ(g_uiFrameTicks, 12u) << "208 ms at once";
    EXPECT_EQ(g_uiLastTime, 10332u);
}

TEST_F(UiLayerTest, TheDirectoryIsBuiltOnceInItsOrder)
{
    g_frameNow = 777;
    ui.OnFrame();
    ui.OnFrame();
    CWidgetContainer& root = *ui.GetRootContainer();
    ASSERT_EQ(root.GetChildCount(), kWindowRows);
    for (int i = 0; i < kWindowRows; ++i) {
        const CWidget* w = root.GetChild(i);
        EXPECT_EQ(w->GetId(), WindowTable()[static_cast<size_t>(i)].id) << "row " << i + 1;
        const int32_t expected = w->GetId() == 2 ? CWidget::kOpen : w->GetId() == 4 ? CWidget::kOpening : 0;
        EXPECT_EQ(w->GetState(), expected) << "window " << w->GetId();
    }
    EXPECT_EQ(g_pMessageBoxWin, root.GetChild(58));
    EXPECT_EQ(g_currentNoticeLine, root.GetChild(59));
    EXPECT_EQ(g_inputFocus.GetHomeWidget(), root.FindChild(3));
    EXPECT_EQ(g_uiCreated, 1u);
    // The big chat hands a received record to the chat window.
    const uint8_t record[20] = {1, 0, 'a', 0};
    EXPECT_EQ(ui.RouteChatMessage(record, sizeof record), 1);
    EXPECT_STREQ(root.FindChild(2)->GetLines()[1], "[a] ");
    EXPECT_EQ(ui.IsWindowOpen(4), true);
    EXPECT_EQ(ui.IsWindowOpen(1234), false) << "an id outside the directory";
    ui.ToggleWindow(1234);
}

TEST_F(UiLayerTest, MouseBitsGoToTheWindowsInTheirOrder)
{
    std::vector<std::string> log;
    ui.GetRootContainer()->AddChild(new CRecorder(11, 0, &log));
    ui.GetRootContainer()->AddChild(new CRecorder(12, MOUSE_MOVE, &log));

    // Every bit at once, no press pending: double-click, down, right down,
    // move, right up, up; the upper window is asked first and takes the move.
    Latch(MOUSE_LDBLCLK | MOUSE_LDOWN | MOUSE_RDOWN | MOUSE_MOVE | MOUSE_RUP | MOUSE_LUP);
    ui.DispatchMouseButtons();
    EXPECT_EQ(log, (std::vector<std::string>{"12:dbl", "11:dbl", "12:ldown", "11:ldown", "12:rdown", "11:rdown",
                                             "12:move", "12:rup", "11:rup", "12:lup", "11:lup"}));
    EXPECT_EQ(g_mouseState.GetMouseEvents(), MOUSE_LDBLCLK | MOUSE_LDOWN | MOUSE_RDOWN | MOUSE_RUP | MOUSE_LUP)
        << "only the move was taken; a right click with no window open stays for the field";
    EXPECT_EQ(g_uiLeftHeld, 0u);

    // A double-click while a press is pending: the windows see the release
    // first (the press stays pending), and no second press.
    log.clear();
    g_mouseState.ResetMouseEvents();
    g_uiLeftHeld = 1;
    Latch(MOUSE_LDBLCLK | MOUSE_LDOWN);
    ui.DispatchMouseButtons();
    EXPECT_EQ(log, (std::vector<std::string>{"12:lup", "11:lup", "12:dbl", "11:dbl"}));
    EXPECT_EQ(g_uiLeftHeld, 1u);
}

TEST_F(UiLayerTest, AnUntakenReleaseOffersTheCarriedItemToTheFieldThenReturnsIt)
{
    static std::vector<std::string>* s_log;
    std::vector<std::string> log;
    s_log = &log;
    ui.GetRootContainer()->AddChild(new CRecorder(11, 0, &log));
    g_dropMouseItem = [](int x, int y) {
        s_log->push_back("drop " + std::to_string(x) + "," + std::to_string(y) + " carrying " +
                         std::to_string(g_mouseCursor.GetItemId()));
    };
    g_mouseCursor.PickUp(57, CMouseCursor::kFromItems, 3);
    Latch(MOUSE_LDOWN, 300, 200);
    ui.DispatchMouseButtons();
    g_mouseState.ResetMouseEvents();
    Latch(MOUSE_LUP, 310, 210);
    ui.DispatchMouseButtons();
    EXPECT_EQ(log, (std::vector<std::string>{"11:ldown", "11:lup", "drop 310,210 carrying 57"}));
    EXPECT_EQ(g_mouseCursor.GetItemId(), 0) << "returned";
    EXPECT_EQ(g_uiLeftHeld, 0u);
    EXPECT_TRUE(g_mouseState.IsMouseEvent(MOUSE_LUP)) << "the field still sees the release";

    // A release a window takes goes nowhere else.
    log.clear();
    ui.GetRootContainer()->AddChild(new CRecorder(12, MOUSE_LUP, &log));
    g_mouseCursor.PickUp(57, CMouseCursor::kFromItems, 3);
    g_uiLeftHeld = 1;
    g_mouseState.ResetMouseEvents();
    Latch(MOUSE_LUP);
    ui.DispatchMouseButtons();
    EXPECT_EQ(log, std::vector<std::string>{"12:lup"});
    EXPECT_FALSE(g_mouseState.IsMouseEvent(MOUSE_LUP));
    EXPECT_EQ(g_mouseCursor.GetItemId(), 0);
}

TEST_F(UiLayerTest, AnUntakenRightClickClosesTheTopmostOpenWindow)
{
    std::vector<std::string> log;
    ui.GetRootContainer()->AddChild(new CRecorder(11, 0, &log));
    ui.GetRootContainer()->AddChild(new CRecorder(2, 0, &log));  // chat: never closed by Esc
    ui.GetRootContainer()->FindChild(11)->SetState(CWidget::kOpen);
    ui.GetRootContainer()->FindChild(2)->SetState(CWidget::kOpen);
    Latch(MOUSE_RDOWN);
    ui.DispatchMouseButtons();
    EXPECT_EQ(log, (std::vector<std::string>{"2:rdown", "11:rdown", "11:esc"}));
    EXPECT_FALSE(g_mouseState.IsMouseEvent(MOUSE_RDOWN));
    log.clear();
    Latch(MOUSE_RDOWN);
    ui.DispatchMouseButtons();
    EXPECT_EQ(log, (std::vector<std::string>{"2:rdown", "11:rdown"})) << "11 is closing";
    EXPECT_TRUE(g_mouseState.IsMouseEvent(MOUSE_RDOWN));
}

TEST_F(UiLayerTest, SingleKeys)
{
    ui.CreateWindows();
    struct Row {
        uint32_t scan;
        uint32_t gm;
        std::vector<uint32_t> commands;
    };
    const Row rows[] = {
        {28, 0, {29}},     // Enter
        {59, 0, {69}},     // F1
        {61, 0, {3}},      // F3 with the chat window open
        {60, 0, {}},       // F2 needs the GM flag
        {60, 1, {2}},
        {62, 0, {12}},     // F4 needs no character of mine
        {63, 0, {}},       // F5 is the field's
        {64, 1, {}},       // F6 with no character of mine
        {31, 0, {}},       // S alone
    };
    for (const Row& r : rows) {
        g_gmFlag = r.gm;
        g_keyState[r.scan] = 1;
        g_lastKey = r.scan;
        ui.HandleHotKeys();
        g_keyState[r.scan] = 0;
        EXPECT_EQ(Commands(), r.commands) << "scan " << r.scan << " gm " << r.gm;
    }
    EXPECT_EQ(ui.m_gmChatIdle, 0) << "F2 with the chat window open";
    EXPECT_EQ(ui.m_chatOverlayShown, 1);

    // F3 with the chat window closed opens it first.
    ui.GetRootContainer()->FindChild(2)->SetState(CWidget::kClosed);
    g_keyState[61] = 1;
    g_lastKey = 61;
    ui.HandleHotKeys();
    EXPECT_EQ(Commands(), (std::vector<uint32_t>{2, 3}));

    // A combination of the hot-key list wins over the key table.
    AddHotKey(100, {29, 61});
    g_keyState[29] = 1;
    ui.HandleHotKeys();
    EXPECT_EQ(Commands(), std::vector<uint32_t>{100});
}

TEST_F(UiLayerTest, TheRouteTrailIsDrawnForEachClosedWindowUntilAnOpenOne)
{
    static int draws, stops;
    draws = stops = 0;
    g_routeTrailHook.draw = [](uint8_t*) { ++draws; };
    g_routeTrailHook.stop = [] { ++stops; };
    ui.OnFrame();
    EXPECT_EQ(draws, 6);
    EXPECT_EQ(stops, 0);

    draws = 0;
    ui.GetRootContainer()->FindChild(26)->SetState(CWidget::kOpen);
    ui.OnFrame();
    EXPECT_EQ(draws, 2) << "3 and 12 come before 26";
    EXPECT_EQ(stops, 1);

    draws = stops = 0;
    ui.GetRootContainer()->FindChild(3)->SetState(CWidget::kOpen);
    ui.OnFrame();
    EXPECT_EQ(draws, 0);
    EXPECT_EQ(stops, 1);
}

}  // namespace
