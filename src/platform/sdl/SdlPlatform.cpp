#include "platform/sdl/SdlPlatform.h"

#include <SDL.h>
#include <poll.h>

#include "platform/Music.h"
#include "platform/Platform.h"
#include "platform/Sound.h"
#include "platform/TextCodec.h"
#include "platform/Video.h"

namespace plat {

// ---- window --------------------------------------------------------------

void CSdlWindow::SetTitle(const std::string& titleCp949)
{
    if (m_window)
        SDL_SetWindowTitle(m_window, Cp949ToUtf8(titleCp949).c_str());
}

bool CSdlWindow::Create(const std::string& titleCp949, int width, int height)
{
    if (m_window)
        return true;
    m_window = SDL_CreateWindow(Cp949ToUtf8(titleCp949).c_str(), SDL_WINDOWPOS_CENTERED,
                                SDL_WINDOWPOS_CENTERED, width, height,
                                SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
    return m_window != nullptr;
}

void CSdlWindow::Show()
{
    if (m_window) {
        SDL_ShowWindow(m_window);
        SDL_RaiseWindow(m_window);
    }
}

void CSdlWindow::Destroy()
{
    if (m_video)
        m_video->Close();
    if (m_window) {
        SDL_DestroyWindow(m_window);
        m_window = nullptr;
    }
}

int CSdlWindow::ShowCursor(bool show)
{
    m_cursorCount += show ? 1 : -1;
    SDL_ShowCursor(m_cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return m_cursorCount;
}

void CSdlWindow::ClipCursor(const Rect* r)
{
    m_hasClip = r != nullptr;
    if (r)
        m_clip = *r;
    if (!m_window)
        return;
    if (r) {
        // Full screen: the game's screen is the scaled 800 x 600 picture.
        Rect w;
        if (m_video && m_video->LogicalToWindow(*r, w)) {
            SDL_Rect sr{w.left, w.top, w.right - w.left, w.bottom - w.top};
            SDL_SetWindowMouseRect(m_window, &sr);
            return;
        }
        int wx = 0, wy = 0;
        SDL_GetWindowPosition(m_window, &wx, &wy);
        SDL_Rect sr{r->left - wx, r->top - wy, r->right - r->left, r->bottom - r->top};
        SDL_SetWindowMouseRect(m_window, &sr);
    } else {
        SDL_SetWindowMouseRect(m_window, nullptr);
    }
}

Rect CSdlWindow::GetClipCursor()
{
    if (m_hasClip)
        return m_clip;
    int w = 0, h = 0;
    GetDesktopSize(w, h);
    return Rect{0, 0, w, h};
}

void CSdlWindow::DisableScreenSaver() { SDL_DisableScreenSaver(); }

void CSdlWindow::GetDesktopSize(int& width, int& height)
{
    SDL_DisplayMode mode;
    int display = m_window ? SDL_GetWindowDisplayIndex(m_window) : 0;
    if (SDL_GetDesktopDisplayMode(display < 0 ? 0 : display, &mode) == 0) {
        width = mode.w;
        height = mode.h;
    } else {
        width = 800;
        height = 600;
    }
}

// ---- dialogs -------------------------------------------------------------

namespace {
uint32_t g_lastBoxClosed;
// Focus loss reported this soon after one of our boxes closed belongs to
// the box (X11 delivers focus changes asynchronously).
constexpr uint32_t kBoxFocusGraceMs = 250;
}  // namespace

uint32_t CSdlDialogs::LastClosedTicks() { return g_lastBoxClosed; }

void CSdlDialogs::AfterBox()
{
    // The box showed the system cursor; the game draws its own again.
    SDL_ShowCursor(!m_window || m_window->CursorCount() >= 0 ? SDL_ENABLE : SDL_DISABLE);
    SDL_PumpEvents();
    SDL_FlushEvent(SDL_KEYDOWN);
    SDL_FlushEvents(SDL_TEXTEDITING, SDL_TEXTINPUT);
    SDL_FlushEvent(SDL_MOUSEMOTION);
    SDL_FlushEvent(SDL_MOUSEBUTTONDOWN);
    SDL_FlushEvent(SDL_MOUSEWHEEL);
    SDL_Event kept[64];
    int n = SDL_PeepEvents(kept, 64, SDL_GETEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT);
    for (int i = 0; i < n; ++i) {
        const uint8_t what = kept[i].window.event;
        if (what != SDL_WINDOWEVENT_FOCUS_LOST && what != SDL_WINDOWEVENT_FOCUS_GAINED)
            SDL_PushEvent(&kept[i]);
    }
    g_lastBoxClosed = SDL_GetTicks();
    if (g_lastBoxClosed == 0)
        g_lastBoxClosed = 1;
}

void CSdlDialogs::ShowMessage(const std::string& caption, const std::string& text)
{
    // The terminal always gets the text too: a box may not be visible.
    m_fallback.ShowMessage(caption, text);
    SDL_MessageBoxButtonData button{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 0, "OK"};
    std::string c = Cp949ToUtf8(caption), t = Cp949ToUtf8(text);
    SDL_MessageBoxData data{SDL_MESSAGEBOX_INFORMATION, m_window ? m_window->Handle() : nullptr,
                            c.c_str(), t.c_str(), 1, &button, nullptr};
    int hit = 0;
    SDL_ShowCursor(SDL_ENABLE);
    SDL_ShowMessageBox(&data, &hit);
    AfterBox();
}

bool CSdlDialogs::AskYesNo(const std::string& caption, const std::string& text,
                           const std::string& yes, const std::string& no)
{
    std::string c = Cp949ToUtf8(caption), t = Cp949ToUtf8(text);
    std::string y = Cp949ToUtf8(yes), n = Cp949ToUtf8(no);
    SDL_MessageBoxButtonData buttons[2] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, y.c_str()},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, n.c_str()},
    };
    SDL_MessageBoxData data{SDL_MESSAGEBOX_INFORMATION, m_window ? m_window->Handle() : nullptr,
                            c.c_str(), t.c_str(), 2, buttons, nullptr};
    int hit = -1;
    SDL_ShowCursor(SDL_ENABLE);
    const int r = SDL_ShowMessageBox(&data, &hit);
    AfterBox();
    if (r != 0)
        return m_fallback.AskYesNo(caption, text, yes, no);
    return hit == 1;
}

