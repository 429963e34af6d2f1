#include "app/FrameClock.h"

uint32_t g_frameTime;
uint32_t g_frameNow;
uint32_t g_nextFrameDue;
uint32_t g_gameFrameCount;
uint32_t g_frameNotPresented;
uint32_t g_firstFrameDone;
uint32_t g_connectOnce = 1;
uint32_t g_gmFlag;
bool g_frameScheduleStarted;

FrameDecision ScheduleFrame(uint32_t now, uint32_t due, bool started)
{
    FrameDecision d;
    const int32_t late = static_cast<int32_t>(now - due);
    if (started && late < 0)
        return d;  // not due yet
    d.run = true;
    if (started && late < static_cast<int32_t>(kFramePeriodMs)) {
        d.nextDue = due + kFramePeriodMs;
    } else if (started && late < static_cast<int32_t>(kFrameResetLateMs)) {
        d.skipDraw = true;  // late: computed but not drawn; keep the phase
        d.nextDue = due + kFramePeriodMs;
    } else {
        d.nextDue = now + kFramePeriodMs;  // give up the schedule, restart from now
    }
    return d;
}

void ResetFrameClock()
{
    g_frameTime = 0;
    g_frameNow = 0;
    g_nextFrameDue = 0;
    g_gameFrameCount = 0;
    g_frameNotPresented = 0;
    g_firstFrameDone = 0;
    g_connectOnce = 1;
    g_gmFlag = 0;
    g_frameScheduleStarted = false;
}
