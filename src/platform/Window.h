// The game's one top-level window: creation, the mouse cursor and the
// cursor clip. The display's presenter attaches to it.
#pragma once
#include <string>

namespace plat {

// Left, top, right, bottom; right and bottom exclusive (a RECT).
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Rect&) const = default;
};

class IWindow {
public:
    virtual ~IWindow() = default;
    // A borderless window of the given client size, not shown yet.
    virtual bool Create(const std::string& titleCp949, int width, int height) = 0;
    virtual void Show() = 0;
    virtual void Destroy() = 0;
    virtual bool IsCreated() const = 0;
    // The display counter of ShowCursor: the cursor shows while it is >= 0.
    virtual int ShowCursor(bool show) = 0;
    // Confines the cursor to r (screen coordinates); null releases it.
    virtual void ClipCursor(const Rect* r) = 0;
    // The current clip, the whole desktop when none is set.
    virtual Rect GetClipCursor() = 0;
    virtual void DisableScreenSaver() = 0;
    virtual void GetDesktopSize(int& width, int& height) = 0;
    // The window's title (CP949).
    virtual void SetTitle(const std::string& titleCp949) = 0;
};

IWindow& Window();
void SetWindow(IWindow* window);  // null restores a window that does nothing

// A window without a desktop: it remembers what it was told.
class CMemoryWindow : public IWindow {
public:
    bool Create(const std::string& titleCp949, int width, int height) override;
    void Show() override { m_shown = true; }
    void Destroy() override { m_created = false; m_shown = false; }
    bool IsCreated() const override { return m_created; }
    int ShowCursor(bool show) override { return m_cursorCount += show ? 1 : -1; }
    void ClipCursor(const Rect* r) override;
    Rect GetClipCursor() override { return m_hasClip ? m_clip : Rect{0, 0, m_desktopW, m_desktopH}; }
    void DisableScreenSaver() override { m_screenSaverOff = true; }
    void GetDesktopSize(int& width, int& height) override { width = m_desktopW; height = m_desktopH; }
    void SetTitle(const std::string& titleCp949) override { m_title = titleCp949; }

    bool m_created = false;
    bool m_shown = false;
    bool m_hasClip = false;
    bool m_screenSaverOff = false;
    Rect m_clip;
    int m_cursorCount = 0;
    int m_width = 0;
    int m_height = 0;
    int m_desktopW = 1920;
    int m_desktopH = 1080;
    std::string m_title;
};

}  // namespace plat