// ---- platform ------------------------------------------------------------

CSdlPlatform::CSdlPlatform()
    : m_settings(CFileSettings::DefaultPath()), m_dialogs(&window)
{
    window.SetVideo(&video);
}

CSdlPlatform::~CSdlPlatform()
{
    window.Destroy();
    UninstallServices();
    m_music.Shutdown();
    m_sound.Shutdown();
    m_audio.Close();
    if (m_sdlUp)
        SDL_Quit();
}

bool CSdlPlatform::Init(std::string& error)
{
    // SIGINT and SIGTERM keep their default action: the window's close
    // request is ignored by the game, a signal is not.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_IME_SHOW_UI, "0");
    // A click that gives the game's window the focus back from a writing
    // form is a click on the game too, as on the desktop the game came from.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        error = SDL_GetError();
        return false;
    }
    m_sdlUp = true;
    SDL_StopTextInput();
    SetClock(&m_clock);
    SetSettings(&m_settings);
    SetDialogs(&m_dialogs);
    SetWindow(&window);
    SetVideo(&video);
    SetSoundDevice(&m_sound);
    SetMusicDevice(&m_music);
    Loop().SetBackend(this);
    return true;
}

bool CSdlPlatform::MapScancode(int sc, uint8_t& scan, bool& extended)
{
    extended = false;
    static constexpr uint8_t kLetters[26] = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                             49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};
    if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) {
        scan = kLetters[sc - SDL_SCANCODE_A];
        return true;
    }
    if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_0) {
        scan = static_cast<uint8_t>(2 + (sc - SDL_SCANCODE_1));
        return true;
    }
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F10) {
        scan = static_cast<uint8_t>(59 + (sc - SDL_SCANCODE_F1));
        return true;
    }
    struct Entry { int sdl; uint8_t scan; bool ext; };
    static constexpr Entry kTable[] = {
        {SDL_SCANCODE_RETURN, 28, false}, {SDL_SCANCODE_ESCAPE, 1, false},
        {SDL_SCANCODE_BACKSPACE, 14, false}, {SDL_SCANCODE_TAB, 15, false},
        {SDL_SCANCODE_SPACE, 57, false}, {SDL_SCANCODE_MINUS, 12, false},
        {SDL_SCANCODE_EQUALS, 13, false}, {SDL_SCANCODE_LEFTBRACKET, 26, false},
        {SDL_SCANCODE_RIGHTBRACKET, 27, false}, {SDL_SCANCODE_BACKSLASH, 43, false},
        {SDL_SCANCODE_NONUSHASH, 43, false}, {SDL_SCANCODE_SEMICOLON, 39, false},
        {SDL_SCANCODE_APOSTROPHE, 40, false}, {SDL_SCANCODE_GRAVE, 41, false},
        {SDL_SCANCODE_COMMA, 51, false}, {SDL_SCANCODE_PERIOD, 52, false},
        {SDL_SCANCODE_SLASH, 53, false}, {SDL_SCANCODE_CAPSLOCK, 58, false},
        {SDL_SCANCODE_F11, 87, false}, {SDL_SCANCODE_F12, 88, false},
        {SDL_SCANCODE_PRINTSCREEN, 55, true}, {SDL_SCANCODE_SCROLLLOCK, 70, false},
        {SDL_SCANCODE_PAUSE, 69, false}, {SDL_SCANCODE_INSERT, 82, true},
        {SDL_SCANCODE_HOME, 71, true}, {SDL_SCANCODE_PAGEUP, 73, true},
        {SDL_SCANCODE_DELETE, 83, true}, {SDL_SCANCODE_END, 79, true},
        {SDL_SCANCODE_PAGEDOWN, 81, true}, {SDL_SCANCODE_RIGHT, 77, true},
        {SDL_SCANCODE_LEFT, 75, true}, {SDL_SCANCODE_DOWN, 80, true},
        {SDL_SCANCODE_UP, 72, true}, {SDL_SCANCODE_NUMLOCKCLEAR, 69, false},
        {SDL_SCANCODE_KP_DIVIDE, 53, true}, {SDL_SCANCODE_KP_MULTIPLY, 55, false},
        {SDL_SCANCODE_KP_MINUS, 74, false}, {SDL_SCANCODE_KP_PLUS, 78, false},
        {SDL_SCANCODE_KP_ENTER, 28, true}, {SDL_SCANCODE_KP_1, 79, false},
        {SDL_SCANCODE_KP_2, 80, false}, {SDL_SCANCODE_KP_3, 81, false},
        {SDL_SCANCODE_KP_4, 75, false}, {SDL_SCANCODE_KP_5, 76, false},
        {SDL_SCANCODE_KP_6, 77, false}, {SDL_SCANCODE_KP_7, 71, false},
        {SDL_SCANCODE_KP_8, 72, false}, {SDL_SCANCODE_KP_9, 73, false},
        {SDL_SCANCODE_KP_0, 82, false}, {SDL_SCANCODE_KP_PERIOD, 83, false},
        {SDL_SCANCODE_NONUSBACKSLASH, 86, false}, {SDL_SCANCODE_LCTRL, 29, false},
        {SDL_SCANCODE_LSHIFT, 42, false}, {SDL_SCANCODE_LALT, 56, false},
        {SDL_SCANCODE_LGUI, 91, true}, {SDL_SCANCODE_RCTRL, 29, true},
        {SDL_SCANCODE_RSHIFT, 54, false}, {SDL_SCANCODE_RALT, 56, true},
        {SDL_SCANCODE_RGUI, 92, true}, {SDL_SCANCODE_APPLICATION, 93, true},
        {SDL_SCANCODE_KP_EQUALS, 89, false}, {SDL_SCANCODE_INTERNATIONAL1, 115, false},
        {SDL_SCANCODE_INTERNATIONAL3, 125, false},
        // The Korean keyboard's Hangul key (evdev KEY_HANGEUL).
        {SDL_SCANCODE_LANG1, kScanHangul, false},
    };
    for (const Entry& e : kTable) {
        if (e.sdl == sc) {
            scan = e.scan;
            extended = e.ext;
            return true;
        }
    }
    return false;
}

