// The base of the in-game widgets. Minimal form: the id and the open state
// that windows are opened and closed by.
#pragma once
#include <cstdint>

class CWidget {
public:
    enum : uint32_t { kClosed = 0, kOpening = 1, kOpen = 2, kClosing = 3 };

    explicit CWidget(uint32_t id = 0) : m_id(id) {}
    virtual ~CWidget() = default;

    uint32_t GetId() const { return m_id; }
    virtual void SetState(uint32_t state) { m_state = state; }
    uint32_t GetState() const { return m_state; }
    bool IsOpenOrOpening() const { return m_state == kOpening || m_state == kOpen; }
    // Opens a closed widget, else closes it.
    void Toggle() { SetState(m_state == kClosed ? kOpening : kClosing); }

private:
    uint32_t m_id;
    uint32_t m_state = kClosed;
};
