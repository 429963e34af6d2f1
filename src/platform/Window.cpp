#include "platform/Window.h"

namespace plat {

namespace {
CMemoryWindow g_nullWindow;
IWindow* g_window = &g_nullWindow;
}  // namespace

IWindow& Window() { return *g_window; }
void SetWindow(IWindow* window) { g_window = window ? window : &g_nullWindow; }

bool CMemoryWindow::Create(const std::string& titleCp949, int width, int height)
{
    m_title = titleCp949;
    m_width = width;
    m_height = height;
    m_created = true;
    return true;
}

void CMemoryWindow::ClipCursor(const Rect* r)
{
    m_hasClip = r != nullptr;
    if (r)
        m_clip = *r;
}

}  // namespace plat
