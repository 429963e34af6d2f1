// The video service the display stands on: the screen mode, the surfaces the
// game's frames are drawn into, presenting them, the hardware palette and the
// window's geometry.
//
// Full screen has an 8-bit flip chain (a primary and one back buffer) whose
// colours come from the hardware palette. Windowed has one or two off-screen
// surfaces in the desktop's own format, copied into the window at present.
// A surface's rows are `pitch` bytes apart, which may exceed its width.
#pragma once
#include <array>
#include <cstdint>

#include "platform/Window.h"

namespace plat {

// Results of the surface operations.
constexpr int kVideoOk = 0;
constexpr int kVideoFailed = -1;        // anything not listed below
constexpr int kVideoSurfaceLost = -2;   // restore the surfaces, then retry
constexpr int kVideoStillDrawing = -3;  // busy: retry

enum VideoSurface : int {
    kSurfacePrimary = 0,
    kSurfaceBack = 1,        // full screen: the flip chain's back buffer
    kSurfaceOffscreen1 = 2,  // windowed
    kSurfaceOffscreen2 = 3,  // windowed, optional
};

struct VideoLock {
    uint8_t* bits = nullptr;
    int pitch = 0;  // bytes between rows
};

// 256 entries of red, green, blue, flags.
using PaletteEntries = std::array<uint8_t, 1024>;

class IVideo {
public:
    virtual ~IVideo() = default;

    // Bits per pixel of the desktop when windowed: 8, 15 (16-bit 5-5-5), 16
    // (5-6-5), 24 or 32.
    virtual int DesktopDepth() = 0;
    // Full screen: the exclusive 800 x 600 x 8 mode. 0 or a failure.
    virtual int EnterFullScreen(int width, int height, int bitsPerPixel) = 0;
    virtual int EnterWindowed() = 0;
    // Back to the desktop's own mode after EnterFullScreen.
    virtual void RestoreDisplayMode() = 0;

    // Full screen: the flip chain (8-bit). Windowed: off-screen surfaces in
    // the desktop's format, the second one when it can be had. 0 or a failure.
    virtual int CreateSurfaces(bool fullScreen, int width, int height) = 0;
    virtual bool HasSurface(VideoSurface s) = 0;
    virtual void ReleaseSurfaces() = 0;
    virtual int Lock(VideoSurface s, VideoLock& out) = 0;
    virtual int Unlock(VideoSurface s) = 0;
    virtual int Restore(VideoSurface s) = 0;
    // Full screen: shows the back buffer and swaps the chain.
    virtual int Flip() = 0;
    // Windowed: copies the surface into the window's client area.
    virtual int Blt(VideoSurface s) = 0;

    // True when 8-bit surfaces get their colours from a hardware palette.
    virtual bool HasPalette() = 0;
    // The hardware palette; the service keeps a copy. Seen from the next
    // present on.
    virtual void SetPaletteEntries(const PaletteEntries& entries) = 0;

    // Window geometry in screen coordinates (right and bottom exclusive).
    virtual void GetScreenSize(int& width, int& height) = 0;
    virtual Rect GetWindowRect() = 0;
    virtual Rect GetClientRect() = 0;
    virtual void SetWindowPos(int x, int y, int width, int height) = 0;
};

IVideo& Video();
void SetVideo(IVideo* video);  // null restores a service that has no screen

}  // namespace plat
