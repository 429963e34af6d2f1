#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Loop.h"
#include "platform/headless/HeadlessPlatform.h"

namespace {

std::vector<std::string> g_log;

struct Target : plat::IMessageTarget {
    void OnMessage(uint32_t msg, uintptr_t w, intptr_t) override
    {
        g_log.push_back("msg " + std::to_string(msg) + ":" + std::to_string(w));
        if (msg == 99)
            plat::Loop().PostMessage(this, 100);  // posted during dispatch: before pending input
    }
};

struct View : plat::IWindowHandler {
    void OnKeyDown(uint32_t, uint32_t, uint32_t f) override { g_log.push_back("key " + std::to_string(f & 255)); }
};

struct Idle : plat::IIdleHandler {
    int calls = 0;
    uint32_t wait = 0;
    int OnIdle(long) override
    {
        ++calls;
        g_log.push_back("idle");
        return 1;
    }
    uint32_t IdleWaitMs() override { return wait; }
};

struct Source : plat::IEventSource {
    int pumps = 0;
    void Pump() override
    {
        ++pumps;
        g_log.push_back("pump");
    }
};

class MessageLoop : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_log.clear();
        plat::Loop().SetIdleHandler(&idle);
        plat::Loop().SetWindowHandlers(&view, nullptr);
    }
    plat::CHeadlessPlatform platform;
    Target target;
    View view;
    Idle idle;
};

plat::RawEvent KeyEvent(uint8_t scan)
{
    plat::RawEvent e;
    e.kind = plat::RawKind::KeyDown;
    e.scan = scan;
    return e;
}

TEST_F(MessageLoop, SourcesThenPostedThenInputThenTimersThenIdle)
{
    Source source;
    plat::Loop().AddEventSource(&source);
    plat::Loop().SetTimer(&target, 7, 10, nullptr);
    platform.clock.Advance(10);
    plat::Loop().InjectInput(KeyEvent(16));
    plat::Loop().PostMessage(&target, 99, 1);
    ASSERT_TRUE(plat::Loop().Step());
    EXPECT_EQ(g_log, (std::vector<std::string>{"pump", "msg 99:1", "msg 100:0", "key 16",
                                               "msg 275:7", "idle"}));
    plat::Loop().RemoveEventSource(&source);
}

TEST_F(MessageLoop, TimerFiresOncePerPassAndMissedPeriodsDoNotQueue)
{
    int fired = 0;
    plat::Loop().SetTimer(&target, 16, 1000, [&](uint32_t id) {
        EXPECT_EQ(id, 16u);
        ++fired;
    });
    plat::Loop().Step();
    EXPECT_EQ(fired, 0);
    platform.clock.Advance(5000);  // five periods late
    plat::Loop().Step();
    plat::Loop().Step();
    EXPECT_EQ(fired, 1);
    platform.clock.Advance(1000);
    plat::Loop().Step();
    EXPECT_EQ(fired, 2);
    EXPECT_TRUE(plat::Loop().KillTimer(&target, 16));
    platform.clock.Advance(1000);
    plat::Loop().Step();
    EXPECT_EQ(fired, 2);
    EXPECT_FALSE(plat::Loop().KillTimer(&target, 16));
}

TEST_F(MessageLoop, IdleWaitAdvancesTheVirtualClockOnlyWhenAsked)
{
    const uint32_t t0 = platform.clock.NowMs();
    plat::Loop().Step();
    EXPECT_EQ(platform.clock.NowMs(), t0);
    idle.wait = 1;
    plat::Loop().Step();
    EXPECT_EQ(platform.clock.NowMs(), t0 + 1);
    // A pending message means there is work: no wait.
    plat::Loop().PostMessage(&target, 1);
    plat::Loop().Step();
    EXPECT_EQ(platform.clock.NowMs(), t0 + 2);
}

TEST_F(MessageLoop, QuitStopsBeforeIdleAndForgottenTargetsGetNothing)
{
    Target other;
    plat::Loop().PostMessage(&other, 5);
    plat::Loop().ForgetTarget(&other);
    plat::Loop().PostQuitMessage(3);
    EXPECT_FALSE(plat::Loop().Step());
    EXPECT_EQ(plat::Loop().ExitCode(), 3);
    EXPECT_EQ(idle.calls, 0);
    EXPECT_TRUE(g_log.empty());
}

}  // namespace
