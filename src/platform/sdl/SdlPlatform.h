// The SDL2 backend: the real window and its input, desktop message boxes,
// the real clock, the settings file, and sound and music on SDL2_mixer.
#pragma once
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Input.h"
#include "platform/Loop.h"
#include "platform/Settings.h"
#include "platform/Window.h"
#include "platform/sdl/SdlVideo.h"
#include "platform/sdl/SdlAudio.h"
#include "platform/sdl/SdlMusicDevice.h"
#include "platform/sdl/SdlSoundDevice.h"

struct SDL_Window;
union SDL_Event;

namespace plat {

class CSdlWindow : public IWindow {
public:
    bool Create(const std::string& titleCp949, int width, int height) override;
    void Show() override;
    void Destroy() override;
    bool IsCreated() const override { return m_window != nullptr; }
    int ShowCursor(bool show) override;
    void ClipCursor(const Rect* r) override;
    Rect GetClipCursor() override;
    void DisableScreenSaver() override;
    void GetDesktopSize(int& width, int& height) override;
    void SetTitle(const std::string& titleCp949) override;

    SDL_Window* Handle() const { return m_window; }
    // The window's X11 id, 0 when it has none (another video driver).
    unsigned long X11Window() const;
    // The game's ShowCursor count: the system cursor shows while it is >= 0.
    int CursorCount() const { return m_cursorCount; }
    // Its renderer goes away before the window does.
    void SetVideo(CSdlVideo* video) { m_video = video; }

private:
    SDL_Window* m_window = nullptr;
    CSdlVideo* m_video = nullptr;
    int m_cursorCount = 0;
    bool m_hasClip = false;
    Rect m_clip;
};

class CSdlDialogs : public IDialogs {
public:
    explicit CSdlDialogs(CSdlWindow* window) : m_window(window) {}
    void ShowMessage(const std::string& caption, const std::string& text) override;
    bool AskYesNo(const std::string& caption, const std::string& text,
                  const std::string& yes, const std::string& no) override;

    // SDL ticks when our last box closed (0: none yet).
    static uint32_t LastClosedTicks();

    // After any box of ours, SDL's or another toolkit's: the box took the
    // focus from the game's window, and the focus changes it queued are not
    // the application losing focus; the game's cursor state comes back.
    // Presses and moves made on the game's window meanwhile are dropped, as
    // the box's owner took no input; releases stay, so no key stays held.
    void AfterBox();

private:
    CSdlWindow* m_window;
    CStderrDialogs m_fallback;
};

class CSdlPlatform : public ILoopBackend {
public:
    CSdlPlatform();
    ~CSdlPlatform() override;
    CSdlPlatform(const CSdlPlatform&) = delete;
    CSdlPlatform& operator=(const CSdlPlatform&) = delete;

    // Starts SDL's video and events; false (with the reason) when it cannot.
    bool Init(std::string& error);

    void PollInput(std::vector<RawEvent>& out) override;
    void Wait(uint32_t timeoutMs, std::vector<struct pollfd>& fds) override;

    // The set-1 scan code and extended bit of an SDL scancode; false for keys
    // the game never sees.
    static bool MapScancode(int sdlScancode, uint8_t& scan, bool& extended);
    // A window position in the 800 x 600 space the game works in.
    static void ToLogical(int windowW, int windowH, int& x, int& y);

    CSdlWindow window;
    CSdlVideo video{&window};
    CSdlDialogs& Dialogs() { return m_dialogs; }

private:
    void Translate(const SDL_Event& ev, std::vector<RawEvent>& out);

    CRealClock m_clock;
    CFileSettings m_settings;
    CSdlDialogs m_dialogs;
    // Opened on first use by the sound manager or the music.
    CSdlAudio m_audio;
    CSdlSoundDevice m_sound{m_audio};
    CSdlMusicDevice m_music{m_audio};
    bool m_sdlUp = false;
};

}  // namespace plat
