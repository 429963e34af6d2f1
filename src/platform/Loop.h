// The message loop that stands in for the framework's: posted messages,
// window timers, input, event sources (sockets, audio notifications) and the
// idle hook that drives the game.
#pragma once
#include <poll.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/Input.h"

namespace plat {

// Receives posted messages (WM_CLOSE, 0x40B, MM_MCINOTIFY, ...).
class IMessageTarget {
public:
    virtual ~IMessageTarget() = default;
    virtual void OnMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) = 0;
};

// Something the loop pumps on every pass, before the posted messages are
// taken: the sockets deliver their readiness events from here.
class IEventSource {
public:
    virtual ~IEventSource() = default;
    // Handles whatever is ready now, without blocking.
    virtual void Pump() = 0;
    // File descriptors whose readiness should end a wait (POLLIN/POLLOUT).
    virtual void AppendPollFds(std::vector<struct pollfd>& /*fds*/) {}
};

// What the loop asks of the backend.
class ILoopBackend {
public:
    virtual ~ILoopBackend() = default;
    // Appends the input events that arrived since the last call.
    virtual void PollInput(std::vector<RawEvent>& out) = 0;
    // Waits at most timeoutMs for input, one of fds or a wake-up.
    virtual void Wait(uint32_t timeoutMs, std::vector<struct pollfd>& fds) = 0;
};

// The application's idle hook (CWinApp::OnIdle).
class IIdleHandler {
public:
    virtual ~IIdleHandler() = default;
    virtual int OnIdle(long count) = 0;
    // How long the loop may wait for events after this idle pass: 0 when
    // there is more to do at once, else at most 1 ms.
    virtual uint32_t IdleWaitMs() { return 0; }
};

using TimerProc = std::function<void(uint32_t id)>;

// Posted when a name look-up has finished (to the look-up's own target).
constexpr uint32_t kMsgHostLookupDone = 0x4CA;

class CMessageLoop {
public:
    CMessageLoop();
    ~CMessageLoop();
    CMessageLoop(const CMessageLoop&) = delete;
    CMessageLoop& operator=(const CMessageLoop&) = delete;

    void SetBackend(ILoopBackend* backend) { m_backend = backend; }
    void SetIdleHandler(IIdleHandler* idle) { m_idle = idle; }
    // Key and mouse messages go to the view, activation to the frame.
    void SetWindowHandlers(IWindowHandler* view, IWindowHandler* frame);

    // Thread-safe; wakes a waiting loop.
    void PostMessage(IMessageTarget* target, uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0);
    void PostQuitMessage(int exitCode);
    // Takes back posted messages not yet delivered: those of msg with this
    // lParam, for target (any target when null). Returns how many.
    size_t RemovePosted(IMessageTarget* target, uint32_t msg, intptr_t lParam);

    // A window timer: fires at most once per pass when due, missed periods
    // do not queue up (WM_TIMER is coalesced). Re-setting an id restarts it.
    bool SetTimer(IMessageTarget* window, uint32_t id, uint32_t periodMs, TimerProc proc);
    bool KillTimer(IMessageTarget* window, uint32_t id);
    // Drops the posted messages and timers of a window that goes away.
    void ForgetTarget(IMessageTarget* window);

    void AddEventSource(IEventSource* source);
    void RemoveEventSource(IEventSource* source);
    // Pumps every event source once (the sockets' pending events).
    void PumpSources();
    // A desktop box's own loop, while the box is up: the event sources,
    // the services' notices (a music track's end, a name look-up's result)
    // and the due window timers, as the desktop's modal loop ran them.
    // Input, the other posted messages (a window's close, a form's press)
    // and the idle hook wait until the box has closed, since they act on
    // what the box's caller still holds. Inside a timer or message this
    // pass delivers, a further box pumps only the sources.
    void PumpDuringBox();

    // Queues an input event as if the backend had delivered it.
    void InjectInput(const RawEvent& e);
    const CInputRouter& Input() const { return m_router; }
    CInputRouter& Input() { return m_router; }

    // One pass: pump the sources, take every pending message (posted first,
    // then input, then one firing per due timer), then one idle call and a
    // short wait when the idle pass asks for it. False once quit.
    bool Step();
    // Runs until PostQuitMessage; returns its exit code.
    int Run();

    bool QuitPosted() const { return m_quit; }
    int ExitCode() const { return m_exitCode; }
    size_t PendingMessages();
    // Clears every queue, timer and handler (between tests).
    void Reset();

private:
    struct Posted {
        IMessageTarget* target;
        uint32_t msg;
        uintptr_t wParam;
        intptr_t lParam;
    };
    struct Timer {
        IMessageTarget* window;
        uint32_t id;
        uint32_t period;
        uint32_t due;
        TimerProc proc;
        bool live;
    };
    bool TakeOne();
    // Delivers the posted notices a box lets through; true when one came.
    bool TakeNotice();
    // One firing per due timer; true when one fired. Not re-entered: a
    // box opened by a timer's proc leaves the timers alone.
    bool RunDueTimers();

    ILoopBackend* m_backend = nullptr;
    IIdleHandler* m_idle = nullptr;
    IWindowHandler* m_view = nullptr;
    IWindowHandler* m_frame = nullptr;
    CInputRouter m_router;

    std::mutex m_postLock;
    std::deque<Posted> m_posted;
    std::deque<RawEvent> m_input;
    std::vector<RawEvent> m_inputScratch;
    std::vector<Timer> m_timers;
    std::vector<IEventSource*> m_sources;
    std::vector<struct pollfd> m_fds;
    bool m_quit = false;
    int m_exitCode = 0;
    long m_idleCount = 0;
    int m_wakeFd = -1;
    bool m_inTimers = false;
    int m_boxDispatch = 0;
};

CMessageLoop& Loop();

}  // namespace plat
