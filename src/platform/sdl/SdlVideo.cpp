#include "platform/sdl/SdlVideo.h"

#include <SDL.h>

#include <cstring>

#include "platform/sdl/SdlPlatform.h"

namespace plat {

CSdlVideo::~CSdlVideo() { Close(); }

void CSdlVideo::Close()
{
    ReleaseSurfaces();
    if (m_texture) {
        SDL_DestroyTexture(m_texture);
        m_texture = nullptr;
    }
    if (m_renderer) {
        SDL_DestroyRenderer(m_renderer);
        m_renderer = nullptr;
    }
}

bool CSdlVideo::CreateRenderer()
{
    SDL_Window* w = m_window ? m_window->Handle() : nullptr;
    if (!w)
        return false;
    if (!m_renderer) {
        // The game paces itself: no waiting for the vertical blank.
        SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
        m_renderer = SDL_CreateRenderer(w, -1, 0);
        if (!m_renderer)
            m_renderer = SDL_CreateRenderer(w, -1, SDL_RENDERER_SOFTWARE);
    }
    return m_renderer != nullptr;
}

bool CSdlVideo::EnsureRenderer(int width, int height)
{
    if (!CreateRenderer())
        return false;
    if (!m_texture || m_texWidth != width || m_texHeight != height) {
        if (m_texture)
            SDL_DestroyTexture(m_texture);
        m_texture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                      width, height);
        if (!m_texture)
            return false;
        m_texWidth = width;
        m_texHeight = height;
    }
    // Mouse positions come back in this size, whatever the window's.
    SDL_RenderSetLogicalSize(m_renderer, width, height);
    return true;
}

int CSdlVideo::EnterFullScreen(int, int, int)
{
    SDL_Window* w = m_window ? m_window->Handle() : nullptr;
    // The renderer first: an OpenGL one makes a new X window, at the place
    // the window was created, and would undo the placement below.
    if (!w || !CreateRenderer())
        return kVideoFailed;
    // SDL takes the desktop's size for the window at once, but only a window
    // manager acts on the request: without one the X window would stay
    // 800 x 600, showing a corner of the scaled picture with the mouse off by
    // the height difference. So the window covers the display itself first.
    SDL_Rect bounds;
    const int display = SDL_GetWindowDisplayIndex(w);
    if (!(SDL_GetWindowFlags(w) & SDL_WINDOW_FULLSCREEN) &&
        SDL_GetDisplayBounds(display < 0 ? 0 : display, &bounds) == 0) {
        SDL_SetWindowPosition(w, bounds.x, bounds.y);
        SDL_SetWindowSize(w, bounds.w, bounds.h);
    }
    if (SDL_SetWindowFullscreen(w, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0)
        return kVideoFailed;
    m_fullScreen = true;
    return kVideoOk;
}

int CSdlVideo::EnterWindowed()
{
    SDL_Window* w = m_window ? m_window->Handle() : nullptr;
    if (!w || SDL_SetWindowFullscreen(w, 0) != 0)
        return kVideoFailed;
    m_fullScreen = false;
    return kVideoOk;
}

void CSdlVideo::RestoreDisplayMode()
{
    if (SDL_Window* w = m_window ? m_window->Handle() : nullptr)
        SDL_SetWindowFullscreen(w, 0);
    m_fullScreen = false;
}

int CSdlVideo::CreateSurfaces(bool fullScreen, int width, int height)
{
    ReleaseSurfaces();
    if (width <= 0 || height <= 0 || !EnsureRenderer(width, height))
        return kVideoFailed;
    auto make = [&](VideoSurface id, int bytesPerPixel) {
        Surface& s = m_surfaces[id];
        s.width = width;
        s.height = height;
        s.pitch = width * bytesPerPixel;
        s.mem.assign(static_cast<size_t>(s.pitch) * height, 0);
        s.exists = true;
    };
    if (fullScreen) {
        make(kSurfacePrimary, 1);
        make(kSurfaceBack, 1);
    } else {
        make(kSurfaceOffscreen1, 4);
        make(kSurfaceOffscreen2, 4);
    }
    return kVideoOk;
}

bool CSdlVideo::HasSurface(VideoSurface s)
{
    return s >= kSurfacePrimary && s <= kSurfaceOffscreen2 && m_surfaces[s].exists;
}

void CSdlVideo::ReleaseSurfaces()
{
    for (Surface& s : m_surfaces)
        s = Surface{};
}

int CSdlVideo::Lock(VideoSurface s, VideoLock& out)
{
    if (!HasSurface(s))
        return kVideoFailed;
    out.bits = m_surfaces[s].mem.data();
    out.pitch = m_surfaces[s].pitch;
    return kVideoOk;
}

int CSdlVideo::Unlock(VideoSurface s) { return HasSurface(s) ? kVideoOk : kVideoFailed; }

int CSdlVideo::Restore(VideoSurface s) { return HasSurface(s) || s == kSurfacePrimary ? kVideoOk : kVideoFailed; }

int CSdlVideo::Show()
{
    SDL_RenderClear(m_renderer);
    if (SDL_RenderCopy(m_renderer, m_texture, nullptr, nullptr) != 0)
        return kVideoFailed;
    SDL_RenderPresent(m_renderer);
    ++m_presents;
    return kVideoOk;
}

int CSdlVideo::Flip()
{
    if (!HasSurface(kSurfacePrimary) || !HasSurface(kSurfaceBack) || !m_texture)
        return kVideoFailed;
    std::swap(m_surfaces[kSurfacePrimary].mem, m_surfaces[kSurfaceBack].mem);
    const Surface& front = m_surfaces[kSurfacePrimary];
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(m_texture, nullptr, &pixels, &pitch) != 0)
        return kVideoFailed;
    // The hardware palette's colours, index 0 included, as the 8-bit mode
    // shows them.
    for (int y = 0; y < front.height; ++y) {
        const uint8_t* src = front.mem.data() + static_cast<size_t>(front.pitch) * y;
        uint8_t* dst = static_cast<uint8_t*>(pixels) + static_cast<size_t>(pitch) * y;
        for (int x = 0; x < front.width; ++x) {
            const uint32_t v = m_argb[src[x]];
            std::memcpy(dst + 4 * x, &v, 4);
        }
    }
    SDL_UnlockTexture(m_texture);
    return Show();
}

