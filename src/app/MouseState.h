// The per-frame mouse latch and the key latch that the layers poll.
#pragma once
#include <cstdint>

// Mouse event bits.
enum : uint32_t {
    MOUSE_LDOWN = 1,
    MOUSE_LUP = 2,
    MOUSE_RDOWN = 4,
    MOUSE_RUP = 8,
    MOUSE_LDBLCLK = 16,
    MOUSE_RDBLCLK = 32,
    MOUSE_MOVE = 64,
};

class CMouseState {
public:
    // ORs the event's bit (one of the seven; any other value changes no bit),
    // stores the position and flags an event for this frame.
    void SetMouseEvent(uint32_t event, int x, int y);
    void ClearMouseEvent(uint32_t event, int x, int y);
    bool HasMouseEvent(uint32_t mask) const { return (m_events & mask) != 0; }
    bool IsMouseEvent(uint32_t mask) const { return (m_events & mask) != 0 && m_flag != 0; }
    void ResetMouseEvents() { m_events = 0; m_flag = 0; }
    // Clears the mask's bits (never sets one that was not latched); the
    // frame flag goes when no bit remains.
    void ConsumeMouseEvent(uint32_t mask);
    uint32_t GetMouseEvents() const { return m_flag ? m_events : 0; }
    void GetMousePos(int& x, int& y) const { x = m_x; y = m_y; }
    int GetX() const { return m_x; }
    int GetY() const { return m_y; }
    // button 1 left, 2 right.
    void SetMouseButton(uint32_t button, bool down);
    bool IsMouseButtonHeld(uint32_t mask) const { return (m_buttons & mask) != 0; }
    void ClearMouseButtons() { m_buttons = 0; }
    void Reset() { *this = CMouseState{}; }

private:
    uint32_t m_events = 0;
    uint32_t m_flag = 0;
    int32_t m_x = 0;
    int32_t m_y = 0;
    uint32_t m_buttons = 0;
};

extern CMouseState g_mouseState;

// Key-down table by set-1 scan code, the last key and the accelerator flag.
extern uint32_t g_keyState[256];
extern uint32_t g_lastKey;
extern uint32_t g_accelKeyFlag;

// Clears the key-down entries of scan codes 0..31 and the last key.
void ClearKeyStates();
// Clears every key, the latch and the buttons (between tests).
void ResetInputState();
