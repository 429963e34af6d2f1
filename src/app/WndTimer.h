// A window timer that knows whether it runs: the view's keep-alive timer.
#pragma once
#include <cstdint>

namespace plat {
class IMessageTarget;
}

using WndTimerProc = void (*)(uint32_t id);

class CWndTimer {
public:
    CWndTimer() = default;
    ~CWndTimer() { Stop(); }
    CWndTimer(const CWndTimer&) = delete;
    CWndTimer& operator=(const CWndTimer&) = delete;

    // 0 when already running or when the timer cannot be set; else 1.
    int Start(plat::IMessageTarget* window, uint32_t id, uint32_t periodMs, WndTimerProc proc);
    // Kills a running timer: the kill's result; 0 when not running.
    int Stop();
    // Stops the timer when it runs.
    void Restart();
    bool IsRunning() const { return m_proc != nullptr; }

private:
    plat::IMessageTarget* m_window = nullptr;
    uint32_t m_id = 0;
    WndTimerProc m_proc = nullptr;
};
