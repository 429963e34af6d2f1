#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/RleFrame.h"
#include "fixtures/FontBuilder.h"
#include "fixtures/WidgetSprites.h"
#include "ui/ListWidgetEx.h"
#include "ui/MarketList.h"
#include "ui/ScrollBarWidget.h"
#include "ui/UiTestEnv.h"
#include "world/ObjLayer.h"
#include "ui/WidgetWindow.h"

namespace {

// The owner window rests open at (100, 100) with its image loaded; a list
// on it at offset (20, 20) with its text 5 pixels in, 10 rows shown.
class Lists : public UiTest {
protected:
    Lists()
    {
        owner.LoadImageOnDemand();
        owner.SetState(CWidget::kOpen);
    }
    void Fill(CListWidget& l, int rows)
    {
        names.clear();
        for (int i = 0; i < rows; ++i)
            names.push_back("r" + std::to_string(i));
        l.Clear();
        for (int i = 0; i < rows; ++i)
            l.AddRow(names[static_cast<size_t>(i)].c_str(), 100 + i);
    }
    // A point on row r of the shown rows.
    static CPoint OnRow(int r) { return CPoint{125 + 3, 125 + 14 * r + 3}; }

    CWidgetWindow owner{50, kWindow, 100, 100, 100, 100, 0};
    int32_t selection = -1;
    CListWidget list{&owner, 20, 20, 0, 0, 0, 0, 5, 5, 10, &selection};
    std::vector<std::string> names;
};

struct ScrollCase {
    int rows;
    double fraction;  // SetScrollFraction, unless NaN
    int topIndex;     // then SetTopIndex, unless -99
    int top;
    double a;
    double b;
};

TEST_F(Lists, ScrollOperationsHoldTheTopRowInRange)
{
    const double none = std::numeric_limits<double>::quiet_NaN();
    const std::vector<ScrollCase> cases = {
        {30, 1.0, -99, 20, 20.0 / 30, 1.0},        {30, 0.5, -99, 15, 0.5, 25.0 / 30},
        {30, 0.999, -99, 20, 20.0 / 30, 1.0},      {30, -0.4, -99, 0, 0.0, 10.0 / 30},
        {30, 1e300, -99, 20, 20.0 / 30, 1.0},      {30, none, 99, 20, 20.0 / 30, 1.0},
        {30, none, -3, 0, 0.0, 10.0 / 30},         {5, none, 3, 0, 0.0, 1.0},
        {0, 0.7, -99, 0, 0.0, 0.0},                {128, 0.5, -99, 64, 0.5, 74.0 / 128},
    };
    for (const ScrollCase& c : cases) {
        Fill(list, c.rows);
        list.SetTopIndex(0);
        if (!std::isnan(c.fraction))
            list.SetScrollFraction(c.fraction);
        if (c.topIndex != -99)
            list.SetTopIndex(c.topIndex);
        EXPECT_EQ(list.GetTopIndex(), c.top) << c.rows << " rows, " << c.fraction << ", " << c.topIndex;
        double a = -1, b = -1;
        list.GetScrollFraction(&a, &b);
        EXPECT_DOUBLE_EQ(a, c.a);
        EXPECT_DOUBLE_EQ(b, c.b);
    }
    list.SetScrollFraction(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(list.GetTopIndex(), 0);
    Fill(list, 12);
    for (int i = 0; i < 5; ++i)
        list.ScrollDown();
    EXPECT_EQ(list.GetTopIndex(), 2);
    for (int i = 0; i < 5; ++i)
        list.ScrollUp();
    EXPECT_EQ(list.GetTopIndex(), 0);
    for (int i = 0; i < 200; ++i)
        list.AddRow("x", i);
    EXPECT_EQ(list.GetRowCount(), 128);
}

TEST_F(Lists, ARowClickSelectsItsValueAndPostsCommandOne)
{
    Fill(list, 12);
    list.SetTopIndex(2);
    CPoint p = OnRow(3);
    EXPECT_EQ(list.OnLButtonDown(p.x, p.y), 1);
    EXPECT_EQ(selection, 105);
    EXPECT_EQ(Commands(), (std::vector<int32_t>{1}));
    // Up to 13 pixels above the first row the row number truncates to 0.
    EXPECT_EQ(list.OnLButtonDown(130, 125 - 5), 1);
    EXPECT_EQ(selection, 102);
    EXPECT_EQ(list.OnLButtonDown(130, 125 - 14), 0);
    EXPECT_EQ(list.OnLButtonDown(124, 130), 0) << "left of the text";
    EXPECT_EQ(list.OnLButtonDown(125 + 800, 130), 0);
    p = OnRow(10);
    EXPECT_EQ(list.OnLButtonDown(p.x, p.y), 0) << "below the shown rows";
    list.SetTopIndex(0);
    Fill(list, 3);
    p = OnRow(3);
    EXPECT_EQ(list.OnLButtonDown(p.x, p.y), 0) << "below the last row";
    Commands();

    // While the market window (58) is open a click selects but posts nothing.
    Root().AddChild(new CWidget(58));
    Root().FindChild(58)->SetState(CWidget::kOpen);
    p = OnRow(1);
    EXPECT_EQ(list.OnLButtonDown(p.x, p.y), 1);
    EXPECT_EQ(selection, 101);
    EXPECT_TRUE(Commands().empty());
}

TEST_F(Lists, ListWithItsOwnImageDrawsTheShownRowsIntoIt)
{
    CListWidgetEx ex(&owner, 20, 20, owner.GetSprite(), 20, 20, 60, 50, 5, 5, 3, &selection);
    const CSlrList& bg = ex.GetBackground();
    ASSERT_TRUE(bg.IsLoaded());
    EXPECT_EQ(RleFrameWidth(bg.GetFrame(0), bg.GetFrameSize(0)), 60u);
    Fill(ex, 6);
    ex.SetTopIndex(1);
    selection = 102;
    auto at = [&](int x, int y) { return ex.GetSprite()->GetFrame(0)[8 + static_cast<size_t>(y) * 60 + static_cast<size_t>(x)]; };
    const uint8_t before = at(5, 5 + 14);
    ex.Refresh();
    EXPECT_EQ(at(5, 5 + 14), before) << "a closed list is not redrawn";
    ex.SetState(CWidget::kOpen);
    ex.Refresh();
    EXPECT_EQ(at(5, 5), 162) << "row 1";
    EXPECT_EQ(at(5, 5 + 14), 60) << "row 2, selected";
    EXPECT_EQ(at(5, 5 + 28), 162);
    // Restored from the background before each redraw.
    selection = 101;
    ex.Refresh();
    EXPECT_EQ(at(5, 5), 60);
    EXPECT_EQ(at(5, 5 + 14), 162);
    Frames(ex, 1);
    EXPECT_EQ(Pixel(125, 125), 60) << "the list's image at owner + offset";

    // A row ends at its line feed: the next line ("pq", back at the row's
    // start) is not drawn over it.
    const std::string page = "ab\npq\n";
    ex.Clear();
    ex.AddRow(page.c_str(), 101);
    ex.SetTopIndex(0);
    ex.Refresh();
    ClearScreen();
    Frames(ex, 1);
    uint16_t rows[16];
    CFontBuilder::ReadCell(Screen(), 800, 125, 125, 8, 60, rows);
    EXPECT_EQ(CFontBuilder::DecodeAscii(rows), 'a');
}

TEST_F(Lists, MarketListDrawsItsRowsOntoTheScreen)
{
    CMarketList market(&owner, 20, 20, 0, 0, 0, 0, 5, 5, 4, &selection);
    Fill(market, 6);
    selection = 101;
    market.SetTopIndex(1);
    Frames(market, 1);
    EXPECT_EQ(Pixel(125, 125), 0) << "closed";
    market.SetState(CWidget::kOpen);
    Frames(market, 1);
    EXPECT_EQ(Pixel(125, 125), 60);
    EXPECT_EQ(Pixel(125, 139), 162);
    EXPECT_EQ(Pixel(125, 125 + 14 * 4), 0) << "four rows shown";
}

// A scroll bar on the owner: arrows at (150, 20) and (150, 120), the track
// from (150, 32) to (164, 120), 88 pixels.
class ScrollBar : public Lists {
protected:
    ScrollBar()
    {
        Fill(list, 30);
        bar.SetState(CWidget::kOpen);
        Frames(bar, 1);  // places the arrows
    }
    CScrollBarWidget bar{&owner, 150, 20, 150, 120, 150, 32, 164, 120, &list};
};

TEST_F(ScrollBar, ThumbShowsTheShownPartAndNeverShrinksBelowTen)
{
    bar.Refresh();
    EXPECT_EQ(bar.GetThumbTop(), 0);
    EXPECT_EQ(bar.GetThumbBottom(), 29);
    list.SetTopIndex(20);
    bar.Refresh();
    EXPECT_EQ(bar.GetThumbTop(), 58);
    EXPECT_EQ(bar.GetThumbBottom(), 88);
    Fill(list, 0);
    bar.Refresh();
    EXPECT_EQ(bar.GetThumbTop(), 0);
    EXPECT_EQ(bar.GetThumbBottom(), 10);
    Fill(list, 128);
    list.SetTopIndex(118);
    bar.Refresh();
    EXPECT_EQ(bar.GetThumbBottom() - bar.GetThumbTop(), 10);
    EXPECT_EQ(bar.GetThumbBottom(), 10 + static_cast<int>(78 * (118.0 / 128)));
    ClearScreen();
    Frames(bar, 1);
    EXPECT_EQ(Pixel(247, 132 + bar.GetThumbTop()), CWidgetSprites::kThumb.colour);
}

TEST_F(ScrollBar, DraggingFarBesideTheTrackSpringsTheListBack)
{
    list.SetTopIndex(4);
    EXPECT_EQ(bar.OnLButtonDown(257, 132 + 44), 1);  // the middle of the track
    EXPECT_EQ(list.GetTopIndex(), 15);
    EXPECT_EQ(bar.IsDragging(), 1);
    EXPECT_EQ(bar.OnMouseMove(100 + 164 + 25, 132 + 66), 1);
    EXPECT_EQ(list.GetTopIndex(), 4) << "back where the drag began";
    EXPECT_EQ(bar.OnMouseMove(100 + 164 + 19, 132 + 66), 1);
    EXPECT_EQ(list.GetTopIndex(), 20);
    EXPECT_EQ(bar.GetThumbTop(), 58);
    EXPECT_EQ(bar.OnLButtonUp(283, 198), 0);
    EXPECT_EQ(bar.OnMouseMove(257, 140), 0);
    EXPECT_EQ(list.GetTopIndex(), 20);
    EXPECT_EQ(bar.OnLButtonDown(250, 150), 0) << "the track's edge is outside";
}

TEST_F(ScrollBar, HoldingAnArrowScrollsAtOnceThenFromTheEleventhFrame)
{
    g_frameClock = 0;
    EXPECT_EQ(bar.OnLButtonDown(255, 225), 0);  // the down arrow
    ASSERT_EQ(bar.GetDownArrow()->GetPressState(), CButtonWidget::kLookPressed);
    std::vector<int32_t> tops;
    for (int frame = 1; frame <= 15; ++frame) {
        bar.Draw(Screen());
        tops.push_back(list.GetTopIndex());
    }
    EXPECT_EQ(tops, (std::vector<int32_t>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 3, 4, 5, 6}));
    bar.OnLButtonUp(255, 225);
    EXPECT_EQ(Commands(), std::vector<int32_t>{-1}) << "the arrow's command code, queued like any";
    bar.Draw(Screen());
    EXPECT_EQ(list.GetTopIndex(), 6);

    g_frameClock = 50;
    bar.OnLButtonDown(255, 125);  // the up arrow
    bar.Draw(Screen());
    EXPECT_EQ(list.GetTopIndex(), 5);
    bar.SetState(CWidget::kClosing);
    bar.Draw(Screen());
    EXPECT_EQ(list.GetTopIndex(), 0) << "a bar whose window is not open keeps its list at the top";
    EXPECT_EQ(bar.GetThumbTop(), 0);
}

}  // namespace
