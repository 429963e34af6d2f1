#include <gtest/gtest.h>

#include "app/FrameClock.h"

namespace {

struct Row {
    uint32_t now;
    uint32_t due;
    bool run;
    bool skip;
    uint32_t next;
};

TEST(FrameSchedule, OnTimeLateAndResetRows)
{
    const uint32_t due = 10000;
    const Row rows[] = {
        {due - 1, due, false, false, 0},          // before due: nothing runs
        {due, due, true, false, due + 33},        // on time
        {due + 32, due, true, false, due + 33},   // still on time
        {due + 33, due, true, true, due + 33},    // late: computed, not drawn, phase kept
        {due + 197, due, true, true, due + 33},
        {due + 198, due, true, false, due + 198 + 33},  // restart from now
    };
    for (const Row& r : rows) {
        FrameDecision d = ScheduleFrame(r.now, r.due, true);
        EXPECT_EQ(d.run, r.run) << r.now;
        if (!r.run)
            continue;
        EXPECT_EQ(d.skipDraw, r.skip) << r.now;
        EXPECT_EQ(d.nextDue, r.next) << r.now;
    }
}

TEST(FrameSchedule, FirstCallRunsWhateverTheClockSays)
{
    FrameDecision d = ScheduleFrame(0xFFFFFFF0u, 0, false);
    EXPECT_TRUE(d.run);
    EXPECT_FALSE(d.skipDraw);
    EXPECT_EQ(d.nextDue, 0xFFFFFFF0u + 33);
}

TEST(FrameSchedule, ClockWrapKeepsThePhase)
{
    // Due just before the wrap; the clock has wrapped past it.
    FrameDecision d = ScheduleFrame(5, 0xFFFFFFF0u, true);
    EXPECT_TRUE(d.run);
    EXPECT_FALSE(d.skipDraw);
    EXPECT_EQ(d.nextDue, 0xFFFFFFF0u + 33);
    // A due time just after the wrap is still in the future before it.
    EXPECT_FALSE(ScheduleFrame(0xFFFFFFF0u, 10, true).run);
    // 100 ms late across the wrap: skip, not reset.
    FrameDecision late = ScheduleFrame(0xFFFFFFF0u + 100, 0xFFFFFFF0u, true);
    EXPECT_TRUE(late.skipDraw);
}

}  // namespace
