// The object layer's frame clock (advanced once per object-layer frame, in
// field and colony play), which button repeats are measured in.
#pragma once
#include <cstdint>

uint32_t GetObjFrameClock();
// Until the object layer keeps the clock, tests set it here.
void SetObjFrameClock(uint32_t frames);
