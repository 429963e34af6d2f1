// SDL's audio device with SDL2_mixer on it, opened once for the sound
// effects and the music together. When there is no device the reason is
// said once on stderr and the game goes on silent.
#pragma once
#include <cstdint>

namespace plat {

class CSdlAudio {
public:
    CSdlAudio() = default;
    ~CSdlAudio() { Close(); }
    CSdlAudio(const CSdlAudio&) = delete;
    CSdlAudio& operator=(const CSdlAudio&) = delete;

    // Opens the device on first use; false when it cannot be.
    bool Open();
    bool IsOpen() const { return m_open; }
    // The mixer's output: rate, SDL sample format and channels.
    int Rate() const { return m_rate; }
    uint16_t Format() const { return m_format; }
    int Channels() const { return m_channels; }
    // Closes the mixer and the audio subsystem. The devices built on it
    // must have let go of their chunks and music first.
    void Close();

private:
    bool m_open = false;
    bool m_failed = false;
    int m_rate = 0;
    uint16_t m_format = 0;
    int m_channels = 0;
};

}  // namespace plat
