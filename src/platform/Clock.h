// The millisecond clock and Sleep, real or virtual.
#pragma once
#include <cstdint>

namespace plat {

class IClock {
public:
    virtual ~IClock() = default;
    // Milliseconds as a u32 that wraps after 49.7 days (the game's timeGetTime).
    virtual uint32_t NowMs() = 0;
    virtual void Sleep(uint32_t ms) = 0;
    // Seconds since 1970 (the C runtime's time()), for seeding rand.
    virtual uint32_t UnixTime() = 0;
};

// steady_clock relative to the start of the process, truncated to u32.
class CRealClock : public IClock {
public:
    CRealClock();
    uint32_t NowMs() override;
    void Sleep(uint32_t ms) override;
    uint32_t UnixTime() override;
};

// A clock that moves only when told to; Sleep advances it.
class CVirtualClock : public IClock {
public:
    explicit CVirtualClock(uint32_t start = 0) : m_now(start) {}
    uint32_t NowMs() override { return m_now; }
    void Sleep(uint32_t ms) override { m_now += ms; m_slept += ms; }
    // A fixed date moved by the clock, so runs repeat exactly.
    uint32_t UnixTime() override { return kEpoch + m_now / 1000; }
    static constexpr uint32_t kEpoch = 1000000000;
    void Advance(uint32_t ms) { m_now += ms; }
    void Set(uint32_t ms) { m_now = ms; }
    uint64_t TotalSlept() const { return m_slept; }

private:
    uint32_t m_now;
    uint64_t m_slept = 0;
};

IClock& Clock();
void SetClock(IClock* clock);  // null restores the real clock

inline uint32_t NowMs() { return Clock().NowMs(); }
inline void Sleep(uint32_t ms) { Clock().Sleep(ms); }
inline uint32_t UnixTime() { return Clock().UnixTime(); }

}  // namespace plat
