#include "audio/MusicPlayer.h"

#include <algorithm>
#include <cstdint>

#include "core/ResFile.h"
#include "platform/Mci.h"
#include "platform/Process.h"

CMusicPlayer g_musicPlayer;

const char* const CMusicPlayer::s_songs[kSongCount] = {
    "Ext.mid",     "Ext.mid",         "Ext.mid",         "Summer2.mid",
    "Summer1.mid", "Summcombat1.mid", "Winter2.mid",     "Outer.mid",
    "summcombat1.mid", "wintcombat1.mid", "Simul.mid",   "Combat.mid",
};

const char* CMusicPlayer::GetSongName(int index)
{
    return index >= 0 && index < kSongCount ? s_songs[index] : nullptr;
}

CMusicPlayer::~CMusicPlayer()
{
    plat::MciSendString("close all");
    m_notify = nullptr;
    m_fileName.clear();
    // Only while the runtime directory is still there: asking for its
    // path would make it again after the exit removed it.
    if (!plat::ExistingRuntimeDir().empty())
        DeleteMusicFiles();
}

int CMusicPlayer::Send(const std::string& command, bool notify)
{
    return plat::MciSendString(command, notify ? m_notify : nullptr) == 0 ? 1 : 0;
}

int CMusicPlayer::SetFileName(const std::string& name)
{
    m_fileName = name;
    return 1;
}

int CMusicPlayer::Play(const char* name)
{
    if (name)
        m_fileName = name;
    if (m_fileName.empty())
        return 0;
    if (!Send("close all", false))
        return 0;
    if (!Send("open " + m_fileName + " type sequencer alias MUSIC", false))
        return 0;
    if (!Send("play MUSIC from 0 notify", true))
        return 0;
    m_playing = true;
    return 1;
}

int CMusicPlayer::Close()
{
    if (!Send("close all", false))
        return 0;
    m_playing = false;
    return 1;
}

int CMusicPlayer::Stop()
{
    if (!Send("stop MUSIC", false))
        return 0;
    m_playing = false;
    return 1;
}

int CMusicPlayer::Resume()
{
    if (!Send("play MUSIC notify", true))
        return 0;
    m_playing = true;
    return 1;
}

int CMusicPlayer::Restart()
{
    if (!Send("play MUSIC from 0 notify", true))
        return 0;
    m_playing = true;
    return 1;
}

void CMusicPlayer::SetVolume(int level)
{
    m_volume = level;
    const int64_t value = std::clamp<int64_t>(static_cast<int64_t>(level) * 655, 0, UINT32_MAX);
    g_mixer.SetVolume(static_cast<uint32_t>(value));
}

void CMusicPlayer::Reset()
{
    plat::MciSendString("close all");
    m_fileName.clear();
    m_volume = 0;
    m_playing = false;
    m_notify = nullptr;
}
