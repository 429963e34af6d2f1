#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "app/ExitGame.h"
#include "core/Display.h"
#include "fixtures/IntroArchive.h"
#include "intro/IntroLayer.h"
#include "platform/Crt.h"
#include "support/FakeServer.h"
#include "support/Harness.h"

namespace {

TEST(IntroHitTest, BordersAreOutside)
{
    const IntroRect rc{10, 20, 30, 40};
    EXPECT_TRUE(CIntroLayer::HitTest(rc, 11, 21));
    EXPECT_TRUE(CIntroLayer::HitTest(rc, 29, 39));
    EXPECT_FALSE(CIntroLayer::HitTest(rc, 10, 30));
    EXPECT_FALSE(CIntroLayer::HitTest(rc, 30, 30));
    EXPECT_FALSE(CIntroLayer::HitTest(rc, 20, 20));
    EXPECT_FALSE(CIntroLayer::HitTest(rc, 20, 40));
}

TEST(IntroWipe, HidingWipeRowsAndFrames)
{
    plat::SRand(7);
    CIntroLayer layer(nullptr);
    // The offsets are the generator's first 600 numbers, mod 801, minus 800.
    plat::SRand(7);
    for (int r = 0; r < CIntroLayer::kRows; ++r)
        ASSERT_EQ(layer.RowOffsets()[static_cast<size_t>(r)], plat::Rand() % 801 - 800);

    std::vector<uint8_t> screen(CIntroLayer::kScreenBytes, 0xAB);
    int reports = 0;
    for (int k = 0; k < CIntroLayer::kWipeFrames; ++k) {
        ASSERT_EQ(layer.WipeHide(screen.data()), 1);
        ++reports;
        for (int r = 0; r < CIntroLayer::kRows; r += 37) {
            const int end = std::min(layer.RowOffsets()[static_cast<size_t>(r)] + 32 * k, 800);
            const uint8_t* row = screen.data() + static_cast<size_t>(r) * 800;
            // Cleared up to the furthest end so far, untouched after it.
            if (end >= 1) {
                ASSERT_EQ(row[end - 1], 0) << r << " " << k;
            }
            if (end < 800) {
                ASSERT_EQ(row[std::max(end, 0)], 0xAB) << r << " " << k;
            }
        }
    }
    EXPECT_EQ(reports, 51);
    EXPECT_EQ(layer.WipeHide(screen.data()), 0);
    // The counter is back at 0: a new wipe starts over.
    EXPECT_EQ(g_wipeHideFrame, 0);
    ResetIntroState();
}

TEST(IntroWipe, RowStartingAtMinus800IsReachedAtFrame26)
{
    CIntroLayer layer(nullptr);
    const auto& off = layer.RowOffsets();
    const auto it = std::min_element(off.begin(), off.end());
    const int r = static_cast<int>(it - off.begin());
    std::vector<uint8_t> screen(CIntroLayer::kScreenBytes, 0xAB);
    const uint8_t* row = screen.data() + static_cast<size_t>(r) * 800;
    const int firstK = (-*it) / 32 + 1;  // the first k with offset + 32k >= 1
    for (int k = 0; k < CIntroLayer::kWipeFrames; ++k) {
        layer.WipeHide(screen.data());
        EXPECT_EQ(row[0] == 0, k >= firstK) << k;
    }
    if (*it == -800) {
        EXPECT_EQ(firstK, 26);
    }
    ResetIntroState();
}

TEST(IntroWipe, RevealingWipeClearsFromTheStartToTheRowsEnd)
{
    CIntroLayer layer(nullptr);
    std::vector<uint8_t> screen(CIntroLayer::kScreenBytes, 0xAB);
    for (int k = 0; k < 29; ++k)
        layer.WipeReveal(screen.data());
    // Frame 29 over a fresh screen clears from offset + 928 (clamped) on.
    std::fill(screen.begin(), screen.end(), 0xAB);
    layer.WipeReveal(screen.data());
    for (int r = 0; r < CIntroLayer::kRows; r += 53) {
        const int start = std::clamp(layer.RowOffsets()[static_cast<size_t>(r)] + 32 * 29, 0, 800);
        const uint8_t* row = screen.data() + static_cast<size_t>(r) * 800;
        if (start > 0) {
            EXPECT_EQ(row[start - 1], 0xAB) << r;
        }
        EXPECT_EQ(row[799], start < 800 ? 0 : 0xAB) << r;
    }
    for (int k = 30; k < CIntroLayer::kWipeFrames; ++k)
        EXPECT_EQ(layer.WipeReveal(screen.data()), 1);
    EXPECT_EQ(layer.WipeReveal(screen.data()), 0);
    ResetIntroState();
}

// The whole client on the headless platform, one game frame at a time.
class IntroScene : public ::testing::Test {
protected:
    void SetUp() override
    {
        server.UseForClient();
        server.Register();
        ASSERT_TRUE(h.Start());
        ASSERT_TRUE(h.RunUntil([] { return g_gameFrameCount >= 1; }, 100));
        view = g_pView;
        ASSERT_NE(view, nullptr);
        intro = view->m_pIntroLayer;
        ASSERT_NE(intro, nullptr);
    }
    void NextFrame()
    {
        const uint32_t n = g_gameFrameCount;
        ASSERT_TRUE(h.RunUntil([&] { return g_gameFrameCount > n; }, 1000)) << h.Boxes().size() << " boxes";
    }
    void Frames(int n)
    {
        for (int i = 0; i < n; ++i)
            NextFrame();
    }
    // The last frame presented (full screen: palette indices).
    const std::vector<uint8_t>& Screen()
    {
        EXPECT_EQ(h.Platform().video.lastPresent.depth, 8);
        return h.Platform().video.lastPresent.pixels;
    }
    void EnterChooser()
    {
        intro->m_sceneState = kSceneChooser;
        NextFrame();
    }
    int FrontId() const
    {
        for (int i = 0; i < CIntroLayer::kItemCount; ++i)
            if (intro->GetItem(i).GetFrontId() > 0)
                return intro->GetItem(i).GetFrontId();
        return -1;
    }