int CSdlVideo::Blt(VideoSurface s)
{
    if (!HasSurface(s) || !m_texture)
        return kVideoFailed;
    const Surface& surf = m_surfaces[s];
    if (SDL_UpdateTexture(m_texture, nullptr, surf.mem.data(), surf.pitch) != 0)
        return kVideoFailed;
    return Show();
}

void CSdlVideo::SetPaletteEntries(const PaletteEntries& e)
{
    for (int i = 0; i < 256; ++i)
        m_argb[i] = 0xFF000000u | static_cast<uint32_t>(e[i * 4]) << 16 | static_cast<uint32_t>(e[i * 4 + 1]) << 8 |
                    e[i * 4 + 2];
}

void CSdlVideo::GetScreenSize(int& width, int& height)
{
    if (m_window) {
        m_window->GetDesktopSize(width, height);
    } else {
        width = 800;
        height = 600;
    }
}

Rect CSdlVideo::GetWindowRect()
{
    SDL_Window* w = m_window ? m_window->Handle() : nullptr;
    if (!w)
        return Rect{0, 0, 800, 600};
    int x = 0, y = 0, cw = 0, ch = 0;
    SDL_GetWindowPosition(w, &x, &y);
    SDL_GetWindowSize(w, &cw, &ch);
    // Borderless: the window is its client area.
    return Rect{x, y, x + cw, y + ch};
}

Rect CSdlVideo::GetClientRect()
{
    const Rect r = GetWindowRect();
    return Rect{0, 0, r.right - r.left, r.bottom - r.top};
}

bool CSdlVideo::LogicalToWindow(const Rect& r, Rect& out)
{
    if (!m_fullScreen || !m_renderer)
        return false;
    SDL_Rect view;
    float sx = 1.0f, sy = 1.0f;
    SDL_RenderGetViewport(m_renderer, &view);
    SDL_RenderGetScale(m_renderer, &sx, &sy);
    out = Rect{static_cast<int>((r.left + view.x) * sx), static_cast<int>((r.top + view.y) * sy),
               static_cast<int>((r.right + view.x) * sx), static_cast<int>((r.bottom + view.y) * sy)};
    return true;
}

void CSdlVideo::SetWindowPos(int x, int y, int width, int height)
{
    SDL_Window* w = m_window ? m_window->Handle() : nullptr;
    if (!w || m_fullScreen)
        return;
    SDL_SetWindowSize(w, width, height);
    SDL_SetWindowPosition(w, x, y);
    SDL_RaiseWindow(w);
}

}  // namespace plat
