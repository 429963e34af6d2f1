#include "app/MouseState.h"

#include <cstring>

CMouseState g_mouseState;
uint32_t g_keyState[256];
uint32_t g_lastKey;
uint32_t g_accelKeyFlag;

namespace {
bool IsKnownEvent(uint32_t e)
{
    return e == MOUSE_LDOWN || e == MOUSE_LUP || e == MOUSE_RDOWN || e == MOUSE_RUP ||
           e == MOUSE_LDBLCLK || e == MOUSE_RDBLCLK || e == MOUSE_MOVE;
}
}  // namespace

void CMouseState::SetMouseEvent(uint32_t event, int x, int y)
{
    if (IsKnownEvent(event))
        m_events |= event;
    m_x = x;
    m_y = y;
    m_flag = 1;
}

void CMouseState::ClearMouseEvent(uint32_t event, int x, int y)
{
    if (IsKnownEvent(event))
        m_events &= ~event;
    m_x = x;
    m_y = y;
    m_flag = 0;
}

void CMouseState::ConsumeMouseEvent(uint32_t mask)
{
    m_events &= ~mask;
    if (m_events == 0)
        m_flag = 0;
}

void CMouseState::SetMouseButton(uint32_t button, bool down)
{
    if (button != 1 && button != 2)
        return;
    if (down)
        m_buttons |= button;
    else
        m_buttons &= ~button;
}

void ClearKeyStates()
{
    for (int i = 0; i < 32; ++i)
        g_keyState[i] = 0;
    g_lastKey = 0;
}

void ResetInputState()
{
    std::memset(g_keyState, 0, sizeof g_keyState);
    g_lastKey = 0;
    g_accelKeyFlag = 0;
    g_mouseState.Reset();
}
