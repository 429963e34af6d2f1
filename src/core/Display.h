// The 800 x 600 x 8 screen and the root of the layer tree. This minimal form
// keeps the back buffer in memory and counts presents; the presenter that
// shows it on the desktop is still to come.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/LayerGroup.h"

struct DisplayParams {
    int width = 800;
    int height = 600;
    int clientWidth = 800;
    int clientHeight = 600;
    int bitsPerPixel = 8;
    int switch1 = 1;
    int fullScreen = 1;
    int switch3 = 1;
    std::string registryPath = "Software\\Brennix\\Quorvel";
};

class CDisplay : public CLayerGroup {
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;

    explicit CDisplay(const DisplayParams& params);
    ~CDisplay() override;

    // Sets the display up for the game's window; 1 on success.
    int InitDirectDraw();
    bool IsFullScreen() const { return m_fullScreen; }

    // 0 when the back buffer is locked (GetBits then valid), else an error.
    int Lock();
    int Unlock();
    bool IsLocked() const { return m_lockWord != 0; }

    // Locks, draws the children, then presents unless this frame is skipped.
    int Draw() override;
    void SetNeedsFlip() { m_needsFlip = true; }
    void ClearBackBuffer();
    int Flip();

    uint32_t PresentCount() const { return m_presents; }
    const std::vector<uint8_t>& BackBuffer() const { return m_back; }

private:
    std::vector<uint8_t> m_back;
    bool m_fullScreen;
    uint32_t m_lockWord = 0;
    bool m_needsFlip = false;
    uint32_t m_presents = 0;
};

// 1 while the display runs full screen.
extern uint32_t g_fullScreenMode;
