#include "app/WndTimer.h"

#include "platform/Loop.h"

int CWndTimer::Start(plat::IMessageTarget* window, uint32_t id, uint32_t periodMs, WndTimerProc proc)
{
    if (IsRunning() || !proc)
        return 0;
    if (!plat::Loop().SetTimer(window, id, periodMs, [proc](uint32_t timerId) { proc(timerId); }))
        return 0;
    m_window = window;
    m_id = id;
    m_proc = proc;
    return 1;
}

int CWndTimer::Stop()
{
    if (!IsRunning())
        return 0;
    const int r = plat::Loop().KillTimer(m_window, m_id) ? 1 : 0;
    m_id = 0;
    m_proc = nullptr;
    return r;
}

void CWndTimer::Restart()
{
    if (IsRunning())
        Stop();
}
