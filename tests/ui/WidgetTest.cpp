#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "ui/UiTestEnv.h"
#include "ui/Widget.h"
#include "ui/WidgetContainer.h"

namespace {

// ---- the slide ------------------------------------------------------------

struct SlideCase {
    const char* name;
    CPoint open;
    CPoint closed;
    uint32_t ticks;
    // Positions after each drawn frame until the state is 2 (opening) and 0
    // (closing); the last one is where it rests.
    std::vector<CPoint> opening;
    std::vector<CPoint> closing;
};

void PrintTo(const SlideCase& c, std::ostream* os)
{
    *os << c.name;
}

class WidgetSlide : public UiTest, public ::testing::WithParamInterface<SlideCase> {};

std::vector<CPoint> DrawUntil(CWidget& w, int32_t state, uint8_t* screen)
{
    std::vector<CPoint> path;
    for (int i = 0; i < 40 && w.GetState() != state; ++i) {
        w.Draw(screen);
        path.push_back(*w.GetPos());
    }
    return path;
}

TEST_P(WidgetSlide, FollowsTheStepRuleBothWays)
{
    const SlideCase& c = GetParam();
    CWidget w(7, kButton, c.open.x, c.open.y, c.closed.x, c.closed.y);
    g_uiFrameTicks = c.ticks;
    w.Toggle();
    ASSERT_EQ(w.GetState(), CWidget::kOpening);
    EXPECT_EQ(DrawUntil(w, CWidget::kOpen, Screen()), c.opening);
    w.Toggle();
    ASSERT_EQ(w.GetState(), CWidget::kClosing);
    EXPECT_EQ(DrawUntil(w, CWidget::kClosed, Screen()), c.closing);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, WidgetSlide,
    ::testing::Values(
        // More than 32 apart: 32 a tick, the last one put back on the target.
        SlideCase{"LongWayRight", {100, 0}, {0, 0}, 1, {{32, 0}, {64, 0}, {96, 0}, {100, 0}},
                  {{68, 0}, {36, 0}, {4, 0}, {0, 0}}},
        SlideCase{"LongWayLeft", {0, 0}, {100, 0}, 1, {{68, 0}, {36, 0}, {4, 0}, {0, 0}},
                  {{32, 0}, {64, 0}, {96, 0}, {100, 0}}},
        SlideCase{"ThreeTicksAFrame", {100, 0}, {0, 0}, 3, {{96, 0}, {100, 0}}, {{4, 0}, {0, 0}}},
        // Up to 32 to the right or below: 4 a tick.
        SlideCase{"ShortWayRight", {10, 0}, {0, 0}, 1, {{4, 0}, {8, 0}, {10, 0}}, {{6, 0}, {2, 0}, {0, 0}}},
        // Up to 32 to the left or above: +4 as well, so it arrives at once.
        SlideCase{"ShortWayLeftJumps", {0, 0}, {10, 0}, 1, {{0, 0}}, {{10, 0}}},
        SlideCase{"ShortWayUpJumps", {5, 0}, {5, 32}, 1, {{5, 0}}, {{5, 32}}},
        SlideCase{"EqualPositions", {50, 50}, {50, 50}, 1, {{50, 50}}, {{50, 50}}},
        // The shorter axis passes its target until the longer one arrives.
        SlideCase{"BothAxes", {8, 100}, {0, 0}, 1, {{4, 32}, {8, 64}, {12, 96}, {8, 100}},
                  {{4, 68}, {0, 36}, {-4, 4}, {0, 0}}}),
    [](const ::testing::TestParamInfo<SlideCase>& info) { return std::string(info.param.name); });

class WidgetStates : public UiTest {};

TEST_F(WidgetStates, DelaysWaitOnTheUiClockAndSurviveAToggleBack)
{
    CWidget w(7, kButton, 100, 0, 0, 0);
    w.SetDelays(5, 25);
    w.Toggle();
    Frames(w, 4);
    ASSERT_EQ(w.GetState(), CWidget::kOpen);
    EXPECT_EQ(w.GetCountdown(), 25);  // armed by the arrival

    w.Toggle();
    Frames(w, 10);
    EXPECT_EQ(w.GetState(), CWidget::kClosing);
    EXPECT_EQ(w.GetPos()->x, 100) << "closing waits";
    EXPECT_EQ(w.GetCountdown(), 15);
    w.Toggle();  // back to opening with what is left
    Frames(w, 15);
    EXPECT_EQ(w.GetState(), CWidget::kOpening);
    Frames(w, 1);
    EXPECT_EQ(w.GetState(), CWidget::kOpen);
    EXPECT_EQ(w.GetCountdown(), 25);

    w.Toggle();
    Frames(w, 25 + 4);
    ASSERT_EQ(w.GetState(), CWidget::kClosed);
    EXPECT_EQ(w.GetCountdown(), 5);
    Frames(w, 30);
    EXPECT_EQ(w.GetCountdown(), 5) << "a closed widget is not updated";
    w.Toggle();
    Frames(w, 2, 3);  // 5 ticks of waiting cost two frames of 3
    EXPECT_EQ(w.GetPos()->x, 0);
    Frames(w, 1, 3);
    EXPECT_EQ(w.GetPos()->x, 96);
}

TEST_F(WidgetStates, PinnedKeepsItsStateButMovesStraightToTheOpenPlace)
{
    CWidget w(7, kButton, 100, 0, 0, 0);
    w.SetPinned(1);
    w.Toggle();
    w.SetState(CWidget::kOpening);
    EXPECT_EQ(w.GetState(), CWidget::kClosed);
    w.MoveToOpenPos();
    EXPECT_EQ(w.GetState(), CWidget::kMovingOpen);
    std::vector<int32_t> xs;
    for (int i = 0; i < 4; ++i) {
        w.Draw(Screen());
        xs.push_back(w.GetPos()->x);
    }
    EXPECT_EQ(xs, (std::vector<int32_t>{32, 64, 96, 100}));
    EXPECT_EQ(w.GetState(), CWidget::kOpen);
    w.Toggle();
    EXPECT_EQ(w.GetState(), CWidget::kOpen);
}

TEST_F(WidgetStates, ClosedOrImagelessWidgetsAreNeitherDrawnNorMoved)
{
    CWidget bare(8, nullptr, 100, 0, 0, 0);
    bare.Toggle();
    Frames(bare, 5);
    EXPECT_EQ(bare.GetState(), CWidget::kOpening);
    EXPECT_EQ(bare.GetPos()->x, 0);

    CWidget w(7, kButton, 300, 200, 0, 0);
    Frames(w, 3);
    EXPECT_EQ(Pixel(1, 1), 0);
    w.MoveToOpenPos();
    Frames(w, 30, 60);
    EXPECT_EQ(Pixel(300, 200), 10) << "frame 0 at the open place";
    EXPECT_EQ(Pixel(329, 215), 10);
    EXPECT_EQ(Pixel(330, 215), 0);
}

// ---- the container ----------------------------------------------------------

class WidgetContainer : public UiTest {};

TEST_F(WidgetContainer, OffersEveryMouseEventFromTheTopmostDownToTheFirstTaker)
{
    using Handler = int (CWidget::*)(int32_t, int32_t);
    const std::array<Handler, 6> handlers = {&CWidget::OnLButtonDblClk, &CWidget::OnLButtonDown,
                                             &CWidget::OnRButtonDown,   &CWidget::OnMouseMove,
                                             &CWidget::OnRButtonUp,     &CWidget::OnLButtonUp};
    for (Handler h : handlers) {
        std::vector<int32_t> log;
        CWidgetContainer c(20);
        c.AddChild(new CProbe(1, 0, &log));
        c.AddChild(new CProbe(2, 1, &log));
        c.AddChild(new CProbe(3, 0, &log));
        EXPECT_EQ((c.*h)(10, 10), 1);
        EXPECT_EQ(log, (std::vector<int32_t>{3, 2}));
        log.clear();
        CWidgetContainer none(21);
        none.AddChild(new CProbe(1, 0, &log));
        none.AddChild(new CProbe(2, 0, &log));
        EXPECT_EQ((none.*h)(10, 10), 0) << "the container takes nothing itself";
        EXPECT_EQ(log, (std::vector<int32_t>{2, 1}));
    }
}

TEST_F(WidgetContainer, OwnsItsChildrenAndKeepsARefused129thAliveUntilItsEnd)
{
    int deaths = 0;
    std::vector<int32_t> log;
    {
        CWidgetContainer c(20);
        for (int i = 0; i < 128; ++i)
            EXPECT_TRUE(c.AddChild(new CProbe(100 + i, 0, nullptr, &deaths)));
        // Whoever made the 129th still holds it and may use it.
        auto* refused = new CProbe(999, 1, &log, &deaths);
        EXPECT_FALSE(c.AddChild(refused));
        EXPECT_EQ(deaths, 0);
        EXPECT_EQ(c.GetChildCount(), 128);
        EXPECT_EQ(c.FindChild(999), nullptr);
        EXPECT_EQ(c.FindChild(227)->GetId(), 227);
        EXPECT_EQ(c.OnLButtonDown(10, 10), 0) << "not offered events";
        EXPECT_EQ(refused->OnLButtonDown(10, 10), 1);
        EXPECT_EQ(log, std::vector<int32_t>{999});
        EXPECT_FALSE(c.AddChild(nullptr));
        EXPECT_EQ(c.GetChildCount(), 128);
    }
    EXPECT_EQ(deaths, 129) << "the refused one goes with the container";
}

TEST_F(WidgetContainer, OpeningClosesTheOpenLinkedWindowsOfTheRoot)
{
    CWidgetContainer& root = Root();
    auto* a = new CWidget(10);
    auto* b = new CWidget(11);
    auto* c = new CWidget(12);
    auto* d = new CWidget(13);
    auto* pinned = new CWidget(14);
    for (CWidget* w : {a, b, c, d, pinned})
        root.AddChild(w);
    const uint16_t linked[] = {11, 12, 99, 14, 0, 13};
    a->SetLinkedIds(linked, 6);
    b->SetState(CWidget::kOpen);
    c->SetState(CWidget::kClosing);
    d->SetState(CWidget::kOpen);
    pinned->SetState(CWidget::kOpening);
    pinned->SetPinned(1);

    a->Toggle();
    EXPECT_EQ(a->GetState(), CWidget::kOpening);
    EXPECT_EQ(b->GetState(), CWidget::kClosing);
    EXPECT_EQ(c->GetState(), CWidget::kClosing);
    EXPECT_EQ(pinned->GetState(), CWidget::kOpening);
    EXPECT_EQ(d->GetState(), CWidget::kOpen) << "ids after the first 0 are not linked";

    // No UI layer: nothing is looked up.
    g_layerHolder.SetLayer(nullptr);
    CWidget lone(15);
    lone.SetLinkedIds(linked, 6);
    lone.SetState(CWidget::kOpening);
    EXPECT_EQ(lone.GetState(), CWidget::kOpening);
    EXPECT_EQ(d->GetState(), CWidget::kOpen);
}

TEST_F(WidgetContainer, RootPassesToggleAndStateOnWithoutTakingThem)
{
    CWidgetContainer& root = Root();
    auto* w = new CWidgetContainer(20);
    auto* inner = new CWidget(21);
    w->AddChild(inner);
    root.AddChild(w);
    root.Toggle();
    EXPECT_EQ(root.GetState(), CWidget::kClosed);
    EXPECT_EQ(w->GetState(), CWidget::kOpening);
    // The window's toggle set its child opening, then toggled it again.
    EXPECT_EQ(inner->GetState(), CWidget::kClosing);
    root.SetState(CWidget::kOpen);
    EXPECT_EQ(root.GetState(), CWidget::kClosed);
    EXPECT_EQ(inner->GetState(), CWidget::kOpen);
    EXPECT_EQ(root.FindChild(21), nullptr) << "direct children only";
}

TEST_F(WidgetContainer, EscapeClosesTheTopmostOpenWindowThatIsNotExempt)
{
    CWidgetContainer& root = Root();
    std::vector<CWidget*> w;
    for (int32_t id : {5, 2, 6, 42, 4, 69})
        root.AddChild(w.emplace_back(new CWidget(id)));
    for (CWidget* x : w)
        if (x->GetId() != 6)
            x->SetState(CWidget::kOpen);
    EXPECT_EQ(root.OnEscape(), 5);
    EXPECT_EQ(w[0]->GetState(), CWidget::kClosing);
    for (size_t i = 1; i < w.size(); ++i)
        EXPECT_EQ(w[i]->GetState(), w[i]->GetId() == 6 ? CWidget::kClosed : CWidget::kOpen) << w[i]->GetId();
    EXPECT_EQ(root.OnEscape(), 0) << "only exempt, closed and closing windows left";
    EXPECT_EQ(root.GetState(), CWidget::kClosed);
}

TEST_F(WidgetContainer, EscapeOnAWindowClosesItAndPassesOnToItsTopmostChild)
{
    CWidgetContainer& root = Root();
    auto* win = new CWidgetContainer(20, kButton, 100, 0, 0, 0);
    auto* child = new CWidget(77);
    win->AddChild(child);
    root.AddChild(win);
    win->SetState(CWidget::kOpen);
    // The window's toggle closes it and its child, then toggles the child
    // back to opening; the child is the topmost open one and closes again.
    EXPECT_EQ(root.OnEscape(), 77);
    EXPECT_EQ(win->GetState(), CWidget::kClosing);
    EXPECT_EQ(child->GetState(), CWidget::kClosing);
    Frames(root, 5);
    EXPECT_EQ(win->GetState(), CWidget::kClosed);
    EXPECT_EQ(child->GetState(), CWidget::kClosed) << "the closing completion reaches the children";
}

TEST_F(WidgetContainer, PinMainWindowsTakesTheLowByteAndSkipsMissingWindows)
{
    CWidgetContainer& root = Root();
    for (int32_t id : {4, 6, 9, 5})
        root.AddChild(new CWidget(id));
    root.PinMainWindows(0x101);
    for (int32_t id : {4, 6, 9})
        EXPECT_EQ(root.FindChild(id)->IsPinned(), 1) << id;
    EXPECT_EQ(root.FindChild(5)->IsPinned(), 0);
    root.Toggle();
    EXPECT_EQ(root.FindChild(4)->GetState(), CWidget::kClosed);
    EXPECT_EQ(root.FindChild(5)->GetState(), CWidget::kOpening);
    root.PinMainWindows(0x100);
    EXPECT_EQ(root.FindChild(4)->IsPinned(), 0);
}

TEST_F(WidgetContainer, TextHelpersCentreAndPickTheLanguage)
{
    CWidget w(7);
    w.SetTooltip("한국어", "English");
    EXPECT_STREQ(w.GetTooltip(), "한국어");
    English(true);
    w.SetTooltip("한국어", "English");
    EXPECT_STREQ(w.GetTooltip(), "English");
    // Single-byte glyph c draws a bar in its first row: "ab" centred on 100
    // starts at 100 - 2 x 6 / 2, 7 pixels up.
    g_pTextLayer->SetTarget(Screen(), 800, 600);
    g_pTextLayer->SetColors(15, 255);
    CWidget::DrawTextCentered(100, 50, "ab", 0);
    EXPECT_EQ(Pixel(93, 43), 0);
    EXPECT_EQ(Pixel(94, 43), 15);
    w.DrawTooltip(300, 300, Screen());
    EXPECT_EQ(Pixel(300, 300), 60);
}

}  // namespace
