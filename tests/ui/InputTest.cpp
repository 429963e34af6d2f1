#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/TextLayer.h"
#include "ui/InputBox.h"
#include "ui/InputFocus.h"
#include "ui/NumberBox.h"
#include "ui/SliderWidget.h"
#include "ui/UiTestEnv.h"
#include "world/ObjLayer.h"

namespace {

// A slider at (200, 400) with a track 100 pixels wide and 10 high.
class Slider : public UiTest {
protected:
    Slider()
    {
        slider.SetState(CWidget::kOpen);
        Frames(slider, 1);
    }
    int32_t KnobX() const { return slider.GetKnob()->GetOffsetX(); }

    int32_t value = 30;
    CSliderWidget slider{0, kBar, 200, 400, 200, 400, 0, 0, 100, 10, &value, 90, 0};
};

TEST_F(Slider, PressOnTheTrackSetsTheValueAndPlacesTheKnob)
{
    EXPECT_EQ(KnobX(), 20);
    EXPECT_EQ(slider.GetKnob()->GetOffsetY(), -5);
    EXPECT_EQ(*slider.GetKnob()->GetPos(), (CPoint{220, 395}));
    EXPECT_EQ(slider.OnLButtonDown(250, 405), 1);
    EXPECT_EQ(value, 50);
    EXPECT_EQ(KnobX(), 40);
    EXPECT_EQ(Commands(), (std::vector<int32_t>{90}));
    slider.OnLButtonUp(250, 405);
    EXPECT_TRUE(Commands().empty()) << "the knob was not held";
    slider.OnLButtonDown(300, 410);  // the track's corner is on it
    EXPECT_EQ(value, 100);
    EXPECT_EQ(slider.OnLButtonDown(301, 405), 0) << "beside the track";
    EXPECT_EQ(value, 100);
    Frames(slider, 1);
    EXPECT_EQ(Pixel(291, 396), 80) << "the knob follows";
}

TEST_F(Slider, DragFollowsTheCursorAndSpringsBackFarOffTheTrack)
{
    slider.OnLButtonDown(230, 405);  // on the knob
    ASSERT_EQ(slider.GetKnob()->IsPressed(), 1);
    std::vector<int32_t> values;
    for (auto [x, y] : std::vector<std::pair<int, int>>{{310, 405}, {250, 379}, {250, 380}, {260, 405}, {170, 430}}) {
        EXPECT_EQ(slider.OnMouseMove(x, y), 1);
        values.push_back(value);
    }
    // Past the right end within 20: 100; 21 above: back to 30; 20 above
    // counts; 30 beside the left end is far: back again.
    EXPECT_EQ(values, (std::vector<int32_t>{100, 30, 50, 60, 30}));
    slider.OnMouseMove(260, 405);
    Frames(slider, 1);  // the knob is under the cursor again
    EXPECT_EQ(slider.OnLButtonUp(260, 405), 0);
    // One push at the press, one a move, and the release's two: the
    // slider's and the knob's own.
    EXPECT_EQ(Commands(), std::vector<int32_t>(1 + 6 + 2, 90));
    EXPECT_EQ(slider.OnMouseMove(100, 100), 0) << "no longer held";
    EXPECT_EQ(value, 60);
}

TEST_F(Slider, AKnobPressOffTheTrackSpringsBackToTheValueItStartedWith)
{
    slider.OnLButtonDown(270, 405);  // value 70 remembered for this press
    slider.OnLButtonUp(270, 405);
    value = 0;  // the game sets it
    slider.PlaceKnob();
    Frames(slider, 1);
    // The knob reaches 10 pixels left of the track.
    g_frameClock = 100;
    EXPECT_EQ(slider.OnLButtonDown(192, 405), 1);
    ASSERT_EQ(slider.GetKnob()->IsPressed(), 1);
    slider.OnMouseMove(250, 300);
    EXPECT_EQ(value, 0);

    int32_t wild = 500;
    CSliderWidget odd(0, kBar, 200, 400, 200, 400, 0, 0, 100, 10, &wild, 91, 1);
    EXPECT_EQ(odd.GetSavedValue(), 100);
    CSliderWidget flat(0, kBar, 200, 400, 200, 400, 50, 0, 50, 10, &wild, 92, 0);
    flat.ValueFromKnob();
    EXPECT_EQ(wild, 500) << "a track without width gives no value";
}

class InputBoxes : public UiTest {
protected:
    InputBoxes() { owner.SetState(CWidget::kOpen); }
    CWidgetWindow owner{50, nullptr, 100, 100, 100, 100, 0};
};

TEST_F(InputBoxes, ABoxFollowsItsOwnerBeforeItTestsAClick)
{
    CInputBox box(80, &owner, 10, 10, 0, 0, 100, 16);
    EXPECT_EQ(box.GetMaxLen(), 25);
    EXPECT_EQ(box.OnLButtonDown(150, 115), 1);
    EXPECT_EQ(g_inputFocus.GetFocusWidget(), &box);
    EXPECT_EQ(Commands(), (std::vector<int32_t>{0}));
    g_inputFocus.ClearFocus();
    owner.SetPos(CPoint{300, 300});
    EXPECT_EQ(box.OnLButtonDown(150, 115), 0);
    EXPECT_EQ(box.OnLButtonDown(350, 315), 1);
    EXPECT_EQ(g_inputFocus.GetX(), 310);
    EXPECT_EQ(g_inputFocus.GetY(), 310);
    EXPECT_EQ(g_pTextLayer->GetMaxLength(), 24);

    box.SetText("hi");
    g_pTextLayer->SetTarget(Screen(), 800, 600);
    g_pTextLayer->SetColors(15, 255);
    box.Draw(Screen());
    EXPECT_EQ(Pixel(310, 310), 15);
    EXPECT_EQ(box.OnChatMessage(nullptr, 0), 0);
    box.SubmitText();
    EXPECT_STREQ(box.GetText(), "hi") << "the owner reads it";
}

TEST_F(InputBoxes, SetTextIsHeldToTheEntry)
{
    CInputBox box(80, &owner, 10, 10, 0, 0, 100, 16);
    box.SetText(std::string(300, 'x').c_str());
    EXPECT_EQ(std::strlen(box.GetText()), 254u);
    EXPECT_EQ(box.GetMaxLen(), 25);
    EXPECT_EQ(box.IsInputEnabled(), 1);
    box.SetText((std::string(253, 'y') + "가").c_str());
    EXPECT_EQ(std::strlen(box.GetText()), 253u) << "the double-byte character does not fit";
}

TEST_F(InputBoxes, NumberBoxShowsItsTextOnlyWhileOpen)
{
    CNumberBox nb(81, &owner, 10, 20, 0, 0, 50, 16, 9);
    g_pTextLayer->SetTarget(Screen(), 800, 600);
    g_pTextLayer->SetColors(15, 255);
    nb.SetText("123");
    nb.SetState(CWidget::kOpening);
    Frames(nb, 1);
    nb.SetAndDrawText("7");
    EXPECT_EQ(Pixel(243, 113), 0);
    EXPECT_STREQ(nb.GetText(), "123");
    nb.SetState(CWidget::kOpen);
    Frames(nb, 1);
    EXPECT_EQ(Pixel(243, 113), 15);
    nb.SetAndDrawText("42");
    EXPECT_STREQ(nb.GetText(), "42");

    nb.TakeFocus();
    EXPECT_EQ(g_inputFocus.GetFocusWidget(), &nb);
    EXPECT_EQ(g_inputFocus.GetX(), 243);
    EXPECT_EQ(g_pTextLayer->GetMaxLength(), 8);
    nb.Clear();
    EXPECT_STREQ(nb.GetText(), "");
    EXPECT_EQ(g_pTextLayer->GetInputLength(), 0);
}

}  // namespace
