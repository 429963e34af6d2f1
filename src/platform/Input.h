// Keyboard and mouse input as the game's window receives it: key messages
// carrying PC set-1 scan codes, synthesised characters, the seven mouse
// messages with double clicks, the Alt accelerators and activation changes.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace plat {

// What a backend (or a test) feeds in.
enum class RawKind : uint8_t {
    KeyDown,       // scan (set 1), extended, repeat
    KeyUp,         // scan, extended
    MouseMove,     // x, y in the 800 x 600 logical space
    ButtonDown,    // button 1 left, 2 right; x, y
    ButtonUp,
    FocusGained,
    FocusLost,
    CloseRequest,  // the desktop asked the window to close (ignored)
    WindowMoved,   // the window was moved or resized
};

struct RawEvent {
    RawKind kind = RawKind::MouseMove;
    uint8_t scan = 0;
    bool extended = false;
    bool repeat = false;
    // Lock-key state after a key event as the desktop reports it: bit 0
    // Caps Lock, bit 1 Num Lock; -1 when unknown (the router keeps count).
    int8_t locks = -1;
    int button = 0;
    int x = 0;
    int y = 0;
};

// Message numbers the game's own logic is written in terms of.
constexpr uint32_t kWmClose = 0x0010;
constexpr uint32_t kWmTimer = 0x0113;
constexpr uint32_t kMmMciNotify = 0x03B9;
constexpr uint32_t kMciNotifySuccessful = 1;
constexpr uint32_t kAccelAltA = 32771;  // then D, I, R, S
constexpr uint32_t kAccelAltS = 32775;
// WM_IME_NOTIFY's command when the input mode changes.
constexpr uint32_t kImnSetConversionMode = 6;

// Virtual-key codes asked of AsyncKeyDown.
constexpr int kVkShift = 16;
constexpr int kVkControl = 17;
constexpr int kVkMenu = 18;

// Set-1 scan codes that the routing itself needs.
constexpr uint8_t kScanCtrl = 29;
constexpr uint8_t kScanLShift = 42;
constexpr uint8_t kScanRShift = 54;
constexpr uint8_t kScanAlt = 56;
constexpr uint8_t kScanSpace = 57;
constexpr uint8_t kScanCapsLock = 58;
constexpr uint8_t kScanF10 = 68;
constexpr uint8_t kScanNumLock = 69;
// The Korean keyboard's Hangul key (it sends a make code only).
constexpr uint8_t kScanHangul = 0x72;

// The window handlers, named after the messages. nFlags of the key messages
// is the high word of the key message: bits 0-7 the scan code, bit 8 the
// extended bit, bit 14 the previous key state, bit 15 the transition.
class IWindowHandler {
public:
    virtual ~IWindowHandler() = default;
    virtual void OnKeyDown(uint32_t /*nChar*/, uint32_t /*nRepCnt*/, uint32_t /*nFlags*/) {}
    virtual void OnKeyUp(uint32_t /*nChar*/, uint32_t /*nRepCnt*/, uint32_t /*nFlags*/) {}
    virtual void OnChar(uint32_t /*nChar*/, uint32_t /*nRepCnt*/, uint32_t /*nFlags*/) {}
    virtual void OnLButtonDown(uint32_t /*nFlags*/, int /*x*/, int /*y*/) {}
    virtual void OnLButtonUp(uint32_t /*nFlags*/, int /*x*/, int /*y*/) {}
    virtual void OnLButtonDblClk(uint32_t /*nFlags*/, int /*x*/, int /*y*/) {}
    virtual void OnRButtonDown(uint32_t /*nFlags*/, int /*x*/, int /*y*/) {}
    virtual void OnRButtonUp(uint32_t /*nFlags*/, int /*x*/, int /*y*/) {}
    virtual void OnRButtonDblClk(uint32_t /*nFlags*/, int /*x*/, int /*y*/) {}
    virtual void OnMouseMove(uint32_t /*nFlags*/, int /*x*/, int /*y*/) {}
    // WM_COMMAND from the accelerator table (Alt+A, D, I, R, S).
    virtual void OnCommand(uint32_t /*id*/) {}
    // WM_ACTIVATEAPP.
    virtual void OnActivateApp(bool /*active*/) {}
    // WM_MOVE / WM_SIZE of the frame.
    virtual void OnWindowMoved() {}
    // WM_IME_NOTIFY: the Hangul key (or Shift+Space on keyboards without
    // one) arrives as kImnSetConversionMode and never as a key message.
    virtual void OnImeNotify(uint32_t /*command*/) {}
};

// Turns raw events into window messages the way Windows does.
class CInputRouter {
public:
    // A second press of the same button sooner than this, within the 4 x 4
    // rectangle around the first, is a double click.
    static constexpr uint32_t kDoubleClickMs = 500;
    static constexpr int kDoubleClickHalf = 2;

    // A focus loss this soon after one of our own boxes or forms was last
    // up is theirs: X11 reports focus changes late, after the form that took
    // the focus may have closed.
    static constexpr uint32_t kOwnWindowFocusGraceMs = 500;

    // Key events go to the view, activation to the frame.
    void Route(const RawEvent& e, uint32_t nowMs, IWindowHandler* view, IWindowHandler* frame);
    // On every pass of the loop, before its input is routed: notes whether
    // a box or form of ours is up.
    void NoteOwnWindows(uint32_t nowMs);

    // The physical state right now (GetAsyncKeyState's high bit): either
    // Ctrl for kVkControl, either Alt for kVkMenu, either Shift for kVkShift.
    bool AsyncKeyDown(int vk) const;
    bool ScanDown(uint8_t scan, bool extended = false) const { return m_down[Index(scan, extended)]; }

    void Reset();
    int CloseRequests() const { return m_closeRequests; }

    // The character WM_CHAR would carry for a key, or 0.
    static uint32_t CharForKey(uint8_t scan, bool extended, bool shift, bool caps, bool ctrl,
                               bool numLock = true);
    // A virtual-key code for the key message's nChar (0 where none matters).
    static uint32_t VirtualKeyForScan(uint8_t scan, bool extended);

private:
    static size_t Index(uint8_t scan, bool extended) { return scan | (extended ? 256u : 0u); }
    void RouteKey(const RawEvent& e, IWindowHandler* view);
    void RouteButton(const RawEvent& e, uint32_t nowMs, IWindowHandler* view);

    std::array<bool, 512> m_down{};
    bool m_capsLock = false;
    bool m_numLock = true;
    bool m_spaceToggles = false;  // Space went down as the Hangul chord
    int m_closeRequests = 0;
    // When a box or form of ours was last seen up.
    bool m_ownWindowsSeen = false;
    uint32_t m_ownWindowsMs = 0;
    // double-click tracking
    int m_lastButton = 0;
    uint32_t m_lastDownMs = 0;
    int m_lastX = 0;
    int m_lastY = 0;
    bool m_lastWasDouble = false;
};

}  // namespace plat
