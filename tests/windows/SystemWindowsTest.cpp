// The notice line, the message box, the two forms and the are-you-sure box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandRing.h"
#include "app/FrameClock.h"
#include "app/MouseState.h"
#include "core/TextLayer.h"
#include "fixtures/FontBuilder.h"
#include "support/TestWorld.h"
#include "ui/InputFocus.h"
#include "windows/DaradirUzedo.h"
#include "windows/SystemWindows.h"
#include "world/ObjLayer.h"

namespace {

std::vector<uint32_t> Commands()
{
    std::vector<uint32_t> out;
    for (uint32_t id; (id = g_commandRing.Pop()) != CCommandRing::kEmpty;)
        out.push_back(id);
    return out;
}

TEST(MessageBoxLines, TextIsShownSixtySevenBytesAtATimeWithoutSplittingACharacter)
{
    CTestWorld world;
    const std::string a66(66, 'a'), a67(67, 'a'), a68(68, 'a');
    struct Row {
        std::string text;
        std::vector<std::string> lines;  // what each NextLine adds as line 4
        int32_t offset;                  // after them
    };
    const Row rows[] = {
        {a67, {a67}, 67},
        {a68, {a67, "a"}, 68},
        {a66 + "\xB0\xA1" "bc", {a66 + "\xB0\xA1", "bc"}, 70},  // a 68-byte line
        {"ab\xB0", {"ab\xB0"}, 3},                               // a lone lead byte at the end
        {a66 + "\xB0", {a66 + "\xB0"}, 67},
        {"", {""}, 0},
    };
    for (const Row& r : rows) {
        CMessageBoxWin box;
        box.SetText(r.text.c_str());
        for (const std::string& line : r.lines) {
            ASSERT_FALSE(box.IsEmpty() && !r.text.empty()) << r.text;
            box.NextLine();
            EXPECT_EQ(box.GetLine(4), line) << r.text;
        }
        EXPECT_EQ(box.GetOffset(), r.offset) << r.text;
        EXPECT_TRUE(box.IsEmpty()) << r.text;
        // Shown in full, the five lines keep cycling.
        const std::string first = box.GetLine(0);
        box.NextLine();
        EXPECT_EQ(box.GetLine(4), first);
        EXPECT_EQ(box.GetOffset(), r.offset);
    }

    // The text keeps 2047 bytes.
    CMessageBoxWin box;
    const std::string big(3000, 'x');
    box.SetText(big.c_str());
    int lines = 0;
    while (!box.IsEmpty() && lines < 100) {
        box.NextLine();
        ++lines;
    }
    EXPECT_EQ(lines, 31);
    EXPECT_EQ(box.GetOffset(), 2047);
    EXPECT_EQ(std::string(box.GetLine(4)).size(), 2047u - 30 * 67);
}

TEST(MessageBoxLines, ALineScrollsInEveryTwoSecondsOfTheWallClock)
{
    CTestWorld world;
    world.Platform().clock.Set(500);
    CMessageBoxWin box;
    box.SetText("one");
    std::vector<int> shown;
    for (int i = 0; i < 6; ++i) {
        box.Draw(nullptr);
        shown.push_back(box.IsEmpty() ? 1 : 0);
        world.Platform().clock.Advance(1000);
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(std::string(box.GetLine(4)), "");
    EXPECT_EQ(std::string(box.GetLine(3)), "one");
}

TEST(NoticeLine, ShowsForOneDrawLessThanAsked)
{
    CTestWorld world;
    CTextLayer text(nullptr);
    const Bytes han = CFontBuilder::HangulFont(), eng = CFontBuilder::EnglishFont();
    text.SetFontData(han.data(), han.size(), eng.data(), eng.size());
    g_pTextLayer = &text;
    std::vector<uint8_t> screen(800 * 600, 0);
    CNoticeLine notice;
    EXPECT_EQ(g_currentNoticeLine, nullptr);
    notice.Show("HHHHHHHHHH HHHHHHHHHH HHHHHHHHHH HHHHHHHHHH HHHHHHHHHH HHHHHHHHHH HHHHHHHHHH HHHHHHHHHH HHHHHHHHHH "
                "HHHHHHHHHH HHHHHHHHHH HHHHHHHHHH HHHHHHHHHH",
                200);
    EXPECT_EQ(g_currentNoticeLine, &notice);
    EXPECT_EQ(std::string(notice.GetText()).size(), 127u) << "one screen line";
    int visible = 0;
    for (int frame = 0; frame < 205; ++frame) {
        std::fill(screen.begin(), screen.end(), 0);
        notice.Draw(screen.data());
        bool drawn = false;
        for (int y = 428; y < 444; ++y)
            for (int x = 50; x < 62; ++x)
                drawn = drawn || screen[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)] == 185;
        visible += drawn ? 1 : 0;
    }
    EXPECT_EQ(visible, 199);
    g_pTextLayer = nullptr;
}

TEST(AreYouSure, PressMoveAndReleaseMachine)
{
    CTestWorld world;
    CAreYouSureWin win;
    const int ox = 230, oy = 240, yes = ox + 240, no = ox + 280, band = oy + 10;
    EXPECT_EQ(win.OnMouseMove(yes, band), 0) << "closed";
    win.SetState(CWidget::kOpen);
    struct Step {
        char op;  // m move, d down, u up
        int x, y;
        int taken, frame, pressed;
    };
    const Step steps[] = {
        {'m', yes, oy, 0, 0, 0},         // the band is open at both ends
        {'m', yes, band, 1, 1, 0},
        {'d', yes, band, 1, 3, 1},
        {'m', no, band, 1, 2, 1},        // pressed on yes, now over no
        {'u', no, band, 0, 2, 0},        // nothing posted
        {'m', no, band, 1, 2, 0},
        {'m', ox + 100, band, 1, 0, 0},  // in the band, on neither
        {'d', ox + 100, band, 0, 0, 0},
        {'m', yes, band, 1, 1, 0},
        {'d', yes, band, 1, 3, 1},
        {'u', yes, band, 1, 3, 1},       // posts 19
        {'m', no, band, 1, 2, 1},
        {'d', no, band, 1, 4, 2},
        {'u', no, band, 1, 4, 2},        // posts 20
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        const Step& s = steps[i];
        const int taken = s.op == 'm' ? win.OnMouseMove(s.x, s.y)
                        : s.op == 'd' ? win.OnLButtonDown(s.x, s.y)
                                      : win.OnLButtonUp(s.x, s.y);
        EXPECT_EQ(taken, s.taken) << "step " << i;
        EXPECT_EQ(win.GetFrame(), s.frame) << "step " << i;
        EXPECT_EQ(win.GetPressed(), s.pressed) << "step " << i;
    }
    EXPECT_EQ(win.OnEscape(), 36);
    EXPECT_EQ(Commands(), (std::vector<uint32_t>{19, 20, 20}));
}

class FormTest : public testing::Test {
protected:
    FormTest()
    {
        g_layerHolder.SetLayer(&ui);
        ui.CreateWindows();
        Commands();
    }
    ~FormTest() override { g_layerHolder.SetLayer(nullptr); }
    CWidget* Find(int32_t id) { return ui.GetRootContainer()->FindChild(id); }

