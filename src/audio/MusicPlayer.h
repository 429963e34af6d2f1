// Background music: a MIDI file of the song table played through MCI
// command strings and looped by restarting it each time MCI reports that it
// has finished (the application's message filter calls Restart).
#pragma once
#include <string>

#include "audio/Mixer.h"

namespace plat {
class IMessageTarget;
}

class CMusicPlayer {
public:
    static constexpr int kSongCount = 12;
    // The songs by stage (0..9), then the colony's and the battle's.
    static const char* const s_songs[kSongCount];
    static const char* GetSongName(int index);

    CMusicPlayer() = default;
    virtual ~CMusicPlayer();
    CMusicPlayer(const CMusicPlayer&) = delete;
    CMusicPlayer& operator=(const CMusicPlayer&) = delete;

    // The window MCI's end-of-song notice goes to.
    void SetNotifyWindow(plat::IMessageTarget* window) { m_notify = window; }
    // The song the next Play without a name plays; 1.
    int SetFileName(const std::string& name);
    // Closes whatever plays and plays name (or the stored name when null)
    // from its start; 0 when there is no name or MCI fails.
    int Play(const char* name = nullptr);
    int Close();
    int Stop();
    int Resume();
    int Restart();
    // Level 0..100; the music volume becomes level * 655.
    void SetVolume(int level);
    int GetVolume() const { return m_volume; }

    bool IsPlaying() const { return m_playing; }
    const std::string& GetFileName() const { return m_fileName; }

    // Back to the state at construction, closing the music (tests).
    void Reset();

private:
    int Send(const std::string& command, bool notify);

    std::string m_fileName;
    int m_volume = 0;
    bool m_playing = false;
    plat::IMessageTarget* m_notify = nullptr;
};

extern CMusicPlayer g_musicPlayer;
