// The video service in memory: surfaces are byte arrays, every present is
// recorded (the frame as presented, the hardware palette, a hash), the
// desktop's depth and geometry are settable and lock, flip and copy failures
// can be injected.
#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <vector>

#include "platform/Video.h"

namespace plat {

struct PresentRecord {
    int depth = 0;  // 8 (indices, hardware palette), 15, 16, 24 or 32
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // rows packed: width x bytes per pixel
    PaletteEntries palette{};     // the hardware palette at the present
    uint64_t hash = 0;            // of pixels, and of palette when depth is 8
};

class CHeadlessVideo : public IVideo {
public:
    int DesktopDepth() override { return desktopDepth; }
    int EnterFullScreen(int width, int height, int bitsPerPixel) override;
    int EnterWindowed() override;
    void RestoreDisplayMode() override { fullScreen = false; ++modeRestores; }
    int CreateSurfaces(bool fullScreen, int width, int height) override;
    bool HasSurface(VideoSurface s) override;
    void ReleaseSurfaces() override;
    int Lock(VideoSurface s, VideoLock& out) override;
    int Unlock(VideoSurface s) override;
    int Restore(VideoSurface s) override;
    int Flip() override;
    int Blt(VideoSurface s) override;
    bool HasPalette() override { return fullScreen || desktopDepth == 8; }
    void SetPaletteEntries(const PaletteEntries& entries) override;
    void GetScreenSize(int& width, int& height) override;
    Rect GetWindowRect() override { return windowRect; }
    Rect GetClientRect() override;
    void SetWindowPos(int x, int y, int width, int height) override;

    // The next `times` calls of that kind fail with `result`.
    void FailLocks(int result, int times) { m_lockFailures.insert(m_lockFailures.end(), times, result); }
    void FailFlips(int result, int times) { m_flipFailures.insert(m_flipFailures.end(), times, result); }
    void FailBlts(int result, int times) { m_bltFailures.insert(m_bltFailures.end(), times, result); }
    void FailFullScreen(bool fail) { m_failFullScreen = fail; }
    void FailSurfaces(bool fail) { m_failSurfaces = fail; }

    // FNV-1a, 64 bits.
    static uint64_t Hash(const uint8_t* data, size_t size, uint64_t seed = 1469598103934665603ull);
    static int BytesPerPixel(int depth) { return depth == 8 ? 1 : depth <= 16 ? 2 : depth == 24 ? 3 : 4; }

    // Settings, before the display is built.
    int desktopDepth = 32;
    int screenWidth = 1920;
    int screenHeight = 1080;
    int rowPadding = 0;      // extra bytes at the end of every surface row
    bool secondOffscreen = true;
    // Frame border of the window: the window is this much larger than its
    // client area on each side.
    int border = 0;
    Rect windowRect{0, 0, 800, 600};

    // What happened.
    bool fullScreen = false;
    int modeRestores = 0;
    int restores = 0;
    uint64_t presents = 0;
    std::vector<uint64_t> presentHashes;
    PresentRecord lastPresent;
    PaletteEntries palette{};
    int paletteSets = 0;

private:
    struct Surface {
        std::vector<uint8_t> mem;
        int width = 0;
        int height = 0;
        int depth = 0;
        int pitch = 0;
        bool locked = false;
        bool exists = false;
    };
    Surface* Find(VideoSurface s);
    void Allocate(Surface& s, int width, int height, int depth);
    void Record(const Surface& s);
    static int Pop(std::deque<int>& q);

    std::array<Surface, 4> m_surfaces;
    std::deque<int> m_lockFailures, m_flipFailures, m_bltFailures;
    bool m_failFullScreen = false;
    bool m_failSurfaces = false;
};

}  // namespace plat