    CTestWorld world;
    CDaradirUzedo ui{nullptr};
};

TEST_F(FormTest, OkWantsEveryFieldAndCancelWaitsForTheMessageBoxes)
{
    auto* form = dynamic_cast<CPasswordChangeWin*>(Find(77));
    ASSERT_NE(form, nullptr);
    form->SetState(CWidget::kOpen);
    form->Draw(nullptr);
    EXPECT_EQ(form->GetOk()->GetLook(), CButtonWidget::kLookDisabled);
    EXPECT_EQ(form->GetCancel()->GetLook(), CButtonWidget::kLookNormal);

    for (int32_t id = 78; id <= 82; ++id)
        form->FindChild(id)->SetText("abcdefghijkl");
    Find(91)->SetState(CWidget::kOpen);
    form->Draw(nullptr);
    EXPECT_EQ(form->GetOk()->GetLook(), CButtonWidget::kLookNormal);
    EXPECT_EQ(form->GetCancel()->GetLook(), CButtonWidget::kLookDisabled);
    // The fields keep their maximum length (8 for the second).
    EXPECT_EQ(std::string(form->FindChild(78)->GetText()), "abcdefghi");
    EXPECT_EQ(std::string(form->FindChild(79)->GetText()), "abcdefgh");
    EXPECT_EQ(form->FindChild(78)->GetMaxLen(), 10) << "the edit line: 9 bytes and the NUL";

    Find(91)->SetState(CWidget::kClosed);
    form->FindChild(81)->Clear();
    form->Draw(nullptr);
    EXPECT_EQ(form->GetOk()->GetLook(), CButtonWidget::kLookDisabled);
    EXPECT_EQ(form->GetCancel()->GetLook(), CButtonWidget::kLookNormal);

    EXPECT_EQ(ui.EscapeTopWindow(), 77);
    auto* del = dynamic_cast<CSuicideWin*>(Find(83));
    ASSERT_NE(del, nullptr);
    EXPECT_EQ(del->OnEscape(), 83);
    EXPECT_EQ(Commands(), (std::vector<uint32_t>{112, 114}));

    // The change went through: the fields and buffers are emptied, box 93
    // comes up.
    std::snprintf(ui.m_pwNew.data(), ui.m_pwNew.size(), "secret");
    ui.ResetPasswordForm();
    for (int32_t id = 78; id <= 82; ++id)
        EXPECT_STREQ(form->FindChild(id)->GetText(), "") << id;
    EXPECT_STREQ(ui.m_pwNew.data(), "");
    EXPECT_EQ(Find(93)->GetState(), CWidget::kOpening);
}

TEST_F(FormTest, ClosingThePasswordFormHandsTheTextInputBack)
{
    CWidget* form = Find(77);
    form->SetState(CWidget::kOpen);
    form->FindChild(80)->TakeFocus();
    EXPECT_EQ(g_inputFocus.GetFocusWidget(), form->FindChild(80));
    form->SetState(CWidget::kClosing);
    EXPECT_EQ(g_inputFocus.GetFocusWidget(), Find(3)) << "the big chat, the home widget";

    // A game master keeps the focus only while the chat window is up.
    g_gmFlag = 1;
    Find(2)->SetState(CWidget::kClosed);
    form->SetState(CWidget::kOpen);
    form->FindChild(80)->TakeFocus();
    form->SetState(CWidget::kClosing);
    EXPECT_EQ(g_inputFocus.GetFocusWidget(), nullptr);
}

TEST_F(FormTest, TabWalksEachFormsBoxesInARing)
{
    struct Row {
        int32_t form, from, to, field;  // field: the form-field number of from
    };
    const Row rows[] = {{77, 78, 79, 1}, {77, 79, 80, 2}, {77, 81, 82, 4}, {77, 82, 78, 5},
                        {83, 84, 85, 6}, {83, 85, 86, 7}, {83, 86, 84, 8}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.from);
        g_inputFocus.SetFocusWidget(Find(r.form)->FindChild(r.from));
        EXPECT_EQ(CObjLayer::GetActiveFormField(), r.field);
        g_lastKey = 0;
        world.Layer().FocusNextFormField();
        EXPECT_EQ(g_inputFocus.GetFocusWidget()->GetId(), r.from) << "only Tab moves it";
        g_lastKey = 15;
        world.Layer().FocusNextFormField();
        EXPECT_EQ(g_inputFocus.GetFocusWidget()->GetId(), r.to);
    }
    g_inputFocus.SetFocusWidget(Find(3));
    EXPECT_EQ(CObjLayer::GetActiveFormField(), 0) << "the big chat is no form field";
    world.Layer().FocusNextFormField();
    EXPECT_EQ(g_inputFocus.GetFocusWidget(), Find(3));
    g_lastKey = 0;
}

}  // namespace
