#include "ui/FrameClockView.h"

namespace {
uint32_t s_frameClock = 0;
}

uint32_t GetObjFrameClock()
{
    return s_frameClock;
}

void SetObjFrameClock(uint32_t frames)
{
    s_frameClock = frames;
}
