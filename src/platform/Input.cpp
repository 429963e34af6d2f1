#include "platform/Input.h"

#include <cstdlib>

#include "platform/Debug.h"
#include "platform/Dialogs.h"
#include "platform/FormDialog.h"

namespace plat {

namespace {

// US layout for set-1 codes 0..57: unshifted, then shifted.
constexpr char kPlain[58] = {
    0,   27,  '1', '2', '3', '4', '5', '6', '7', '8', '9', '0', '-', '=', 8,   9,
    'q', 'w', 'e', 'r', 't', 'y', 'u', 'i', 'o', 'p', '[', ']', 13,  0,   'a', 's',
    'd', 'f', 'g', 'h', 'j', 'k', 'l', ';', '\'', '`', 0,  '\\', 'z', 'x', 'c', 'v',
    'b', 'n', 'm', ',', '.', '/', 0,   '*', 0,   ' '};
constexpr char kShifted[58] = {
    0,   27,  '!', '@', '#', '$', '%', '^', '&', '*', '(', ')', '_', '+', 8,   9,
    'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P', '{', '}', 13,  0,   'A', 'S',
    'D', 'F', 'G', 'H', 'J', 'K', 'L', ':', '"', '~', 0,   '|', 'Z', 'X', 'C', 'V',
    'B', 'N', 'M', '<', '>', '?', 0,   '*', 0,   ' '};

bool IsLetter(char c) { return c >= 'a' && c <= 'z'; }

}  // namespace

uint32_t CInputRouter::CharForKey(uint8_t scan, bool extended, bool shift, bool caps, bool ctrl,
                                  bool numLock)
{
    if (extended) {
        if (scan == 28)
            return 13;  // keypad Enter
        if (scan == 53)
            return shift ? 0 : '/';  // keypad slash
        return 0;
    }
    if (scan == 74)
        return '-';  // keypad minus
    if (scan == 78)
        return '+';  // keypad plus
    if (scan >= 71 && scan <= 83) {
        // The keypad gives digits while Num Lock is on and Shift is up.
        static constexpr char kPad[13] = {'7', '8', '9', 0, '4', '5', '6', 0, '1', '2', '3', '0', '.'};
        if (ctrl || !numLock || shift)
            return 0;
        return static_cast<uint32_t>(static_cast<unsigned char>(kPad[scan - 71]));
    }
    if (scan >= sizeof kPlain)
        return 0;
    char plain = kPlain[scan];
    if (plain == 0)
        return 0;
    if (ctrl) {
        // Ctrl+letter gives the control character, as Windows delivers it;
        // Ctrl with other printable keys gives none.
        if (IsLetter(plain))
            return static_cast<uint32_t>(plain - 'a' + 1);
        if (plain == 8 || plain == 9 || plain == 13 || plain == 27)
            return static_cast<uint32_t>(plain);
        return 0;
    }
    bool upper = shift;
    if (IsLetter(plain) && caps)
        upper = !upper;
    char c = IsLetter(plain) ? (upper ? kShifted[scan] : plain) : (shift ? kShifted[scan] : plain);
    return static_cast<uint32_t>(static_cast<unsigned char>(c));
}

uint32_t CInputRouter::VirtualKeyForScan(uint8_t scan, bool extended)
{
    if (!extended && scan < sizeof kPlain) {
        char c = kPlain[scan];
        if (IsLetter(c))
            return static_cast<uint32_t>(c - 'a' + 'A');
        if (c >= '0' && c <= '9')
            return static_cast<uint32_t>(c);
    }
    switch (scan) {
    case 1: return 0x1B;   // VK_ESCAPE
    case 14: return 0x08;  // VK_BACK
    case 15: return 0x09;  // VK_TAB
    case 28: return 0x0D;  // VK_RETURN
    case 29: return kVkControl;
    case 42: case 54: return kVkShift;
    case 56: return kVkMenu;
    case 57: return 0x20;  // VK_SPACE
    case 71: return extended ? 0x24 : 0x67;  // VK_HOME / VK_NUMPAD7
    case 72: return extended ? 0x26 : 0x68;  // VK_UP
    case 73: return extended ? 0x21 : 0x69;  // VK_PRIOR
    case 75: return extended ? 0x25 : 0x64;  // VK_LEFT
    case 77: return extended ? 0x27 : 0x66;  // VK_RIGHT
    case 79: return extended ? 0x23 : 0x61;  // VK_END
    case 80: return extended ? 0x28 : 0x62;  // VK_DOWN
    case 81: return extended ? 0x22 : 0x63;  // VK_NEXT
    case 82: return extended ? 0x2D : 0x60;  // VK_INSERT
    case 83: return extended ? 0x2E : 0x6E;  // VK_DELETE
    default: break;
    }
    if (scan >= 59 && scan <= 68)
        return 0x70u + (scan - 59u);  // F1..F10
    if (scan == 87 || scan == 88)
        return 0x7Au + (scan - 87u);  // F11, F12
    return 0;
}

bool CInputRouter::AsyncKeyDown(int vk) const
{
    switch (vk) {
    case kVkControl: return ScanDown(kScanCtrl) || ScanDown(kScanCtrl, true);
    case kVkMenu: return ScanDown(kScanAlt) || ScanDown(kScanAlt, true);
    case kVkShift: return ScanDown(kScanLShift) || ScanDown(kScanRShift);
    default: return false;
    }
}

void CInputRouter::Reset()
{
    m_down.fill(false);
    m_capsLock = false;
    m_numLock = true;
    m_spaceToggles = false;
    m_closeRequests = 0;
    m_ownWindowsSeen = false;
    m_ownWindowsMs = 0;
    m_lastButton = 0;
    m_lastDownMs = 0;
    m_lastWasDouble = false;
}

void CInputRouter::NoteOwnWindows(uint32_t nowMs)
{
    if (ModalDepth() > 0 || FormsOpen() > 0) {
        m_ownWindowsSeen = true;
        m_ownWindowsMs = nowMs;
    }
}

void CInputRouter::Route(const RawEvent& e, uint32_t nowMs, IWindowHandler* view, IWindowHandler* frame)
{
    switch (e.kind) {
    case RawKind::KeyDown:
    case RawKind::KeyUp:
        RouteKey(e, view);
        break;
    case RawKind::MouseMove:
        if (view)
            view->OnMouseMove(0, e.x, e.y);
        break;
    case RawKind::ButtonDown:
    case RawKind::ButtonUp:
        RouteButton(e, nowMs, view);
        break;
    case RawKind::FocusGained:
        if (frame)
            frame->OnActivateApp(true);
        break;
    case RawKind::FocusLost:
        // Our own modal boxes and forms take the focus on X11 and Wayland;
        // on Windows a window of the same thread does not deactivate the
        // application.
        if (ModalDepth() > 0 || FormsOpen() > 0 ||
            (m_ownWindowsSeen && nowMs - m_ownWindowsMs < kOwnWindowFocusGraceMs))
            break;
        // A key held while the focus goes is never released to us.
        m_down.fill(false);
        m_spaceToggles = false;
        if (frame)
            frame->OnActivateApp(false);
        break;
    case RawKind::CloseRequest:
        ++m_closeRequests;
        DebugOut("SC_CLOSE ignored\n");
        break;
    case RawKind::WindowMoved:
        if (frame)
            frame->OnWindowMoved();
        break;
    }
}

void CInputRouter::RouteKey(const RawEvent& e, IWindowHandler* view)
{
    const size_t idx = Index(e.scan, e.extended);
    const bool down = e.kind == RawKind::KeyDown;
    const bool wasDown = m_down[idx];
    const bool lockKey = !e.extended && (e.scan == kScanCapsLock || e.scan == kScanNumLock);
    if (lockKey) {
        if (down && !e.repeat && !wasDown) {
            if (e.scan == kScanCapsLock)
                m_capsLock = !m_capsLock;
            else
                m_numLock = !m_numLock;
        }
    } else if (e.locks >= 0) {
        m_capsLock = (e.locks & 1) != 0;
        m_numLock = (e.locks & 2) != 0;
    }

    // The Hangul key, and Shift+Space for keyboards without one, switch the
    // input mode as the input method's notification did; no key message.
    const bool toggleChord = !e.extended && e.scan == kScanSpace &&
                             (down ? AsyncKeyDown(kVkShift) && !AsyncKeyDown(kVkControl) &&
                                         !AsyncKeyDown(kVkMenu) && (!wasDown || m_spaceToggles)
                                   : m_spaceToggles);
    if ((!e.extended && e.scan == kScanHangul) || toggleChord) {
        const bool first = down && !wasDown && !e.repeat;
        if (e.scan == kScanSpace) {
            m_down[idx] = down;
            m_spaceToggles = down;  // its release is swallowed too
        }
        if (first && view)
            view->OnImeNotify(kImnSetConversionMode);
        return;
    }

    const bool ctrl = AsyncKeyDown(kVkControl);
    const bool shift = AsyncKeyDown(kVkShift);
    // Alt is judged before this event changes the table, except for Alt itself.
    const bool altHeld = AsyncKeyDown(kVkMenu);
    m_down[idx] = down;

    const bool isAlt = e.scan == kScanAlt;
    // WM_SYSKEYDOWN / WM_SYSKEYUP: Alt held (or Alt itself, or F10) without
    // Ctrl. The view does not handle them; only the accelerators get through.
    const bool sys = !ctrl && (altHeld || isAlt || (e.scan == kScanF10 && !e.extended));
    if (sys) {
        if (down && altHeld && !shift && !e.extended) {
            static constexpr uint8_t kAccelScans[5] = {30, 32, 23, 19, 31};  // A D I R S
            for (uint32_t i = 0; i < 5; ++i) {
                if (e.scan == kAccelScans[i]) {
                    if (view)
                        view->OnCommand(kAccelAltA + i);
                    break;
                }
            }
        }
        return;
    }
    if (!view)
        return;
    const uint32_t vk = VirtualKeyForScan(e.scan, e.extended);
    uint32_t flags = e.scan | (e.extended ? 0x100u : 0u);
    if (down) {
        if (wasDown || e.repeat)
            flags |= 0x4000u;
        view->OnKeyDown(vk, 1, flags);
        uint32_t ch = CharForKey(e.scan, e.extended, shift, m_capsLock, ctrl, m_numLock);
        if (ch != 0)
            view->OnChar(ch, 1, flags);
    } else {
        flags |= 0xC000u;
        view->OnKeyUp(vk, 1, flags);
    }
}

void CInputRouter::RouteButton(const RawEvent& e, uint32_t nowMs, IWindowHandler* view)
{
    if (e.button != 1 && e.button != 2)
        return;
    const bool left = e.button == 1;
    if (e.kind == RawKind::ButtonUp) {
        if (view) {
            if (left)
                view->OnLButtonUp(0, e.x, e.y);
            else
                view->OnRButtonUp(0, e.x, e.y);
        }
        return;
    }
    const bool dbl = !m_lastWasDouble && m_lastButton == e.button &&
                     nowMs - m_lastDownMs < kDoubleClickMs &&
                     std::abs(e.x - m_lastX) <= kDoubleClickHalf &&
                     std::abs(e.y - m_lastY) <= kDoubleClickHalf;
    m_lastButton = e.button;
    m_lastDownMs = nowMs;
    m_lastX = e.x;
    m_lastY = e.y;
    m_lastWasDouble = dbl;
    if (!view)
        return;
    if (dbl) {
        if (left)
            view->OnLButtonDblClk(0, e.x, e.y);
        else
            view->OnRButtonDblClk(0, e.x, e.y);
    } else if (left) {
        view->OnLButtonDown(0, e.x, e.y);
    } else {
        view->OnRButtonDown(0, e.x, e.y);
    }
}

}  // namespace plat
