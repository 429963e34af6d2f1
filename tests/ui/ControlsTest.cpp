#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "fixtures/WidgetSprites.h"
#include "ui/ButtonRow.h"
#include "ui/ButtonWidget.h"
#include "ui/CheckBox.h"
#include "ui/IconList.h"
#include "ui/MenuFan.h"
#include "ui/ToggleButton.h"
#include "ui/TooltipArea.h"
#include "ui/UiTestEnv.h"
#include "world/ObjLayer.h"
#include "ui/WidgetWindow.h"

namespace {

// The owner window rests open at (100, 100); its controls take their place
// from it at their first drawn frame.
class Controls : public UiTest {
protected:
    Controls() { owner.SetState(CWidget::kOpen); }
    // A control becomes a child of the owner, which passes its state on.
    template <class T>
    T& Put(T* control)
    {
        owner.AddChild(control);
        control->SetState(owner.GetState());
        return *control;
    }
    // Press and release at one point, at a given object-layer frame.
    void Click(CWidget& w, int32_t x, int32_t y, uint32_t clock)
    {
        g_frameClock = clock;
        w.OnLButtonDown(x, y);
        w.OnLButtonUp(x, y);
    }
    CWidgetWindow owner{50, kWindow, 100, 100, 100, 100, 0};
};

TEST_F(Controls, ButtonPostsOnAReleaseOverItAfterAnAcceptedPress)
{
    CButtonWidget& b = Put(new CButtonWidget(0, kButton, &owner, 20, 30, 77, 15));
    Frames(b, 1);
    ASSERT_EQ(*b.GetPos(), (CPoint{120, 130}));
    ASSERT_EQ(b.GetState(), CWidget::kOpen);

    g_frameClock = 3;  // within 15 frames of the start: still the first press
    EXPECT_EQ(b.OnLButtonDown(125, 135), 1);
    EXPECT_EQ(b.GetLook(), CButtonWidget::kLookPressed);
    b.OnMouseMove(300, 300);
    EXPECT_EQ(b.GetLook(), CButtonWidget::kLookNormal);
    EXPECT_EQ(b.GetPressState(), CButtonWidget::kHeldOff);
    b.OnMouseMove(126, 136);
    EXPECT_EQ(b.GetPressState(), CButtonWidget::kLookPressed);
    EXPECT_EQ(b.OnLButtonUp(126, 136), 1);
    EXPECT_EQ(b.GetLook(), CButtonWidget::kLookHover);
    EXPECT_EQ(Commands(), (std::vector<int32_t>{77}));

    // 10 frames later the press is taken but ignored.
    g_frameClock = 13;
    EXPECT_EQ(b.OnLButtonDown(125, 135), 1);
    EXPECT_EQ(b.IsPressed(), 0);
    EXPECT_EQ(b.OnLButtonUp(125, 135), 0);
    // 15 frames later it counts, but a release off the button posts nothing.
    g_frameClock = 18;
    b.OnLButtonDown(125, 135);
    EXPECT_EQ(b.OnLButtonUp(160, 135), 0);
    EXPECT_EQ(b.GetLook(), CButtonWidget::kLookNormal);
    EXPECT_TRUE(Commands().empty());

    // Outside the button nothing is taken.
    g_frameClock = 100;
    EXPECT_EQ(b.OnLButtonDown(120, 135), 0) << "the frame's edge is outside";
    // The clock wraps: the difference still counts.
    Click(b, 125, 135, 0x80000010u);
    Click(b, 125, 135, 0xFFFFFFF8u);
    Click(b, 125, 135, 3);
    Click(b, 125, 135, 7);
    EXPECT_EQ(Commands(), (std::vector<int32_t>{77, 77, 77}));
}

TEST_F(Controls, ButtonOfAnOpeningWindowOrDisabledPostsNothing)
{
    CButtonWidget& b = Put(new CButtonWidget(0, kButton, &owner, 20, 30, 77, 15));
    owner.SetState(CWidget::kOpening);
    Frames(b, 1);
    Click(b, 125, 135, 1);
    EXPECT_TRUE(Commands().empty());

    owner.SetState(CWidget::kOpen);
    Frames(b, 1);
    b.SetLook(CButtonWidget::kLookDisabled);
    EXPECT_EQ(b.OnLButtonDown(125, 135), 0);
    b.OnMouseMove(125, 135);
    EXPECT_EQ(b.GetLook(), CButtonWidget::kLookDisabled);
    EXPECT_EQ(b.OnLButtonUp(125, 135), 0);
    Frames(b, 1);
    EXPECT_EQ(Pixel(125, 135), 13) << "drawn disabled";
    EXPECT_TRUE(Commands().empty());

    // Closing resets the look; a closed button forgets its press.
    b.SetLook(CButtonWidget::kLookNormal);
    b.OnLButtonDown(125, 135);
    b.SetState(CWidget::kClosing);
    EXPECT_EQ(b.IsPressed(), 0);
}

TEST_F(Controls, HoveredButtonShowsItsTooltipAbove)
{
    English(true);
    CButtonWidget& b = Put(new CButtonWidget(0, kButton, &owner, 20, 30, 77, 15));
    b.SetTooltip("도움", "Tip");
    Frames(b, 1);
    EXPECT_EQ(Pixel(120, 116), 0);
    b.OnMouseMove(125, 135);
    Frames(b, 1);
    EXPECT_EQ(Pixel(125, 135), 11) << "hover frame";
    EXPECT_EQ(Pixel(120, 116), 60) << "tooltip 14 pixels above";
}

TEST_F(Controls, CheckBoxFlipsOnlyWhenItsReleasePosts)
{
    CCheckBox& c = Put(new CCheckBox(0, kButton, &owner, 60, 30, 88, 0));
    Frames(c, 1);
    const WidgetSpriteDef& mark = CWidgetSprites::kCheckMark;
    // Left of the button, centred on its 16 pixels.
    EXPECT_EQ(Pixel(160 - 10, 130 + 5), mark.colour);
    EXPECT_EQ(Pixel(160 - 11, 135), 0);
    Click(c, 165, 135, 0);
    EXPECT_EQ(c.IsTicked(), 1);
    Frames(c, 1);
    EXPECT_EQ(Pixel(150, 135), mark.colour + 1);
    g_frameClock = 20;
    c.OnLButtonDown(165, 135);
    c.OnLButtonUp(300, 300);
    EXPECT_EQ(c.IsTicked(), 1);
    Click(c, 165, 135, 30);  // within the interval of the last accepted press
    EXPECT_EQ(c.IsTicked(), 1);
    Click(c, 165, 135, 40);
    EXPECT_EQ(c.IsTicked(), 0);
    EXPECT_EQ(Commands(), (std::vector<int32_t>{88, 88}));
}

TEST_F(Controls, ToggleGroupSharesOneSelection)
{
    int32_t selection = 1;
    CToggleButton& a = Put(new CToggleButton(0, kButton, &owner, 0, 0, 1, &selection));
    CToggleButton& b = Put(new CToggleButton(0, kButton, &owner, 40, 0, 2, &selection));
    CToggleButton& c = Put(new CToggleButton(0, kButton, &owner, 80, 0, 2, &selection));
    for (CWidget* w : {&a, &b, &c})
        Frames(*w, 1);
    EXPECT_EQ(Pixel(105, 105), 12);
    EXPECT_EQ(Pixel(145, 105), 10);
    g_frameClock = 0;
    EXPECT_EQ(b.OnLButtonDown(145, 105), 1);
    EXPECT_EQ(selection, 2);
    EXPECT_EQ(b.OnLButtonDown(145, 105), 1) << "no repeat interval";
    EXPECT_EQ(b.OnLButtonUp(145, 105), 1);
    EXPECT_EQ(Commands(), (std::vector<int32_t>{0}));
    for (CWidget* w : {&a, &b, &c})
        Frames(*w, 1);
    EXPECT_EQ(Pixel(105, 105), 10);
    EXPECT_EQ(Pixel(145, 105), 12);
    EXPECT_EQ(Pixel(185, 105), 12);
}

TEST_F(Controls, TooltipAreaIsStrictlyInsideItsRectangle)
{
    English(true);
    CTooltipArea& t = Put(new CTooltipArea(0, &owner, 10, 10, 20, 20, 0, -16));
    t.SetTooltip("도움", "Tip");
    for (auto [x, y, hover] : std::vector<std::tuple<int, int, int>>{
             {110, 115, 0}, {111, 115, 1}, {129, 129, 1}, {130, 115, 0}, {120, 130, 0}}) {
        EXPECT_EQ(t.OnMouseMove(x, y), 0);
        EXPECT_EQ(t.IsHovered(), hover) << x << "," << y;
    }
    t.OnMouseMove(120, 120);
    Frames(t, 1);
    EXPECT_EQ(Pixel(100, 84), 60);
}

TEST_F(Controls, ButtonRowHoversSelectsAndDrawsTheSelectedOneLast)
{
    English(true);
    const int32_t codes[] = {5, 6, 7};
    const char* ko[] = {"하나", "둘", "셋"};
    const char* en[] = {"One", "Two", "Three"};
    // Pitch 8 lets 12-pixel buttons overlap by 4, which shows the order.
    CButtonRow row(0, kRow, 300, 300, 300, 300, 3, 8, codes, ko, en);
    row.SetState(CWidget::kOpen);
    EXPECT_EQ(row.GetHovered(), 3) << "a fresh row hovers nothing";
    Frames(row, 1);
    EXPECT_EQ(Pixel(301, 301), 20);
    EXPECT_EQ(Pixel(301, 309), 20) << "selected 0 drawn last";
    EXPECT_EQ(Pixel(301, 317), 21) << "then 2, then 1: 1 lies over 2";
    EXPECT_EQ(Pixel(320, 318), 21) << "no tooltip";
    EXPECT_EQ(row.OnLButtonDown(310, 310), 0);

    row.OnMouseMove(310, 322);  // inside button 2 only
    EXPECT_EQ(row.GetHovered(), 2);
    EXPECT_EQ(row.OnLButtonDown(310, 322), 1);
    EXPECT_EQ(Commands(), (std::vector<int32_t>{7}));
    ClearScreen();
    Frames(row, 1);
    EXPECT_EQ(Pixel(301, 317), 25) << "selected and hovered: frame 2 + 3 on top";
    EXPECT_EQ(Pixel(301, 309), 21) << "1 over 0";
    EXPECT_STREQ(row.GetTooltip(), "Three");
    EXPECT_EQ(Pixel(320, 326), 60);

    row.SetPinned(1);
    row.OnMouseMove(310, 302);
    EXPECT_EQ(row.GetHovered(), 2);
    EXPECT_EQ(row.OnLButtonDown(310, 302), 0);
}

TEST_F(Controls, PageStackGivesTheMouseToTheFrontPageOnly)
{
    std::vector<int32_t> log;
    int deaths = 0;
    CIconList stack(3, 60, 400, 100, 400, 100);
    stack.SetItem(0, new CProbe(10, 0, &log, &deaths))->SetItem(1, new CProbe(11, 1, &log, &deaths));
    EXPECT_EQ(stack.OnLButtonDown(1, 1), 0) << "page 1 would take it, but page 0 is in front";
    EXPECT_EQ(log, (std::vector<int32_t>{10}));
    stack.MoveToFront(1);
    EXPECT_EQ(stack.OnLButtonDown(1, 1), 1);
    EXPECT_EQ(stack.GetOrder(0), 1);
    EXPECT_EQ(stack.GetOrder(1), 0);
    stack.MoveToFront(7);
    EXPECT_EQ(stack.GetOrder(0), 1);
    stack.MoveToFront(2);  // a page not filled yet
    EXPECT_EQ(stack.OnLButtonDown(1, 1), 0);
    EXPECT_EQ(stack.OnMouseMove(1, 1), 0);
    stack.SetState(CWidget::kOpen);
    Frames(stack, 1);
    stack.SetItem(1, new CProbe(12, 0, &log, &deaths));
    EXPECT_EQ(deaths, 1) << "the replaced page";
    stack.SetItem(5, new CProbe(13, 0, &log, &deaths));
    EXPECT_EQ(deaths, 2) << "no such page";
}

TEST_F(Controls, PageStackDrawsItsPagesAtItsPlaceFrontLast)
{
    CIconList stack(2, 60, 400, 100, 400, 100);
    stack.SetItem(0, new CWidget(0, kButton, 0, 0, 0, 0))->SetItem(1, new CWidget(0, kRow, 0, 0, 0, 0));
    stack.SetState(CWidget::kOpen);
    Frames(stack, 1);
    EXPECT_EQ(Pixel(401, 101), 10) << "page 0 in front";
    EXPECT_EQ(Pixel(435, 101), 20) << "page 1 behind, wider";
    EXPECT_EQ(stack.GetPage(1)->GetState(), CWidget::kOpen);
    stack.MoveToFront(1);
    Frames(stack, 1);
    EXPECT_EQ(Pixel(401, 101), 20);
}

TEST_F(Controls, MenuFanTravelsWithTheWindowAndPostsItsCommands)
{
    const std::array<CPoint, 3> starts{CPoint{10, 500}, CPoint{10, 450}, CPoint{10, 400}};
    const std::array<CPoint, 3> ends{CPoint{410, 300}, CPoint{450, 250}, CPoint{490, 200}};
    CMenuFan fan(starts, ends);
    CWidgetWindow menu(72, kFan, 400, 0, 0, 0, 0);
    menu.LoadImageOnDemand();
    menu.SetState(CWidget::kOpen);
    menu.SetFrame(-1);
    EXPECT_EQ(fan.ButtonAt(menu, 0), starts[0]) << "at the closed x";
    menu.SetPos(CPoint{200, 0});
    EXPECT_EQ(fan.ButtonAt(menu, 1), (CPoint{230, 350}));
    menu.SetPos(*menu.GetOpenPos());
    fan.Draw(menu, Screen());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Pixel(ends[static_cast<size_t>(i)].x + 1, ends[static_cast<size_t>(i)].y + 1), 30 + i) << i;

    fan.OnMouseMove(menu, 455, 255);
    EXPECT_EQ(menu.GetFrame(), 1);
    const uint8_t pointer = CWidgetSprites::kMenuPointer.colour;
    std::vector<int> frames;
    for (int i = 0; i < 20; ++i) {
        fan.Draw(menu, Screen());
        frames.push_back(Pixel(450 - 65, 250 - 15) - pointer);
    }
    EXPECT_EQ(frames, (std::vector<int>{0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 0, 0}));
    EXPECT_EQ(fan.OnLButtonDown(menu, 0, 0), 1);
    EXPECT_EQ(menu.GetFrame(), -1);
    EXPECT_EQ(fan.OnLButtonDown(menu, 0, 0), 0);
    menu.SetState(CWidget::kOpening);
    fan.OnMouseMove(menu, 415, 305);
    EXPECT_EQ(menu.GetFrame(), -1) << "only an open menu hovers";
    EXPECT_EQ(Commands(), (std::vector<int32_t>{17}));

    // A menu that does not slide has its buttons at their ends.
    CWidgetWindow fixed(73, kFan, 50, 0, 50, 0, 0);
    EXPECT_EQ(fan.ButtonAt(fixed, 2), ends[2]);
}

}  // namespace
