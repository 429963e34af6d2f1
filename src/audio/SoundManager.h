// Positional sound effects. Minimal form: silent.
#pragma once

class CSoundManager {
public:
    // 1 when sound is available.
    int Init() { return 0; }
    void SetListenerPosition(int x, int y) { m_listenerX = x; m_listenerY = y; }
    void StopAll() {}

private:
    [[maybe_unused]] int m_listenerX = 0;
    [[maybe_unused]] int m_listenerY = 0;
};

extern CSoundManager g_soundManager;
