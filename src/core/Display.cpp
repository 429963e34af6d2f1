#include "core/Display.h"

#include <cstring>

#include "platform/Clock.h"
#include "platform/Debug.h"
#include "platform/Dialogs.h"
#include "platform/Loop.h"
#include "platform/Settings.h"

extern uint32_t g_frameNotPresented;

uint32_t g_fullScreenMode;
uint8_t* g_pFrameBits = nullptr;

namespace {

constexpr const char* kValueDefault = "default";
constexpr const char* kValueFs = "Window_Position_FS";
constexpr const char* kValueLeft = "Window_Position_LEFT";
constexpr const char* kValueTop = "Window_Position_TOP";
constexpr const char* kValueRight = "Window_Position_RIGHT";
constexpr const char* kValueBottom = "Window_Position_BOTTOM";

}  // namespace

CDisplay::CDisplay(const DisplayParams& params)
    : m_video(plat::Video()),
      m_bitsPerPixel(params.bitsPerPixel),
      m_fullScreen(params.fullScreen != 0 ? 1 : 0),
      m_registryPath(params.registryPath),
      m_modeWidth(params.modeWidth),
      m_modeHeight(params.modeHeight),
      m_toggleLock(params.toggleLock),
      m_spareSwitch(params.spareSwitch)
{
    // The game draws 8-bit indices only; the whole system uses 800 x 600.
    m_width = params.width > 0 ? params.width : kWidth;
    m_height = params.height > 0 ? params.height : kHeight;
    m_pitch = m_width * (m_bitsPerPixel / 8);
    m_systemBuffer.assign(static_cast<size_t>(m_width) * m_height, 0);
    m_ok = InitDirectDraw() != 0;
    ApplyWindowPos(nullptr, nullptr);
    if (!m_ok) {
        plat::MessageBox("Error~", "The display could not be initialised!");
        plat::Loop().PostQuitMessage(-1);
    }
}

CDisplay::~CDisplay()
{
    ReleaseSurfaces();
    if (m_modeChanged) {
        m_modeChanged = 0;
        m_video.RestoreDisplayMode();
    }
}

// ---- set-up ------------------------------------------------------------------

int CDisplay::InitDirectDraw()
{
    if (m_fullScreen) {
        const int r = m_video.EnterFullScreen(m_modeWidth, m_modeHeight, m_bitsPerPixel);
        m_modeChanged = 1;
        m_desktopDepth = m_bitsPerPixel;
        g_fullScreenMode = 1;
        if (r != plat::kVideoOk) {
            m_ok = false;
            return 0;
        }
    } else {
        m_desktopDepth = m_video.DesktopDepth();
        g_fullScreenMode = 0;
        if (m_video.EnterWindowed() != plat::kVideoOk) {
            m_ok = false;
            return 0;
        }
    }
    m_ok = CreateSurfaces() != 0;
    return m_ok ? 1 : 0;
}

int CDisplay::CreateSurfaces()
{
    ReleaseSurfaces();
    if (m_fullScreen) {
        if (m_video.CreateSurfaces(true, m_width, m_height) != plat::kVideoOk ||
            !m_video.HasSurface(plat::kSurfaceBack))
            return 0;
        m_back = plat::kSurfaceBack;
        m_secondBuffer = 0;
        m_paletteInUse = m_desktopDepth == 8 ? 1 : 0;
    } else {
        if (m_video.CreateSurfaces(false, m_width, m_height) != plat::kVideoOk ||
            !m_video.HasSurface(plat::kSurfaceOffscreen1))
            return 0;
        m_secondBuffer = m_video.HasSurface(plat::kSurfaceOffscreen2) ? 1 : 0;
        m_back = plat::kSurfaceOffscreen1;
        m_bufferSelector = 1;
        m_paletteInUse = m_video.HasPalette() ? 1 : 0;
    }
    ApplyRememberedEntries();
    return 1;
}

void CDisplay::ReleaseSurfaces()
{
    if (m_lockWord != kFree)
        m_video.Unlock(m_back);
    m_lockWord = kFree;
    m_pBits = nullptr;
    m_converting = false;
    m_video.ReleaseSurfaces();
}

// ---- locking -------------------------------------------------------------------

