// The video service on SDL2: the game's window with a renderer and one
// streaming ARGB8888 texture of 800 x 600. Full screen is a desktop-sized
// window whose logical size is 800 x 600 (SDL scales the picture and maps
// the mouse back); windowed is the 800 x 600 window itself. Surfaces live in
// memory: full screen an 8-bit flip chain coloured by the palette at present,
// windowed 32-bit surfaces (the display converts into them).
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "platform/Video.h"

struct SDL_Renderer;
struct SDL_Texture;

namespace plat {

class CSdlWindow;

class CSdlVideo : public IVideo {
public:
    explicit CSdlVideo(CSdlWindow* window) : m_window(window) {}
    ~CSdlVideo() override;
    CSdlVideo(const CSdlVideo&) = delete;
    CSdlVideo& operator=(const CSdlVideo&) = delete;

    int DesktopDepth() override { return 32; }
    int EnterFullScreen(int width, int height, int bitsPerPixel) override;
    int EnterWindowed() override;
    void RestoreDisplayMode() override;
    int CreateSurfaces(bool fullScreen, int width, int height) override;
    bool HasSurface(VideoSurface s) override;
    void ReleaseSurfaces() override;
    int Lock(VideoSurface s, VideoLock& out) override;
    int Unlock(VideoSurface s) override;
    int Restore(VideoSurface s) override;
    int Flip() override;
    int Blt(VideoSurface s) override;
    bool HasPalette() override { return m_fullScreen; }
    void SetPaletteEntries(const PaletteEntries& entries) override;
    void GetScreenSize(int& width, int& height) override;
    Rect GetWindowRect() override;
    Rect GetClientRect() override;
    void SetWindowPos(int x, int y, int width, int height) override;

    // In full screen the game's screen is the 800 x 600 logical area: r in
    // those coordinates becomes window pixels. False when windowed.
    bool LogicalToWindow(const Rect& r, Rect& out);
    // Frames shown so far.
    uint64_t Presents() const { return m_presents; }
    // Drops the renderer and texture (before the window goes away).
    void Close();

private:
    struct Surface {
        std::vector<uint8_t> mem;
        int width = 0;
        int height = 0;
        int pitch = 0;
        bool exists = false;
    };
    bool CreateRenderer();
    bool EnsureRenderer(int width, int height);
    // Puts the texture on the screen.
    int Show();

    CSdlWindow* m_window;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
    int m_texWidth = 0;
    int m_texHeight = 0;
    bool m_fullScreen = false;
    std::array<Surface, 4> m_surfaces;
    std::array<uint32_t, 256> m_argb{};
    uint64_t m_presents = 0;
};

}  // namespace plat
