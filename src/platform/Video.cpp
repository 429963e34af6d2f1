#include "platform/Video.h"

namespace plat {

namespace {

// No screen at all: every surface operation fails.
class CNoVideo : public IVideo {
public:
    int DesktopDepth() override { return 32; }
    int EnterFullScreen(int, int, int) override { return kVideoFailed; }
    int EnterWindowed() override { return kVideoFailed; }
    void RestoreDisplayMode() override {}
    int CreateSurfaces(bool, int, int) override { return kVideoFailed; }
    bool HasSurface(VideoSurface) override { return false; }
    void ReleaseSurfaces() override {}
    int Lock(VideoSurface, VideoLock&) override { return kVideoFailed; }
    int Unlock(VideoSurface) override { return kVideoFailed; }
    int Restore(VideoSurface) override { return kVideoFailed; }
    int Flip() override { return kVideoFailed; }
    int Blt(VideoSurface) override { return kVideoFailed; }
    bool HasPalette() override { return false; }
    void SetPaletteEntries(const PaletteEntries&) override {}
    void GetScreenSize(int& width, int& height) override { width = 800; height = 600; }
    Rect GetWindowRect() override { return Rect{0, 0, 800, 600}; }
    Rect GetClientRect() override { return Rect{0, 0, 800, 600}; }
    void SetWindowPos(int, int, int, int) override {}
};

CNoVideo g_noVideo;
IVideo* g_video = &g_noVideo;

}  // namespace

IVideo& Video() { return *g_video; }
void SetVideo(IVideo* video) { g_video = video ? video : &g_noVideo; }

}  // namespace plat
