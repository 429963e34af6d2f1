#include "core/Display.h"

#include <algorithm>

extern uint32_t g_frameNotPresented;

uint32_t g_fullScreenMode;

CDisplay::CDisplay(const DisplayParams& params)
    : m_back(static_cast<size_t>(kWidth) * kHeight, 0), m_fullScreen(params.fullScreen != 0)
{
    m_pitch = kWidth;
    m_width = kWidth;
    m_height = kHeight;
}

CDisplay::~CDisplay()
{
    // The owners remove their layers; nothing presents after this.
}

int CDisplay::InitDirectDraw()
{
    g_fullScreenMode = m_fullScreen ? 1 : 0;
    return 1;
}

int CDisplay::Lock()
{
    if (m_lockWord != 0)
        return 0;
    m_lockWord = 1;
    m_pBits = m_back.data();
    return 0;
}

int CDisplay::Unlock()
{
    if (m_lockWord == 0)
        return 0;
    m_lockWord = 0;
    m_pBits = nullptr;
    return 1;
}

int CDisplay::Draw()
{
    Lock();
    CLayerGroup::Draw();
    if (g_frameNotPresented)
        return 1;  // stays locked; the next frame presents both
    Unlock();
    ++m_presents;
    m_needsFlip = false;
    return 1;
}

void CDisplay::ClearBackBuffer()
{
    std::fill(m_back.begin(), m_back.end(), 0);
}

int CDisplay::Flip()
{
    if (m_lockWord != 0)
        Unlock();
    ++m_presents;
    m_needsFlip = false;
    return 1;
}