int CDisplay::LockSurface()
{
    for (int tries = 1;; ++tries) {
        plat::VideoLock lock;
        const int r = m_video.Lock(m_back, lock);
        if (r == plat::kVideoOk) {
            // The game draws straight into an 8-bit surface of row length 800;
            // anything else gets the system buffer, converted at present.
            if (m_bitsPerPixel == 8 && m_desktopDepth == 8 && lock.pitch == m_pitch) {
                m_pBits = lock.bits;
                m_converting = false;
            } else {
                m_pBits = m_systemBuffer.data();
                m_convTarget = lock;
                m_converting = true;
            }
            return 0;
        }
        if (tries >= kMaxTries)
            return r;
        if (r == plat::kVideoSurfaceLost) {
            int restored = m_video.Restore(plat::kSurfacePrimary);
            if (restored == plat::kVideoOk)
                restored = m_video.Restore(m_back);
            if (restored != plat::kVideoOk)
                return restored;
        } else if (r != plat::kVideoStillDrawing) {
            return r;
        }
        plat::Sleep(kRetryPauseMs);
    }
}

int CDisplay::Lock()
{
    if (m_lockWord == kLocked)
        return 0;  // locks do not nest: the earlier one stays in force
    if (m_lockWord == kDcOut)
        return plat::kVideoFailed;
    m_lockWord = kLocked;
    const int r = LockSurface();
    if (r != 0) {
        m_lockWord = kFree;
        m_pBits = nullptr;
        m_converting = false;
        plat::DebugPrintf("display: lock failed (%d)\n", r);
    }
    return r;
}

int CDisplay::Unlock()
{
    if (m_lockWord != kLocked)
        return 0;
    m_lockWord = kFree;
    m_video.Unlock(m_back);
    m_pBits = nullptr;
    return 1;
}

uint8_t* CDisplay::GetDC()
{
    if (m_lockWord != kFree)
        return nullptr;
    m_lockWord = kLocked;
    if (LockSurface() != 0) {
        m_lockWord = kFree;
        m_pBits = nullptr;
        return nullptr;
    }
    m_lockWord = kDcOut;
    return m_pBits;
}

void CDisplay::ReleaseDC(uint8_t*)
{
    if (m_lockWord != kDcOut)
        return;
    m_lockWord = kFree;
    m_video.Unlock(m_back);
    m_pBits = nullptr;
}

// ---- drawing and presenting ------------------------------------------------------

int CDisplay::Draw()
{
    if (Lock() != 0)
        return 0;
    g_pFrameBits = m_pBits;
    CLayerGroup::Draw();
    g_pFrameBits = nullptr;
    if (m_presentEnabled == 1 && g_frameNotPresented == 0)
        return Present();
    return 1;
}

int CDisplay::DrawSized(int, int)
{
    return PresentRect(0, 0, m_width, m_height);
}

int CDisplay::PresentRect(int, int, int, int)
{
    if (Lock() != 0)
        return 0;
    CLayerGroup::Draw();
    return Present();
}

int CDisplay::ClearBackBuffer()
{
    if (m_lockWord == kFree && Lock() != 0)
        return 0;
    if (m_lockWord != kLocked || !m_pBits)
        return 0;
    std::memset(m_pBits, 0, static_cast<size_t>(m_pitch) * m_height);
    return 1;
}

int CDisplay::Flip()
{
    if (Lock() != 0)
        return 0;
    if (m_presentEnabled == 1)
        return Present();
    return 1;
}

int CDisplay::Present()
{
    if (m_converting && m_lockWord == kLocked)
        Convert(m_systemBuffer.data(), m_pitch, m_convTarget.bits, m_convTarget.pitch,
                m_fullScreen ? 8 : m_desktopDepth);
    Unlock();
    const int ok = m_fullScreen ? PresentFullScreen() : PresentWindowed();
    if (!ok)
        plat::DebugOut("display: present failed\n");
    return ok;
}

int CDisplay::PresentFullScreen()
{
    for (int tries = 1;; ++tries) {
        const int r = m_video.Flip();
        if (r == plat::kVideoOk)
            return 1;
        if (r != plat::kVideoStillDrawing || tries >= kMaxTries)
            return 0;
        plat::Sleep(kRetryPauseMs);
    }
}

int CDisplay::PresentWindowed()
{
    for (int tries = 1;; ++tries) {
        const int r = m_video.Blt(m_back);
        if (r == plat::kVideoOk)
            break;
        if (tries >= kMaxTries)
            return 0;
        if (r == plat::kVideoSurfaceLost) {
            m_video.Restore(m_back);
            m_video.Restore(plat::kSurfacePrimary);
        }
        plat::Sleep(kRetryPauseMs);
    }
    if (m_secondBuffer) {
        m_back = m_bufferSelector == 1 ? plat::kSurfaceOffscreen2 : plat::kSurfaceOffscreen1;
        m_bufferSelector = m_bufferSelector ? 0 : 1;
    }
    return 1;
}

