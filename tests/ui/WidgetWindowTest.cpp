#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "app/FrameClock.h"
#include "core/TextLayer.h"
#include "ui/EditWidget.h"
#include "ui/FieldView.h"
#include "ui/InputFocus.h"
#include "ui/ListSidePanel.h"
#include "ui/SidePanel.h"
#include "ui/UiTestEnv.h"
#include "ui/WidgetWindow.h"

namespace {

// ---- word wrap ----------------------------------------------------------------

const std::string kGa = "가";  // one double-byte character (CP949 B0 A1)

struct WrapCase {
    const char* name;
    int32_t lineCount;
    int32_t maxLen;
    std::vector<std::string> added;
    // Entries 1.. after the adds (newest first); entry 0 stays empty.
    std::vector<std::string> entries;
};

void PrintTo(const WrapCase& c, std::ostream* os)
{
    *os << c.name;
}

class WindowWrap : public UiTest, public ::testing::WithParamInterface<WrapCase> {};

TEST_P(WindowWrap, SplitsOnCharacterBoundariesNewestFirst)
{
    const WrapCase& c = GetParam();
    CWidgetWindow w(30, nullptr, 0, 0, 0, 0, c.lineCount);
    w.SetMaxLen(c.maxLen);
    int32_t attr = 100;
    for (const std::string& text : c.added)
        w.AddTextLine(text.c_str(), attr++);
    char** lines = w.GetLines();
    ASSERT_NE(lines, nullptr);
    EXPECT_STREQ(lines[0], "");
    std::vector<std::string> got;
    for (int32_t i = 1; i < c.lineCount && lines[i][0]; ++i)
        got.emplace_back(lines[i]);
    EXPECT_EQ(got, c.entries);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowWrap,
    ::testing::Values(
        WrapCase{"ExactlyMaxLenStaysWhole", 8, 10, {"0123456789"}, {"0123456789"}},
        WrapCase{"OneMoreSplitsAtMaxLenMinus3", 8, 10, {"0123456789A"}, {"789A", "0123456"}},
        WrapCase{"StraddlingCharacterTakesOneMore", 8, 10, {"012345" + kGa + "890"}, {"890", "012345" + kGa}},
        WrapCase{"LongTextManyPieces", 8, 5, {"abcdefghijk"}, {"ghijk", "ef", "cd", "ab"}},
        WrapCase{"SixEntriesKeepFive", 6, 80, {"L1", "L2", "L3", "L4", "L5", "L6"}, {"L6", "L5", "L4", "L3", "L2"}},
        WrapCase{"MaxLenTwoTakesACharacterAPiece", 8, 2, {"abcde"}, {"de", "c", "b", "a"}},
        WrapCase{"TinyMaxLenNeverSplitsACharacter", 8, 1, {kGa + kGa}, {kGa, kGa}},
        WrapCase{"LoneLeadByteAtTheEnd", 8, 3, {"abc\xB0"}, {"bc\xB0", "a"}},
        WrapCase{"MaxLenBeyondTheLineIsHeldTo254", 4, 400, {std::string(300, 'x')},
                 {std::string(49, 'x'), std::string(251, 'x')}}),
    [](const ::testing::TestParamInfo<WrapCase>& info) { return std::string(info.param.name); });

class WidgetWindowTest : public UiTest {};

TEST_F(WidgetWindowTest, AttributesRotateWithTheirLinesAndWindowsWithoutLinesIgnoreThem)
{
    CWidgetWindow w(30, nullptr, 0, 0, 0, 0, 4);
    for (int i = 1; i <= 4; ++i)
        w.AddTextLine(("line" + std::to_string(i)).c_str(), 200 + i);
    char** lines = w.GetLines();
    int32_t* attrs = w.GetLineAttrs();
    EXPECT_STREQ(lines[1], "line4");
    EXPECT_EQ(attrs[1], 204);
    EXPECT_STREQ(lines[3], "line2");
    EXPECT_EQ(attrs[3], 202);

    CWidgetWindow none(31, nullptr, 0, 0, 0, 0, 0);
    none.AddTextLine("dropped", 1);
    EXPECT_EQ(none.GetLines(), nullptr);
    EXPECT_EQ(none.GetLineAttrs(), nullptr);
    EXPECT_EQ(none.GetMaxLen(), 0);
    CWidgetWindow one(32, nullptr, 0, 0, 0, 0, 1);
    one.SetMaxLen(80);
    one.AddTextLine("no entry 1 to hold it", 5);
    EXPECT_STREQ(one.GetLines()[0], "");
}

// ---- the image -----------------------------------------------------------------

TEST_F(WidgetWindowTest, ImageLivesFromTheFirstOpenFrameTo300ClosedFrames)
{
    CWidgetWindow w(30, kWindow, 100, 100, 100, 100, 0);
    Frames(w, 10);
    EXPECT_FALSE(w.GetSprite()->IsLoaded()) << "never opened";
    w.Toggle();
    Frames(w, 1);
    ASSERT_TRUE(w.GetSprite()->IsLoaded());
    EXPECT_FALSE(w.GetSprite()->IsRle()) << "decoded for drawing text into";
    ASSERT_NE(w.GetCleanImage(), nullptr);
    EXPECT_EQ(w.GetState(), CWidget::kOpen);
    int drawn = 0;
    for (int y = 100; y < 250; ++y)
        for (int x = 100; x < 300; ++x)
            drawn += Pixel(x, y) != 0;
    EXPECT_GT(drawn, 200 * 150 / 2);
    EXPECT_EQ(Pixel(300, 120), 0);

    w.Toggle();
    Frames(w, 1);  // the closing arrives at once
    ASSERT_EQ(w.GetState(), CWidget::kClosed);
    Frames(w, 300);
    EXPECT_TRUE(w.GetSprite()->IsLoaded());
    Frames(w, 1);
    EXPECT_FALSE(w.GetSprite()->IsLoaded());
    EXPECT_EQ(w.GetCleanImage(), nullptr);
    w.Toggle();
    Frames(w, 1);
    EXPECT_TRUE(w.GetSprite()->IsLoaded());
    EXPECT_EQ(Boxes(), 0u);
}

TEST_F(WidgetWindowTest, AMissingImageIsTriedOncePerOpening)
{
    CWidgetWindow w(30, kMissing, 100, 100, 100, 100, 0);
    w.Toggle();
    Frames(w, 20);
    EXPECT_EQ(Boxes(), 1u);
    EXPECT_FALSE(w.GetSprite()->IsLoaded());
    EXPECT_EQ(w.GetCleanImage(), nullptr);
    w.Toggle();
    Frames(w, 5);
    w.Toggle();
    Frames(w, 5);
    EXPECT_EQ(Boxes(), 2u);
}

// ---- text entry and focus ------------------------------------------------------

TEST_F(WidgetWindowTest, ClickOnTheInputRectangleTakesTheFocusEdgesIncluded)
{
    CWidgetWindow w(30, kWindow, 100, 100, 100, 100, 5);
    w.SetInputRect(CRect{10, 10, 50, 20});
    w.Toggle();
    Frames(w, 1);
    EXPECT_EQ(w.OnLButtonDown(150, 120), 1);
    EXPECT_EQ(g_inputFocus.GetFocusWidget(), &w);
    EXPECT_EQ(g_pTextLayer->GetInputBuffer(), w.GetText());
    EXPECT_EQ(Commands(), (std::vector<int32_t>{0}));
    g_inputFocus.ClearFocus();
    EXPECT_EQ(w.OnLButtonDown(151, 150), 1) << "the body takes it, without the focus";
    EXPECT_EQ(g_inputFocus.GetFocusWidget(), nullptr);
    EXPECT_EQ(w.OnLButtonDown(99, 150), 0) << "beside the window";
    EXPECT_TRUE(Commands().empty());

    w.SetInputEnabled(0);
    EXPECT_EQ(g_inputFocus.SetFocusWidget(&w), nullptr) << "a window that takes no input is refused";
}

TEST_F(WidgetWindowTest, ClosingAWindowGivesTheFocusBackToTheHomeWidget)
{
    CWidgetContainer& root = Root();
    auto* chat = new CWidgetWindow(2, nullptr, 0, 0, 0, 0, 5);
    auto* home = new CWidgetWindow(3, nullptr, 0, 0, 0, 0, 5);
    auto* other = new CWidgetWindow(40, nullptr, 0, 0, 0, 0, 5);
    for (CWidget* w : {chat, home, other})
        root.AddChild(w);

    g_inputFocus.RestoreFocus();
    EXPECT_EQ(g_inputFocus.GetFocusWidget(), nullptr) << "no home widget yet";
    g_inputFocus.SetHomeWidget(home);
    g_inputFocus.SetFocusWidget(other);
    other->SetState(CWidget::kOpen);
    other->Toggle();
    EXPECT_EQ(g_inputFocus.GetFocusWidget(), home);

    // A game master's focus only goes home while the chat window is open.
    g_gmFlag = 1;
    g_inputFocus.SetFocusWidget(other);
    other->SetState(CWidget::kOpen);
    other->Toggle();
    EXPECT_EQ(g_inputFocus.GetFocusWidget(), other);
    chat->SetState(CWidget::kOpen);
    other->SetState(CWidget::kOpen);
    other->Toggle();
    EXPECT_EQ(g_inputFocus.GetFocusWidget(), home);
    other->Toggle();  // opening: the focus stays
    g_inputFocus.SetFocusWidget(other);
    EXPECT_EQ(g_inputFocus.GetFocusWidget(), other);
}

TEST_F(WidgetWindowTest, AFullLineSubmitsItselfAtTheNextDrawnFrame)
{
    CWidgetWindow w(30, nullptr, 0, 0, 0, 0, 5);
    g_inputFocus.SetFocusWidget(&w);
    w.SetState(CWidget::kOpen);
    std::memset(w.GetText(), 'a', 77);
    Frames(w, 1);
    EXPECT_EQ(std::strlen(w.GetText()), 77u) << "maxLen - 3 is not yet full";
    w.GetText()[77] = 'a';
    Frames(w, 1);
    EXPECT_STREQ(w.GetText(), "");
    EXPECT_EQ(g_pTextLayer->GetInputBuffer(), w.GetText());
    EXPECT_EQ(g_pTextLayer->GetInputLength(), 0);
}

TEST_F(WidgetWindowTest, TheEditLineIsDrawnAtTheFocusedWidgetWithItsOwnMaximum)
{
    CWidgetWindow w(30, nullptr, 0, 0, 0, 0, 5);
    w.SetMaxLen(9);
    g_inputFocus.DrawWidgetInput(Screen());
    EXPECT_FALSE(g_pTextLayer->IsInputActive()) << "no focus, no line";
    g_inputFocus.SetFocusWidget(&w);
    g_inputFocus.DrawWidgetInput(Screen());
    EXPECT_TRUE(g_pTextLayer->IsInputActive());
    EXPECT_EQ(g_pTextLayer->GetMaxLength(), 8) << "a 9-byte box takes 8 bytes";
    EXPECT_EQ(g_pTextLayer->GetTextColor(), 60);
}

// ---- sliding variants and side panels -------------------------------------------

TEST_F(WidgetWindowTest, EditWidgetComesInFromTheLeftAndLeavesToTheRight)
{
    CEditWidget w(39, kWindow, 301, 100, -197, 100, 0, 0);
    w.Toggle();
    std::vector<int32_t> xs;
    for (int i = 0; i < 40 && w.GetState() != CWidget::kOpen; ++i) {
        w.Draw(Screen());
        xs.push_back(w.GetPos()->x);
    }
    ASSERT_EQ(w.GetState(), CWidget::kOpen);
    EXPECT_EQ(xs.front(), -167) << "-197 + 32 with bit 1 cleared";
    EXPECT_EQ(xs.back(), 301 & ~2);
    for (int32_t x : xs)
        EXPECT_EQ(x & 2, 0);
    w.Toggle();
    int32_t last = w.GetPos()->x;
    int frames = 0;
    while (w.GetState() == CWidget::kClosing && frames < 40) {
        w.Draw(Screen());
        ++frames;
        if (w.GetState() == CWidget::kClosing) {
            EXPECT_GT(w.GetPos()->x, last) << "on to the right";
            last = w.GetPos()->x;
        }
    }
    EXPECT_EQ(w.GetState(), CWidget::kClosed);
    EXPECT_GE(last + 32, 800);
    EXPECT_EQ(w.GetPos()->x, -197 & ~2) << "back at the closed place, bit 1 cleared";

    // Open and closed equal on its axis: it arrives and leaves at once.
    CEditWidget still(40, kWindow, 100, 50, 100, 50, 0, 1);
    still.Toggle();
    Frames(still, 1);
    EXPECT_EQ(still.GetState(), CWidget::kOpen);
    still.Toggle();
    Frames(still, 1);
    EXPECT_EQ(still.GetState(), CWidget::kClosed);
}

TEST_F(WidgetWindowTest, DrawnSidePanelsNarrowTheField)
{
    CSidePanel a(41, nullptr, 600, 0, 600, 0, 0);
    CSidePanel b(42, nullptr, 560, 0, 800, 0, 0);
    EXPECT_EQ(GetFieldViewRight(), 800);
    a.SetState(CWidget::kOpen);
    Frames(a, 1);
    EXPECT_EQ(GetFieldViewRight(), 600);
    Frames(b, 1);
    EXPECT_EQ(GetFieldViewRight(), 600) << "b rests at 800";
    b.SetState(CWidget::kOpen);
    b.SetPos(*b.GetOpenPos());
    Frames(b, 1);
    Frames(a, 1);
    EXPECT_EQ(GetFieldViewRight(), 560);

    // The list panels stay where they stand.
    CListSidePanel fixed(43, kWindow, 600, 0, 700, 0);
    fixed.Toggle();
    Frames(fixed, 5);
    EXPECT_EQ(fixed.GetPos()->x, 700);
    EXPECT_EQ(fixed.GetState(), CWidget::kOpening);
}

}  // namespace