    CHarness h{5000};
    CFakeServer server;
    CQuillonView* view = nullptr;
    CIntroLayer* intro = nullptr;
};

TEST_F(IntroScene, FirstFrameSetsUpTheLoginScreenAndTheNextShowsIt)
{
    EXPECT_EQ(intro->m_sceneState, kSceneLogin);
    ASSERT_EQ(intro->Background().size(), CIntroLayer::kScreenBytes);
    NextFrame();
    // Everything but the focused ID field's row, where the edit line draws.
    std::vector<uint8_t> screen = Screen();
    std::vector<uint8_t> background = intro->Background();
    for (size_t row = 195; row < 211; ++row) {
        std::fill_n(screen.begin() + static_cast<long>(row * CIntroLayer::kCols), CIntroLayer::kCols, 0);
        std::fill_n(background.begin() + static_cast<long>(row * CIntroLayer::kCols), CIntroLayer::kCols, 0);
    }
    EXPECT_EQ(screen, background);
    EXPECT_TRUE(h.Boxes().empty());
}

TEST_F(IntroScene, ButtonPressedAndReleasedActsOnTheFrameAfterTheRelease)
{
    NextFrame();
    h.MouseDown(1, 520, 340);  // the new-ID button
    NextFrame();
    EXPECT_EQ(intro->GetLoginHeld(), 1);
    h.MouseUp(1, 300, 100);  // let go elsewhere: the held button still acts
    NextFrame();
    EXPECT_EQ(intro->GetLoginAction(), 1);
    EXPECT_EQ(intro->m_sceneState, kSceneLogin);
    NextFrame();
    EXPECT_EQ(intro->m_sceneState, kSceneRegisterSetup);
    NextFrame();
    EXPECT_EQ(intro->m_sceneState, kSceneRegister);
}

TEST_F(IntroScene, PressOnAButtonsBorderDoesNothing)
{
    NextFrame();
    for (auto [x, y] : {std::pair{519, 340}, std::pair{627, 340}, std::pair{520, 330}, std::pair{520, 350}}) {
        h.Click(1, x, y);
        Frames(2);
        EXPECT_EQ(intro->GetLoginHeld(), 0);
        EXPECT_EQ(intro->m_sceneState, kSceneLogin);
    }
}

TEST_F(IntroScene, PressedButtonIsDrawnOverTheBackground)
{
    NextFrame();
    h.MouseDown(1, 470, 470);  // OK
    NextFrame();
    EXPECT_EQ(intro->GetLoginHeld(), 2);
    const std::vector<uint8_t>& shown = Screen();
    ASSERT_EQ(shown.size(), CIntroLayer::kScreenBytes);
    // The picture's corner at (457, 457); above it the background, but for
    // the focused ID field's rows, where the edit line draws.
    EXPECT_NE(0, std::memcmp(shown.data() + 457 * 800 + 457, intro->Background().data() + 457 * 800 + 457, 12));
    EXPECT_EQ(0, std::memcmp(shown.data(), intro->Background().data(), 195 * 800));
    EXPECT_EQ(0, std::memcmp(shown.data() + 211 * 800, intro->Background().data() + 211 * 800, (457 - 211) * 800));
}

TEST_F(IntroScene, QuitButtonEndsTheGame)
{
    NextFrame();
    h.Click(1, 690, 480);
    Frames(2);
    EXPECT_TRUE(IsExiting());
}

TEST_F(IntroScene, TitleMenuWipesThenGoesToTheLoginScreen)
{
    intro->ShowTitle();
    Frames(2);
    ASSERT_EQ(intro->m_sceneState, kSceneTitle);
    h.Click(1, 100, 60);  // item 1
    NextFrame();
    // 51 frames of wipe, then the frame that reports it finished.
    Frames(50);
    EXPECT_EQ(intro->m_sceneState, kSceneTitle);
    NextFrame();
    EXPECT_EQ(intro->m_sceneState, kSceneLoginSetup);
    EXPECT_FALSE(IsExiting());
    NextFrame();
    EXPECT_EQ(intro->m_sceneState, kSceneLogin);
}

TEST_F(IntroScene, EnterWithEmptyFieldsTellsTheUserAndSendsNothing)
{
    NextFrame();
    h.KeyDown(28);
    NextFrame();
    h.KeyUp(28);
    NextFrame();
    ASSERT_EQ(h.Boxes().size(), 1u);
    EXPECT_EQ(h.Boxes()[0].text, "모든 내용을 빠짐없이 입력하십시요");
    EXPECT_EQ(g_requestPending, 0);
}

TEST_F(IntroScene, DuplicateLoginYesDuringTheFormClearsThePendingRequest)
{
    NextFrame();
    g_requestPending = 1;
    g_playerIdState = 2;  // what the dialog's yes leaves
    NextFrame();
    EXPECT_EQ(g_playerIdState, 0u);
    EXPECT_EQ(g_requestPending, 0);
}

TEST_F(IntroScene, NothingRunsWhileTheViewIsNotRunning)
{
    intro->m_sceneState = kSceneLoginSetup;
    view->m_bRunning = 0;
    ASSERT_EQ(view->m_pDisplay->Lock(), 0);
    intro->Draw();
    view->m_pDisplay->Unlock();
    EXPECT_EQ(intro->m_sceneState, kSceneLoginSetup);
    view->m_bRunning = 1;
    NextFrame();
    EXPECT_EQ(intro->m_sceneState, kSceneLogin);
}

TEST_F(IntroScene, UnlistedStatesLeaveTheScreenAlone)
{
    for (int32_t state : {1, 9, 19, 999, -3}) {
        intro->m_sceneState = state;
        ASSERT_EQ(view->m_pDisplay->Lock(), 0);
        std::fill_n(view->m_pDisplay->GetBits(), CIntroLayer::kScreenBytes, 0x5A);
        view->m_pDisplay->Unlock();
        NextFrame();
        EXPECT_TRUE(std::all_of(Screen().begin(), Screen().end(), [](uint8_t p) { return p == 0x5A; })) << state;
        EXPECT_EQ(intro->m_sceneState, state);
    }
}

TEST_F(IntroScene, InTheWorldTheLayerLeavesTheDisplayOnce)
{
    intro->m_sceneState = kSceneInWorld;
    NextFrame();
    EXPECT_FALSE(view->m_pDisplay->Holds(intro));
    EXPECT_FALSE(intro->IsFinished());
    view->m_pDisplay->AddLayer(intro);  // put back by hand: nothing takes it again
    NextFrame();
    EXPECT_TRUE(view->m_pDisplay->Holds(intro));
    view->m_pDisplay->RemoveLayer(intro);
}

TEST(IntroSceneArchive, MissingScreenPictureIsReportedOnceAndEndsTheGame)
{
    CHarness h{5000};
    CFakeServer server;
    server.UseForClient();
    server.Register();
    CTestArchive archive(CIntroArchive::Game(64, 48, "logo.tle"), false);
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(h.RunUntil([] { return g_gameFrameCount >= 2; }, 1000));
    g_pView->m_pIntroLayer->ShowTitle();
    h.RunUntil([] { return IsExiting(); }, 1000);
    EXPECT_TRUE(IsExiting());
    ASSERT_EQ(h.Boxes().size(), 1u);
    h.RunUntil([&] { return h.Quit(); }, 20000);
    EXPECT_EQ(h.Boxes().size(), 1u);
}

// ---- the class chooser ---------------------------------------------------

TEST_F(IntroScene, ClickingASideFigureTurnsItToTheFront)
{
    EnterChooser();
    EXPECT_EQ(FrontId(), 1);
    h.Click(1, 100, 350);  // lower left: +60, the figure at 300 degrees comes round
    NextFrame();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(FrontId(), -1);
        NextFrame();
    }
    EXPECT_EQ(FrontId(), 6);
    EXPECT_EQ(intro->GetFrontItem(), 5);
    EXPECT_EQ(intro->GetChooserSelection(), 0);
}