void CSdlPlatform::ToLogical(int windowW, int windowH, int& x, int& y)
{
    if (windowW > 0 && windowH > 0 && (windowW != 800 || windowH != 600)) {
        x = static_cast<int>(static_cast<long long>(x) * 800 / windowW);
        y = static_cast<int>(static_cast<long long>(y) * 600 / windowH);
    }
    x = x < 0 ? 0 : (x > 799 ? 799 : x);
    y = y < 0 ? 0 : (y > 599 ? 599 : y);
}

namespace {

// Window coordinates to the game's 800 x 600 space, unless a renderer with a
// logical size has already done it.
void LogicalPosition(uint32_t windowId, int& x, int& y)
{
    SDL_Window* w = SDL_GetWindowFromID(windowId);
    int ww = 800, wh = 600;
    if (w) {
        SDL_Renderer* r = SDL_GetRenderer(w);
        int lw = 0, lh = 0;
        if (r)
            SDL_RenderGetLogicalSize(r, &lw, &lh);
        if (lw == 0)
            SDL_GetWindowSize(w, &ww, &wh);
    }
    CSdlPlatform::ToLogical(ww, wh, x, y);
}

}  // namespace

void CSdlPlatform::Translate(const SDL_Event& ev, std::vector<RawEvent>& out)
{
    RawEvent e;
    switch (ev.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (!MapScancode(ev.key.keysym.scancode, e.scan, e.extended))
            return;
        e.kind = ev.type == SDL_KEYDOWN ? RawKind::KeyDown : RawKind::KeyUp;
        e.repeat = ev.key.repeat != 0;
        e.locks = static_cast<int8_t>(((ev.key.keysym.mod & KMOD_CAPS) ? 1 : 0) |
                                      ((ev.key.keysym.mod & KMOD_NUM) ? 2 : 0));
        out.push_back(e);
        return;
    case SDL_MOUSEMOTION:
        e.kind = RawKind::MouseMove;
        e.x = ev.motion.x;
        e.y = ev.motion.y;
        LogicalPosition(ev.motion.windowID, e.x, e.y);
        out.push_back(e);
        return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (ev.button.button == SDL_BUTTON_LEFT)
            e.button = 1;
        else if (ev.button.button == SDL_BUTTON_RIGHT)
            e.button = 2;
        else
            return;
        e.kind = ev.type == SDL_MOUSEBUTTONDOWN ? RawKind::ButtonDown : RawKind::ButtonUp;
        e.x = ev.button.x;
        e.y = ev.button.y;
        LogicalPosition(ev.button.windowID, e.x, e.y);
        out.push_back(e);
        return;
    case SDL_WINDOWEVENT:
        if (ev.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
            e.kind = RawKind::FocusGained;
            out.push_back(e);
        } else if (ev.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
            if (g_lastBoxClosed != 0 && SDL_GetTicks() - g_lastBoxClosed < kBoxFocusGraceMs)
                return;
            e.kind = RawKind::FocusLost;
            out.push_back(e);
        } else if (ev.window.event == SDL_WINDOWEVENT_CLOSE) {
            e.kind = RawKind::CloseRequest;
            out.push_back(e);
        } else if (ev.window.event == SDL_WINDOWEVENT_MOVED ||
                   ev.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            e.kind = RawKind::WindowMoved;
            out.push_back(e);
        }
        return;
    case SDL_QUIT:
        e.kind = RawKind::CloseRequest;
        out.push_back(e);
        return;
    default:
        return;
    }
}

void CSdlPlatform::PollInput(std::vector<RawEvent>& out)
{
    SDL_Event ev;
    while (SDL_PollEvent(&ev))
        Translate(ev, out);
}

void CSdlPlatform::Wait(uint32_t timeoutMs, std::vector<struct pollfd>& fds)
{
    ::poll(fds.data(), fds.size(), static_cast<int>(timeoutMs));
}

}  // namespace plat
