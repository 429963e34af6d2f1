// Looping MIDI music and the music volume. Minimal form: it remembers what
// it was told and plays nothing yet.
#pragma once
#include <string>

namespace plat {
class IMessageTarget;
}

class CMusicPlayer {
public:
    void SetNotifyWindow(plat::IMessageTarget* window) { m_notify = window; }
    // Volume 0..100.
    void SetVolume(int volume) { m_volume = volume; }
    int GetVolume() const { return m_volume; }
    void SetFileName(const std::string& name) { m_fileName = name; }
    void Play() { m_playing = !m_fileName.empty(); }
    void Restart() { Play(); }
    void Stop() { m_playing = false; }
    // Closes every music device.
    void CloseAll() { m_playing = false; }

    bool IsPlaying() const { return m_playing; }

private:
    [[maybe_unused]] plat::IMessageTarget* m_notify = nullptr;
    std::string m_fileName;
    int m_volume = 0;
    bool m_playing = false;
};

extern CMusicPlayer g_musicPlayer;

// The game's own master volume for music; the desktop's is never touched.
class CMixer {
public:
    bool Open() { m_open = true; return true; }
    bool FindVolumeControl() { return m_open; }
    void Close() { m_open = false; }
    void SetVolume(int level) { m_level = level; }
    int GetVolume() const { return m_level; }

private:
    bool m_open = false;
    int m_level = 0;
};

extern CMixer g_mixer;
