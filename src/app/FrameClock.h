// The frame clock: when the next game frame is due and whether it is drawn.
#pragma once
#include <cstdint>

constexpr uint32_t kFramePeriodMs = 33;
// A frame this late (or later) restarts the schedule instead of catching up.
constexpr uint32_t kFrameResetLateMs = 198;

extern uint32_t g_frameTime;          // the idle tick: the clock at the start of each idle call
extern uint32_t g_frameNow;           // the idle tick as the frame step took it
extern uint32_t g_nextFrameDue;       // earliest tick of the next frame
extern uint32_t g_gameFrameCount;     // frames that ran
extern uint32_t g_frameNotPresented;  // 1 in a late frame: computed, not drawn
extern uint32_t g_firstFrameDone;     // the first frame has built the game
extern uint32_t g_connectOnce;        // the connect step has not run yet
extern uint32_t g_gmFlag;             // game-master account

struct FrameDecision {
    bool run = false;
    bool skipDraw = false;
    uint32_t nextDue = 0;
};

// Decides one frame at tick now. Times compare by signed difference, so the
// u32 wrap of the clock changes nothing. Before the schedule has started
// every tick is due and starts it.
FrameDecision ScheduleFrame(uint32_t now, uint32_t due, bool started);

// Back to the state at process start.
void ResetFrameClock();
extern bool g_frameScheduleStarted;
