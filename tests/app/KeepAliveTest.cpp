#include <gtest/gtest.h>

#include <string>

#include "app/QuillonView.h"
#include "intro/IntroLayer.h"
#include "support/Harness.h"

namespace {

size_t KeepAlives(const CHarness& h)
{
    size_t n = 0;
    for (size_t at = h.DebugText().find("send command 54\n"); at != std::string::npos;
         at = h.DebugText().find("send command 54\n", at + 1))
        ++n;
    return n;
}

// Moves the clock a second at a time, one loop pass per second.
void Seconds(CHarness& h, int n)
{
    for (int i = 0; i < n; ++i) {
        h.Clock().Advance(1000);
        h.Step();
    }
}

class KeepAlive : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(h.Start());
        ASSERT_TRUE(h.RunUntil([] { return g_pView && g_pView->m_pIntroLayer; }));
    }
    // Into the game: the next frame starts the timer.
    void EnterGame()
    {
        g_pView->m_pIntroLayer->m_sceneState = 0;
        ASSERT_TRUE(h.RunUntil([] { return g_pView->KeepAliveRunning(); }));
    }
    CHarness h;
};

}  // namespace

TEST_F(KeepAlive, NothingDuringTheIntro)
{
    Seconds(h, 1900);
    EXPECT_FALSE(g_pView->KeepAliveRunning());
    EXPECT_EQ(KeepAlives(h), 0u);
}

TEST_F(KeepAlive, SentEveryThirtyMinutesInTheGame)
{
    EnterGame();
    Seconds(h, 1799);
    EXPECT_EQ(KeepAlives(h), 0u);
    Seconds(h, 1);
    EXPECT_EQ(KeepAlives(h), 1u);
    Seconds(h, 1799);
    EXPECT_EQ(KeepAlives(h), 1u);
    Seconds(h, 1);
    EXPECT_EQ(KeepAlives(h), 2u);
}

TEST_F(KeepAlive, BackAtTheTitleTheCountStartsAgain)
{
    EnterGame();
    Seconds(h, 1000);
    g_pView->m_pIntroLayer->m_sceneState = 3;
    Seconds(h, 2);
    EXPECT_FALSE(g_pView->KeepAliveRunning());
    EXPECT_EQ(g_pView->m_keepAliveCount, 0u);
    EnterGame();
    Seconds(h, 1799);
    EXPECT_EQ(KeepAlives(h), 0u);
    Seconds(h, 1);
    EXPECT_EQ(KeepAlives(h), 1u);
}
