// Drives a started whole client frame by frame: game frames rather than
// loop passes, and input that lasts a frame.
#pragma once
#include <cstdint>
#include <functional>

class CHarness;

class CFrameDriver {
public:
    explicit CFrameDriver(CHarness& h) : m_h(h) {}
    // One more game frame; false when none came within the loop's limit.
    bool NextFrame();
    // Frames until pred holds (true) or limit frames ran or the loop quit.
    bool Frames(const std::function<bool()>& pred, int limit = 300);
    // A key pressed for a frame and released for one.
    void Key(uint8_t scan);
    // Typed characters through the view, in Latin input mode.
    void Type(const char* text);
    // A left button pressed at (x, y) for a frame and released there.
    void Click(int x, int y);

private:
    CHarness& m_h;
};
