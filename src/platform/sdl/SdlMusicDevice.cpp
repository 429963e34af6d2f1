#include "platform/sdl/SdlMusicDevice.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <sys/stat.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/MidiLength.h"
#include "platform/sdl/SdlAudio.h"

namespace plat {

namespace {

// Shared with the mixer's hooks, which run on the audio thread.
std::atomic<uint64_t> g_playingSerial{0};
std::atomic<bool> g_halting{false};
// The synthesiser plays on for a while after a song's last event; the end
// is reported when the frames mixed since the start reach the song's length.
std::atomic<bool> g_counting{false};
std::atomic<uint64_t> g_framesPlayed{0};
std::atomic<uint64_t> g_framesInSong{0};
std::atomic<int> g_bytesPerFrame{4};

void SDLCALL OnMusicFinished()
{
    // A halt of ours also calls the hook; only a song's own end counts.
    if (g_halting.load())
        return;
    g_counting.store(false);
    const uint64_t serial = g_playingSerial.exchange(0);
    if (serial != 0)
        MusicFinished(serial);
}

void SDLCALL CountMusicFrames(void*, Uint8*, int len)
{
    if (!g_counting.load())
        return;
    const uint64_t frames = static_cast<uint64_t>(len / g_bytesPerFrame.load());
    const uint64_t played = g_framesPlayed.fetch_add(frames) + frames;
    const uint64_t end = g_framesInSong.load();
    if (end == 0 || played < end)
        return;
    g_counting.store(false);
    const uint64_t serial = g_playingSerial.exchange(0);
    if (serial != 0)
        MusicFinished(serial);
}

bool FileExists(const char* path)
{
    struct stat st{};
    return path && ::stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

bool CSdlMusicDevice::PrepareMidi()
{
    if (m_midiChecked)
        return m_midiReady;
    m_midiChecked = true;
    if ((Mix_Init(MIX_INIT_MID) & MIX_INIT_MID) == 0) {
        std::fprintf(stderr, "Quorvel: no MIDI synthesiser (%s); playing without music.\n", Mix_GetError());
        return false;
    }
    const char* fonts = std::getenv("SDL_SOUNDFONTS");
    if (!fonts || !*fonts) {
        if (!FileExists(kDefaultSoundFont)) {
            std::fprintf(stderr,
                         "Quorvel: no General MIDI soundfont (%s is missing; install fluid-soundfont-gm "
                         "or set SDL_SOUNDFONTS); playing without music.\n",
                         kDefaultSoundFont);
            return false;
        }
        Mix_SetSoundFonts(kDefaultSoundFont);
    }
    if (!m_hooked) {
        Mix_HookMusicFinished(&OnMusicFinished);
        Mix_SetPostMix(&CountMusicFrames, nullptr);
        m_hooked = true;
    }
    m_midiReady = true;
    return true;
}

bool CSdlMusicDevice::Open(const std::string& path)
{
    Close();
    if (!m_audio.Open() || !PrepareMidi())
        return false;
    m_music = Mix_LoadMUS(path.c_str());
    if (m_music && Mix_GetMusicType(m_music) != MUS_MID) {
        Mix_FreeMusic(m_music);
        m_music = nullptr;
        SDL_SetError("not a MIDI file");
    }
    if (m_music) {
        // Unknown (0): the song ends when the synthesiser stops.
        m_lengthMs = 0;
        std::ifstream in(path, std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        uint32_t ms = 0;
        if (MidiLengthMs(bytes.data(), bytes.size(), ms))
            m_lengthMs = ms;
    }
    if (!m_music) {
        if (!m_loadFailSaid) {
            std::fprintf(stderr, "Quorvel: cannot play the music %s (%s).\n", path.c_str(), Mix_GetError());
            m_loadFailSaid = true;
        }
        return false;
    }
    return true;
}

void CSdlMusicDevice::Halt()
{
    g_counting.store(false);
    g_playingSerial.store(0);
    g_halting.store(true);
    Mix_HaltMusic();
    g_halting.store(false);
}

void CSdlMusicDevice::Close()
{
    if (!m_music)
        return;
    Halt();
    Mix_FreeMusic(m_music);
    m_music = nullptr;
    m_serial = 0;
}

uint64_t CSdlMusicDevice::Play(bool fromStart)
{
    if (!m_music)
        return 0;
    if (!fromStart && m_serial != 0 && Mix_PlayingMusic()) {
        if (Mix_PausedMusic()) {
            Mix_ResumeMusic();
            g_counting.store(true);
        }
        return m_serial;
    }
    Halt();
    m_serial = NewMusicSerial();
    g_playingSerial.store(m_serial);
    g_bytesPerFrame.store(m_audio.Channels() * 2);
    g_framesPlayed.store(0);
    g_framesInSong.store(static_cast<uint64_t>(m_lengthMs) * static_cast<uint64_t>(m_audio.Rate()) / 1000);
    g_counting.store(true);
    if (Mix_PlayMusic(m_music, 0) != 0) {
        g_counting.store(false);
        g_playingSerial.store(0);
        m_serial = 0;
        return 0;
    }
    Mix_VolumeMusic(static_cast<int>((static_cast<uint64_t>(m_volume) * MIX_MAX_VOLUME + kMusicVolumeMax / 2) /
                                     kMusicVolumeMax));
    return m_serial;
}

void CSdlMusicDevice::Stop()
{
    if (m_music && Mix_PlayingMusic()) {
        g_counting.store(false);
        Mix_PauseMusic();
    }
}

int CSdlMusicDevice::VolumeControls() { return m_audio.Open() ? 1 : 0; }

bool CSdlMusicDevice::SetVolume(uint32_t value)
{
    if (!m_audio.IsOpen())
        return false;
    if (value > kMusicVolumeMax)
        value = kMusicVolumeMax;
    m_volume = value;
    Mix_VolumeMusic(static_cast<int>((static_cast<uint64_t>(value) * MIX_MAX_VOLUME + kMusicVolumeMax / 2) /
                                     kMusicVolumeMax));
    return true;
}

void CSdlMusicDevice::Shutdown()
{
    if (!m_audio.IsOpen())
        return;
    Close();
    if (m_hooked) {
        Mix_HookMusicFinished(nullptr);
        Mix_SetPostMix(nullptr, nullptr);
        m_hooked = false;
    }
}

}  // namespace plat
