#include "platform/Loop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>

#include "platform/Clock.h"

namespace plat {

namespace {
bool Due(uint32_t now, uint32_t due) { return static_cast<int32_t>(now - due) >= 0; }
// What a box's loop delivers: notices of the services, which hold nothing
// of the box's caller.
bool IsNotice(uint32_t msg) { return msg == kMmMciNotify || msg == kMsgHostLookupDone; }
}  // namespace

CMessageLoop& Loop()
{
    static CMessageLoop loop;
    return loop;
}

CMessageLoop::CMessageLoop()
{
    m_wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

CMessageLoop::~CMessageLoop()
{
    if (m_wakeFd >= 0)
        ::close(m_wakeFd);
}

void CMessageLoop::SetWindowHandlers(IWindowHandler* view, IWindowHandler* frame)
{
    m_view = view;
    m_frame = frame;
}

void CMessageLoop::PostMessage(IMessageTarget* target, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    {
        std::lock_guard<std::mutex> lock(m_postLock);
        m_posted.push_back(Posted{target, msg, wParam, lParam});
    }
    if (m_wakeFd >= 0) {
        uint64_t one = 1;
        ssize_t r = ::write(m_wakeFd, &one, sizeof one);
        (void)r;
    }
}

size_t CMessageLoop::RemovePosted(IMessageTarget* target, uint32_t msg, intptr_t lParam)
{
    std::lock_guard<std::mutex> lock(m_postLock);
    const size_t before = m_posted.size();
    m_posted.erase(std::remove_if(m_posted.begin(), m_posted.end(),
                                  [&](const Posted& p) {
                                      return p.msg == msg && p.lParam == lParam &&
                                             (!target || p.target == target);
                                  }),
                   m_posted.end());
    return before - m_posted.size();
}

void CMessageLoop::PostQuitMessage(int exitCode)
{
    m_quit = true;
    m_exitCode = exitCode;
}

bool CMessageLoop::SetTimer(IMessageTarget* window, uint32_t id, uint32_t periodMs, TimerProc proc)
{
    const uint32_t now = NowMs();
    for (Timer& t : m_timers) {
        if (t.live && t.window == window && t.id == id) {
            t.period = periodMs;
            t.due = now + periodMs;
            t.proc = std::move(proc);
            return true;
        }
    }
    m_timers.push_back(Timer{window, id, periodMs, now + periodMs, std::move(proc), true});
    return true;
}

bool CMessageLoop::KillTimer(IMessageTarget* window, uint32_t id)
{
    for (Timer& t : m_timers) {
        if (t.live && t.window == window && t.id == id) {
            t.live = false;
            return true;
        }
    }
    return false;
}

void CMessageLoop::ForgetTarget(IMessageTarget* window)
{
    {
        std::lock_guard<std::mutex> lock(m_postLock);
        m_posted.erase(std::remove_if(m_posted.begin(), m_posted.end(),
                                      [window](const Posted& p) { return p.target == window; }),
                       m_posted.end());
    }
    for (Timer& t : m_timers)
        if (t.window == window)
            t.live = false;
}

void CMessageLoop::AddEventSource(IEventSource* source)
{
    if (std::find(m_sources.begin(), m_sources.end(), source) == m_sources.end())
        m_sources.push_back(source);
}

void CMessageLoop::RemoveEventSource(IEventSource* source)
{
    m_sources.erase(std::remove(m_sources.begin(), m_sources.end(), source), m_sources.end());
}

void CMessageLoop::PumpSources()
{
    // A source may remove itself (or another) while pumping.
    std::vector<IEventSource*> sources = m_sources;
    for (IEventSource* s : sources)
        if (std::find(m_sources.begin(), m_sources.end(), s) != m_sources.end())
            s->Pump();
}

void CMessageLoop::PumpDuringBox()
{
    m_router.NoteOwnWindows(NowMs());
    PumpSources();
    if (m_boxDispatch > 0 || m_quit)
        return;
    ++m_boxDispatch;
    // Notices posted by what a notice does wait for the next pass.
    for (size_t n = PendingMessages(); n > 0 && TakeNotice(); --n) {
    }
    RunDueTimers();
    --m_boxDispatch;
}

bool CMessageLoop::TakeNotice()
{
    Posted p{};
    {
        std::lock_guard<std::mutex> lock(m_postLock);
        auto it = std::find_if(m_posted.begin(), m_posted.end(), [](const Posted& q) { return IsNotice(q.msg); });
        if (it == m_posted.end())
            return false;
        p = *it;
        m_posted.erase(it);
    }
    if (p.target)
        p.target->OnMessage(p.msg, p.wParam, p.lParam);
    return true;
}

bool CMessageLoop::RunDueTimers()
{
    if (m_inTimers || m_timers.empty())
        return false;
    m_inTimers = true;
    bool any = false;
    const uint32_t now = NowMs();
    const size_t count = m_timers.size();
    for (size_t i = 0; i < count && !m_quit; ++i) {
        if (!m_timers[i].live || !Due(now, m_timers[i].due))
            continue;
        // The period keeps its phase; periods missed while the loop was
        // busy are dropped, not queued.
        m_timers[i].due += m_timers[i].period;
        if (Due(now, m_timers[i].due))
            m_timers[i].due = now + m_timers[i].period;
        // A copy: the proc may set timers, which moves the table.
        TimerProc proc = m_timers[i].proc;
        const uint32_t id = m_timers[i].id;
        IMessageTarget* window = m_timers[i].window;
        if (proc)
            proc(id);
        else if (window)
            window->OnMessage(kWmTimer, id, 0);
        any = true;
    }
    m_timers.erase(std::remove_if(m_timers.begin(), m_timers.end(), [](const Timer& t) { return !t.live; }),
                   m_timers.end());
    m_inTimers = false;
    return any;
}

void CMessageLoop::InjectInput(const RawEvent& e) { m_input.push_back(e); }

size_t CMessageLoop::PendingMessages()
{
    std::lock_guard<std::mutex> lock(m_postLock);
    return m_posted.size() + m_input.size();
}

bool CMessageLoop::TakeOne()
{
    Posted p{};
    bool havePosted = false;
    {
        std::lock_guard<std::mutex> lock(m_postLock);
        if (!m_posted.empty()) {
            p = m_posted.front();
            m_posted.pop_front();
            havePosted = true;
        }
    }
    if (havePosted) {
        if (p.target)
            p.target->OnMessage(p.msg, p.wParam, p.lParam);
        return true;
    }
    if (!m_input.empty()) {
        RawEvent e = m_input.front();
        m_input.pop_front();
        m_router.Route(e, NowMs(), m_view, m_frame);
        return true;
    }
    return false;
}

bool CMessageLoop::Step()
{
    if (m_quit)
        return false;
    if (m_backend) {
        m_inputScratch.clear();
        m_backend->PollInput(m_inputScratch);
        for (const RawEvent& e : m_inputScratch)
            m_input.push_back(e);
    }
    PumpSources();
    m_router.NoteOwnWindows(NowMs());

    bool any = false;
    while (!m_quit && TakeOne())
        any = true;

    // WM_TIMER comes last, one per due timer.
    if (!m_quit && RunDueTimers())
        any = true;
    if (m_quit)
        return false;
    if (any)
        m_idleCount = 0;

    if (!m_idle)
        return true;
    m_idle->OnIdle(m_idleCount++);
    if (m_quit)
        return false;

    uint32_t wait = m_idle->IdleWaitMs();
    if (wait > 0 && m_backend && PendingMessages() == 0) {
        m_fds.clear();
        if (m_wakeFd >= 0)
            m_fds.push_back(pollfd{m_wakeFd, POLLIN, 0});
        for (IEventSource* s : m_sources)
            s->AppendPollFds(m_fds);
        m_backend->Wait(wait, m_fds);
    }
    if (m_wakeFd >= 0) {
        uint64_t drained;
        while (::read(m_wakeFd, &drained, sizeof drained) > 0) {
        }
    }
    return !m_quit;
}

int CMessageLoop::Run()
{
    while (Step()) {
    }
    return m_exitCode;
}

void CMessageLoop::Reset()
{
    {
        std::lock_guard<std::mutex> lock(m_postLock);
        m_posted.clear();
    }
    m_input.clear();
    m_timers.clear();
    m_sources.clear();
    m_backend = nullptr;
    m_idle = nullptr;
    m_view = nullptr;
    m_frame = nullptr;
    m_router.Reset();
    m_quit = false;
    m_exitCode = 0;
    m_idleCount = 0;
    m_inTimers = false;
    m_boxDispatch = 0;
}

}  // namespace plat
