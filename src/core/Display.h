// The 800 x 600 x 8 screen and the root of the layer tree. Every frame the
// display locks its back buffer, lets its layers draw into it (row length
// 800) and presents it: full screen by flipping an 8-bit chain with a
// hardware palette, windowed by converting the frame to the desktop's format
// through a 256-entry colour table and copying it into the window.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/LayerGroup.h"
#include "platform/Video.h"

namespace plat {
class IWindow;
}

struct DisplayParams {
    plat::IWindow* window = nullptr;  // the window the display belongs to
    int width = 800;
    int height = 600;
    int modeWidth = 800;   // full-screen mode
    int modeHeight = 600;
    int bitsPerPixel = 8;
    int spareSwitch = 1;   // kept, never read
    int fullScreen = 1;    // the saved placement's flag overrides it
    int toggleLock = 1;    // refuses full-screen toggles (none are offered)
    std::string registryPath = "Software\\Brennix\\Quorvel";
};

// Window placement, right and bottom inclusive (as saved).
struct WindowPlacement {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class CDisplay : public CLayerGroup {
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;
    // Lock word values.
    static constexpr uint32_t kFree = 0;
    static constexpr uint32_t kLocked = 1;
    static constexpr uint32_t kDcOut = 65535;
    // A present or lock that keeps failing gives up after this many tries.
    static constexpr int kMaxTries = 20;
    static constexpr uint32_t kRetryPauseMs = 2;
    // Smallest window edge kept by the placement rules.
    static constexpr int kMinWindowSize = 128;

    // A display that cannot be set up says so in a message box and asks the
    // program to quit; Ok() is then false.
    explicit CDisplay(const DisplayParams& params);
    ~CDisplay() override;

    // Enters the mode and creates the surfaces: 1, or 0 on failure.
    int InitDirectDraw();
    bool Ok() const { return m_ok; }
    bool IsFullScreen() const { return m_fullScreen != 0; }
    int GetDesktopDepth() const { return m_desktopDepth; }
    uint32_t GetLockWord() const { return m_lockWord; }

    // Locks the back buffer; GetBits is then the 8-bit frame (row length
    // 800). 0 on success, or the platform's failure. While locked it returns
    // 0 at once and the earlier lock stays; while the text buffer is out it
    // fails.
    int Lock();
    // 1 when a lock was released, else 0.
    int Unlock();
    // The back buffer for the loading screen's text (GetBits while it is
    // out); null while locked or when the buffer cannot be had.
    uint8_t* GetDC();
    void ReleaseDC(uint8_t* dc);

    // Locks, lets the children draw, then presents unless presents are off
    // or the frame is a skip-draw frame (the buffer then stays locked and the
    // next frame draws over it). 0 when nothing could be drawn, or the
    // present still failed after its retries.
    int Draw() override;
    int SetPaletteEntries(const void* entries) override;
    // Lock, the children, then a present whatever the flags; the sizes and
    // the rectangle are not used (the frame always goes to the client
    // area's origin, unscaled).
    int DrawSized(int w, int h) override;
    int PresentRect(int left, int top, int right, int bottom);
    // Fills the whole back buffer with colour 0 and leaves it locked.
    int ClearBackBuffer();
    // As Draw without the children and the skip-draw flag.
    int Flip();
    void SetNeedsFlip(int flag) { m_presentEnabled = flag; }

    // Window placement in the settings store.
    int LoadWindowPos(int* fullScreen, WindowPlacement* rect);
    int SaveWindowPos(int fullScreen, const WindowPlacement* rect);
    void ApplyWindowPos(int* clientWidth, int* clientHeight);
    void UpdateWindowPlacement();
    // There is no input-method status window to move here.
    void HideImeStatusWindow(int) {}

    // Colour tables of the high-colour desktops: index 0 is always black.
    static void BuildTable15(const uint8_t* entries, std::array<uint16_t, 256>& out);
    static void BuildTable16(const uint8_t* entries, std::array<uint16_t, 256>& out);
    // Bytes blue, green, red, 0 (as a little-endian u32).
    static void BuildTable32(const uint8_t* entries, std::array<uint32_t, 256>& out);
    // Converts width x height indices (rows `srcPitch` apart) into a surface
    // of the given depth whose rows are `dstPitch` bytes apart.
    void Convert(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int depth) const;

private:
    int CreateSurfaces();
    void ReleaseSurfaces();
    int Present();
    int PresentFullScreen();
    int PresentWindowed();
    // Lock word stays as it is; 0 or the platform's result.
    int LockSurface();
    void ApplyRememberedEntries();
    void DefaultPlacement(WindowPlacement& rect);

    plat::IVideo& m_video;
    bool m_ok = false;
    int32_t m_bitsPerPixel;
    plat::VideoSurface m_back = plat::kSurfaceBack;
    std::array<uint16_t, 256> m_table15{};
    std::array<uint16_t, 256> m_table16{};
    std::array<uint32_t, 256> m_table32{};
    // The locked surface when the frame is drawn into the system buffer.
    plat::VideoLock m_convTarget;
    bool m_converting = false;
    int32_t m_fullScreen;
    std::string m_registryPath;
    int32_t m_modeChanged = 0;
    uint32_t m_lockWord = kFree;
    std::array<uint8_t, 1024> m_remembered{};
    bool m_hasRemembered = false;
    int32_t m_placementTracking = 1;
    int32_t m_modeWidth;
    int32_t m_modeHeight;
    // The 8-bit frame whenever the surface is not 8-bit or not 800 bytes a
    // row; converted or copied at present.
    std::vector<uint8_t> m_systemBuffer;
    int32_t m_desktopDepth = 8;
    int32_t m_presentEnabled = 1;
    int32_t m_toggleLock;
    int32_t m_spareSwitch;
    int32_t m_paletteInUse = 0;
    int32_t m_secondBuffer = 0;
    int32_t m_bufferSelector = 1;
};

// 1 while the display runs full screen.
extern uint32_t g_fullScreenMode;
// The locked back buffer while the display's layers draw the frame (800 x
// 600, 8 bits); null outside that pass.
extern uint8_t* g_pFrameBits;
