#include <gtest/gtest.h>

#include "app/FrameClock.h"
#include "app/MouseState.h"
#include "app/QuillonView.h"
#include "core/TextLayer.h"
#include "support/Harness.h"

namespace {

class ViewInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(h.Start());
        ASSERT_TRUE(h.RunUntil([] { return g_pView && g_pView->FrameRanLastPass(); }));
    }

    // One pass right after a frame: the frame is not due, so what the pass
    // latched is still there afterwards.
    void StepBetweenFrames()
    {
        const uint32_t frames = g_gameFrameCount;
        h.Step();
        ASSERT_EQ(g_gameFrameCount, frames);
    }

    void RunToNextFrame()
    {
        const uint32_t frames = g_gameFrameCount;
        ASSERT_TRUE(h.RunUntil([&] { return g_gameFrameCount != frames; }));
    }

    CHarness h;
};

}  // namespace

TEST_F(ViewInput, ClicksBetweenFramesAreLatchedUntilTheFrameEnds)
{
    h.MouseDown(1, 100, 200);
    h.MouseUp(1, 101, 202);
    StepBetweenFrames();
    EXPECT_EQ(g_mouseState.GetMouseEvents(), MOUSE_LDOWN | MOUSE_LUP);
    EXPECT_EQ(g_mouseState.GetX(), 101);
    EXPECT_EQ(g_mouseState.GetY(), 202);
    EXPECT_FALSE(g_mouseState.IsMouseButtonHeld(1));
    RunToNextFrame();
    EXPECT_EQ(g_mouseState.GetMouseEvents(), 0u);
}

TEST_F(ViewInput, QuickSecondPressIsADoubleClickInsteadOfAPress)
{
    h.MouseDown(1, 50, 50);
    h.MouseUp(1, 50, 50);
    RunToNextFrame();
    h.MouseDown(1, 52, 49);
    StepBetweenFrames();
    EXPECT_EQ(g_mouseState.GetMouseEvents(), MOUSE_LDBLCLK);
    EXPECT_FALSE(g_mouseState.IsMouseButtonHeld(1));  // only a press marks the button held
    h.MouseUp(1, 52, 49);
    RunToNextFrame();

    // Slow: a plain press again.
    h.RunForMs(600);
    h.MouseDown(2, 10, 10);
    h.MouseUp(2, 10, 10);
    RunToNextFrame();
    h.RunForMs(500);
    h.MouseDown(2, 10, 10);
    StepBetweenFrames();
    EXPECT_EQ(g_mouseState.GetMouseEvents(), MOUSE_RDOWN);
    EXPECT_TRUE(g_mouseState.IsMouseButtonHeld(2));
}

TEST_F(ViewInput, KeyPressedAndReleasedBetweenFramesLeavesNothing)
{
    h.KeyDown(30);
    StepBetweenFrames();
    EXPECT_EQ(g_keyState[30], 1u);
    EXPECT_EQ(g_lastKey, 30u);
    h.KeyUp(30);
    StepBetweenFrames();
    EXPECT_EQ(g_keyState[30], 0u);
    EXPECT_EQ(g_lastKey, 0u);
}

TEST_F(ViewInput, RightHandAndExtendedKeysShareTheirTwinsEntry)
{
    h.KeyDown(29, true);  // right Ctrl
    h.KeyDown(72, true);  // Up
    StepBetweenFrames();
    EXPECT_EQ(g_keyState[29], 1u);
    EXPECT_EQ(g_keyState[72], 1u);
    h.KeyUp(72, true);
    h.KeyDown(72);  // keypad 8
    StepBetweenFrames();
    EXPECT_EQ(g_keyState[72], 1u);
    EXPECT_EQ(g_lastKey, 72u);
}

TEST_F(ViewInput, AltCombinationsNeverReachTheKeyTable)
{
    h.KeyDown(56);  // Alt
    h.KeyDown(16);  // Q
    StepBetweenFrames();
    EXPECT_EQ(g_keyState[56], 0u);
    EXPECT_EQ(g_keyState[16], 0u);
    EXPECT_EQ(g_lastKey, 0u);
    h.KeyUp(16);
    h.KeyUp(56);
    h.KeyDown(68);  // F10
    StepBetweenFrames();
    EXPECT_EQ(g_keyState[68], 0u);
}

TEST_F(ViewInput, EveryKeyTheAcceleratorsFakedIsTakenBackWhateverCameBetween)
{
    // Alt+A and Alt+D, then W pressed alone, all before the next frame.
    h.KeyDown(56);
    h.KeyDown(30);
    h.KeyDown(32);
    h.KeyUp(32);
    h.KeyUp(30);
    h.KeyUp(56);
    h.KeyDown(17);
    StepBetweenFrames();
    EXPECT_EQ(g_keyState[56], 1u);
    EXPECT_EQ(g_keyState[30], 1u);
    EXPECT_EQ(g_keyState[32], 1u);
    EXPECT_EQ(g_lastKey, 17u);
    RunToNextFrame();
    EXPECT_EQ(g_keyState[56], 0u);
    EXPECT_EQ(g_keyState[30], 0u);
    EXPECT_EQ(g_keyState[32], 0u);
    EXPECT_EQ(g_keyState[17], 1u) << "held for real";
    EXPECT_EQ(g_accelKeyFlag, 0u);
}

TEST_F(ViewInput, TypedCharactersAndTheHangulKeyGoToTheEditLine)
{
    h.KeyDown(42);  // left Shift
    h.KeyPress(30);
    h.KeyUp(42);
    StepBetweenFrames();
    ASSERT_NE(g_pTextLayer, nullptr);
    EXPECT_EQ(g_pTextLayer->LastChar(), static_cast<uint32_t>('A'));
    h.KeyPress(28);  // Enter gives its control character
    StepBetweenFrames();
    EXPECT_EQ(g_pTextLayer->LastChar(), 13u);

    // The Hangul key switches the mode at the next typed character and is
    // no key of the game's.
    const bool hangul = g_pTextLayer->IsHangulMode();
    h.KeyPress(plat::kScanHangul);
    StepBetweenFrames();
    EXPECT_EQ(g_pTextLayer->IsHangulMode(), hangul);
    EXPECT_EQ(g_keyState[plat::kScanHangul], 0u);
    h.KeyPress(30);
    StepBetweenFrames();
    EXPECT_NE(g_pTextLayer->IsHangulMode(), hangul);
    h.KeyDown(plat::kScanHangul);
    StepBetweenFrames();
    EXPECT_EQ(g_lastKey, 0u);
}