TEST_F(IntroScene, ClickingTheFrontFigureSelectsItWithoutTurning)
{
    EnterChooser();
    h.Click(1, 400, 350);
    NextFrame();
    EXPECT_EQ(intro->GetChooserSelection(), 1);
    EXPECT_EQ(FrontId(), 1);
    EXPECT_EQ(intro->GetItem(0).GetPending(), 0);
}

TEST_F(IntroScene, DoubleClickBeforeASelectionDoesNothing)
{
    EnterChooser();
    g_selectedSlot = 2;
    h.Click(1, 100, 350);
    NextFrame();
    h.Click(1, 100, 350);  // the second press is a double click
    Frames(10);
    EXPECT_EQ(intro->m_sceneState, kSceneChooser);
    EXPECT_EQ(g_slotExists[1], 1);
    // The first click's turn only.
    EXPECT_EQ(FrontId(), 6);
}

TEST_F(IntroScene, DoubleClickOnTheSelectedFrontFigureChoosesItsClass)
{
    EnterChooser();
    g_selectedSlot = 2;
    h.Click(1, 100, 350);
    Frames(8);
    ASSERT_EQ(FrontId(), 6);
    h.Click(1, 400, 350);  // selects the front figure
    NextFrame();
    ASSERT_EQ(intro->GetChooserSelection(), 6);
    h.Click(1, 400, 350);  // the double click
    NextFrame();
    EXPECT_EQ(g_loginRecord.bytes[293 + 2], 5);  // slot 2's kind: id - 1
    EXPECT_EQ(g_loginRecord.bytes[335 + 2], 1);  // level 1
    EXPECT_EQ(g_slotExists[1], 0);
    EXPECT_EQ(intro->m_sceneState, kSceneCharacterSetup);
}