// ---- palette and conversion ----------------------------------------------------------

void CDisplay::BuildTable15(const uint8_t* e, std::array<uint16_t, 256>& out)
{
    for (int i = 0; i < 256; ++i)
        out[i] = static_cast<uint16_t>((e[i * 4] >> 3) << 10 | (e[i * 4 + 1] >> 3) << 5 | e[i * 4 + 2] >> 3);
    out[0] = 0;
}

void CDisplay::BuildTable16(const uint8_t* e, std::array<uint16_t, 256>& out)
{
    for (int i = 0; i < 256; ++i)
        out[i] = static_cast<uint16_t>((e[i * 4] >> 3) << 11 | (e[i * 4 + 1] >> 2) << 5 | e[i * 4 + 2] >> 3);
    out[0] = 0;
}

void CDisplay::BuildTable32(const uint8_t* e, std::array<uint32_t, 256>& out)
{
    for (int i = 0; i < 256; ++i)
        out[i] = static_cast<uint32_t>(e[i * 4 + 2]) | static_cast<uint32_t>(e[i * 4 + 1]) << 8 |
                 static_cast<uint32_t>(e[i * 4]) << 16;
    out[0] = 0;
}

int CDisplay::SetPaletteEntries(const void* entries)
{
    if (!entries)
        return 0;
    // Our own copy: callers hand over temporary arrays.
    std::array<uint8_t, 1024> copy;
    std::memcpy(copy.data(), entries, copy.size());
    m_remembered = copy;
    m_hasRemembered = true;
    if (m_paletteInUse) {
        m_video.SetPaletteEntries(copy);
        return 1;
    }
    switch (m_desktopDepth) {
    case 15: BuildTable15(copy.data(), m_table15); break;
    case 16: BuildTable16(copy.data(), m_table16); break;
    case 24:
    case 32: BuildTable32(copy.data(), m_table32); break;
    default: break;
    }
    return 1;
}

void CDisplay::ApplyRememberedEntries()
{
    if (m_hasRemembered) {
        const std::array<uint8_t, 1024> copy = m_remembered;
        SetPaletteEntries(copy.data());
    }
}

void CDisplay::Convert(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int depth) const
{
    if (!src || !dst)
        return;
    const size_t w = static_cast<size_t>(m_width);
    for (int y = 0; y < m_height; ++y, src += srcPitch, dst += dstPitch) {
        switch (depth) {
        case 8:
            std::memcpy(dst, src, w);
            break;
        case 15:
        case 16: {
            const std::array<uint16_t, 256>& t = depth == 15 ? m_table15 : m_table16;
            for (size_t x = 0; x < w; ++x) {
                const uint16_t v = t[src[x]];
                std::memcpy(dst + 2 * x, &v, 2);
            }
            break;
        }
        case 24:
            for (size_t x = 0; x < w; ++x) {
                const uint32_t v = m_table32[src[x]];
                dst[3 * x] = static_cast<uint8_t>(v);
                dst[3 * x + 1] = static_cast<uint8_t>(v >> 8);
                dst[3 * x + 2] = static_cast<uint8_t>(v >> 16);
            }
            break;
        default:
            for (size_t x = 0; x < w; ++x) {
                const uint32_t v = m_table32[src[x]];
                std::memcpy(dst + 4 * x, &v, 4);
            }
            break;
        }
    }
}

// ---- window placement ----------------------------------------------------------------

void CDisplay::DefaultPlacement(WindowPlacement& rect)
{
    const plat::Rect window = m_video.GetWindowRect();
    const plat::Rect client = m_video.GetClientRect();
    const int frameW = (window.right - window.left) - (client.right - client.left);
    const int frameH = (window.bottom - window.top) - (client.bottom - client.top);
    int screenW = 0, screenH = 0;
    m_video.GetScreenSize(screenW, screenH);
    rect.left = (screenW - (m_width + frameW)) / 2;
    rect.top = (screenH - (m_height + frameH)) / 2;
    rect.right = rect.left + m_width + frameW - 1;
    rect.bottom = rect.top + m_height + frameH - 1;
}

int CDisplay::SaveWindowPos(int fullScreen, const WindowPlacement* rect)
{
    // One write of the store, and none when nothing moved: a drag saves on
    // every move.
    plat::ISettings& s = plat::Settings();
    plat::CSettingsUpdate update(s);
    s.CreateKey(m_registryPath);
    s.SetDword(m_registryPath, kValueDefault, static_cast<uint32_t>(fullScreen));
    s.SetDword(m_registryPath, kValueFs, static_cast<uint32_t>(fullScreen));
    if (rect) {
        s.SetDword(m_registryPath, kValueLeft, static_cast<uint32_t>(rect->left));
        s.SetDword(m_registryPath, kValueTop, static_cast<uint32_t>(rect->top));
        s.SetDword(m_registryPath, kValueRight, static_cast<uint32_t>(rect->right));
        s.SetDword(m_registryPath, kValueBottom, static_cast<uint32_t>(rect->bottom));
    }
    return 1;
}

