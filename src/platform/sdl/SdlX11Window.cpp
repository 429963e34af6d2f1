// The game window's X11 id, apart from the rest of the window: X11's
// headers define macros (DisableScreenSaver, None, ...) that would clash
// with names there.
#include "platform/sdl/SdlPlatform.h"

#include <SDL.h>
#include <SDL_syswm.h>

namespace plat {

unsigned long CSdlWindow::X11Window() const
{
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (m_window && SDL_GetWindowWMInfo(m_window, &info) && info.subsystem == SDL_SYSWM_X11)
        return static_cast<unsigned long>(info.info.x11.window);
#endif
    return 0;
}

}  // namespace plat
