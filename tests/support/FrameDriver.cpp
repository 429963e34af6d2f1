#include "support/FrameDriver.h"

#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "core/TextLayer.h"
#include "support/Harness.h"

bool CFrameDriver::NextFrame()
{
    const uint32_t n = g_gameFrameCount;
    return m_h.RunUntil([&] { return g_gameFrameCount > n; }, 1000);
}

bool CFrameDriver::Frames(const std::function<bool()>& pred, int limit)
{
    for (int i = 0; i < limit && !m_h.Quit(); ++i) {
        if (pred())
            return true;
        if (!NextFrame())
            return pred();
    }
    return pred();
}

void CFrameDriver::Key(uint8_t scan)
{
    m_h.KeyDown(scan);
    NextFrame();
    m_h.KeyUp(scan);
    NextFrame();
}

void CFrameDriver::Type(const char* text)
{
    if (g_pTextLayer && g_pTextLayer->IsHangulMode())
        g_pTextLayer->RequestModeSwitch();
    for (const char* p = text; *p; ++p)
        g_pView->OnChar(static_cast<uint8_t>(*p), 1, 0);
    NextFrame();
}

void CFrameDriver::Click(int x, int y)
{
    m_h.MouseDown(1, x, y);
    NextFrame();
    m_h.MouseUp(1, x, y);
    NextFrame();
}