int CDisplay::LoadWindowPos(int* fullScreen, WindowPlacement* rect)
{
    plat::ISettings& s = plat::Settings();
    WindowPlacement r;
    int fs = m_fullScreen;
    bool useDefault = !s.KeyExists(m_registryPath);
    if (!useDefault) {
        auto left = s.GetDword(m_registryPath, kValueLeft);
        auto top = s.GetDword(m_registryPath, kValueTop);
        auto right = s.GetDword(m_registryPath, kValueRight);
        auto bottom = s.GetDword(m_registryPath, kValueBottom);
        auto flag = s.GetDword(m_registryPath, kValueFs);
        // A value missing from the key counts as a missing key.
        useDefault = !(left && top && right && bottom && flag);
        if (!useDefault) {
            r = WindowPlacement{static_cast<int32_t>(*left), static_cast<int32_t>(*top),
                                static_cast<int32_t>(*right), static_cast<int32_t>(*bottom)};
            fs = *flag != 0 ? 1 : 0;
            // Edges that give no window at all (right before left, or a size
            // or exclusive edge beyond the int range) count as a missing
            // value too.
            const int64_t w = int64_t{r.right} - r.left + 1;
            const int64_t h = int64_t{r.bottom} - r.top + 1;
            if (w < 1 || h < 1 || w > INT32_MAX || h > INT32_MAX || r.right == INT32_MAX ||
                r.bottom == INT32_MAX) {
                useDefault = true;
            } else if (!m_fullScreen || fs == 0) {
                // Checked while windowed, and also when the saved flag is about
                // to make the display windowed: a window saved off the screen
                // (another monitor, a smaller desktop) would otherwise open
                // where the player cannot see it, every time.
                int screenW = 0, screenH = 0;
                m_video.GetScreenSize(screenW, screenH);
                if (int64_t{r.right} - r.left < kMinWindowSize || int64_t{r.bottom} - r.top < kMinWindowSize ||
                    r.left > screenW - kMinWindowSize || r.top > screenH - kMinWindowSize)
                    useDefault = true;
            }
        }
    }
    if (useDefault) {
        DefaultPlacement(r);
        fs = m_fullScreen;
        SaveWindowPos(fs, &r);
    }
    if (fullScreen)
        *fullScreen = fs;
    if (rect)
        *rect = r;
    return 1;
}

void CDisplay::ApplyWindowPos(int* clientWidth, int* clientHeight)
{
    int fs = m_fullScreen;
    WindowPlacement r;
    LoadWindowPos(&fs, &r);
    if (fs != m_fullScreen) {
        m_fullScreen = fs;
        ReleaseSurfaces();
        if (m_modeChanged) {
            m_modeChanged = 0;
            m_video.RestoreDisplayMode();
        }
        InitDirectDraw();
    }
    if (!m_fullScreen) {
        m_placementTracking = 0;
        m_video.SetWindowPos(r.left, r.top, r.right - r.left + 1, r.bottom - r.top + 1);
        m_placementTracking = 1;
    }
    if (clientWidth && clientHeight) {
        const plat::Rect c = m_video.GetClientRect();
        *clientWidth = c.right - c.left;
        *clientHeight = c.bottom - c.top;
    }
    ApplyRememberedEntries();
}

void CDisplay::UpdateWindowPlacement()
{
    if (m_placementTracking != 1 || m_fullScreen)
        return;
    m_placementTracking = 0;
    const plat::Rect w = m_video.GetWindowRect();
    WindowPlacement r{w.left, w.top, w.right - 1, w.bottom - 1};
    bool move = false;
    if (r.right - r.left < kMinWindowSize) {
        r.right = r.left + kMinWindowSize;
        if (r.bottom - r.top < kMinWindowSize)
            r.bottom = r.top + kMinWindowSize;
        move = true;
    } else if (r.bottom - r.top < kMinWindowSize) {
        r.bottom = r.top + kMinWindowSize;
        move = true;
    }
    if (move)
        m_video.SetWindowPos(r.left, r.top, r.right - r.left + 1, r.bottom - r.top + 1);
    SaveWindowPos(m_fullScreen, &r);
    m_placementTracking = 1;
}
