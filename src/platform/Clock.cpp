#include "platform/Clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace plat {

namespace {
const auto g_processStart = std::chrono::steady_clock::now();
CRealClock g_realClock;
IClock* g_clock = &g_realClock;
}  // namespace

CRealClock::CRealClock() = default;

uint32_t CRealClock::NowMs()
{
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - g_processStart).count();
    return static_cast<uint32_t>(static_cast<uint64_t>(ms));
}

void CRealClock::Sleep(uint32_t ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

uint32_t CRealClock::UnixTime()
{
    return static_cast<uint32_t>(std::time(nullptr));
}

IClock& Clock() { return *g_clock; }

void SetClock(IClock* clock) { g_clock = clock ? clock : &g_realClock; }

}  // namespace plat