TEST_F(IntroScene, ColourButtonsWrapAndHoldTheCarouselThatFrame)
{
    EnterChooser();
    h.Click(1, 640, 514);  // A down, inclusive corner: 0 -> 7
    NextFrame();
    EXPECT_EQ(intro->GetColourA(), 7);
    h.Click(1, 781, 545);  // A up: 7 -> 0
    NextFrame();
    EXPECT_EQ(intro->GetColourA(), 0);
    h.Click(1, 740, 544);  // the rows overlap: the first button (A up) wins
    NextFrame();
    EXPECT_EQ(intro->GetColourA(), 1);
    h.Click(1, 740, 560);  // B up
    NextFrame();
    EXPECT_EQ(intro->GetColourB(), 1);
    h.Click(1, 682, 560);  // right edge is outside: a carousel click (lower right, -60)
    NextFrame();
    EXPECT_EQ(intro->GetColourB(), 1);
    EXPECT_EQ(intro->GetItem(0).GetAngle(), 350);
    h.Click(1, 641, 560);  // B down, mid-turn: no step this frame
    NextFrame();
    EXPECT_EQ(intro->GetColourB(), 0);
    EXPECT_EQ(intro->GetItem(0).GetAngle(), 350);
    NextFrame();
    EXPECT_EQ(intro->GetItem(0).GetAngle(), 340);
}

TEST_F(IntroScene, NameBannerSlidesInOnlyAtRest)
{
    EnterChooser();
    const int before = intro->GetNameScroll();
    NextFrame();
    EXPECT_EQ(intro->GetNameScroll(), before + 16);
    h.Click(1, 600, 350);  // -60: the banner restarts and waits for the turn
    Frames(3);
    EXPECT_EQ(intro->GetNameScroll(), 0);
    Frames(4);
    EXPECT_GT(intro->GetNameScroll(), 0);
}

}  // namespace
