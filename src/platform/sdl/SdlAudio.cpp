#include "platform/sdl/SdlAudio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>

namespace plat {

namespace {
constexpr int kOutputRate = 44100;
constexpr int kOutputChannels = 2;
constexpr int kChunkFrames = 1024;
constexpr int kInitialChannels = 16;
}  // namespace

bool CSdlAudio::Open()
{
    if (m_open)
        return true;
    if (m_failed)
        return false;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "Quorvel: no audio (%s); playing without sound and music.\n", SDL_GetError());
        m_failed = true;
        return false;
    }
    // The mixer works in 16-bit stereo whatever the hardware takes; SDL
    // converts at the device.
    if (Mix_OpenAudioDevice(kOutputRate, AUDIO_S16SYS, kOutputChannels, kChunkFrames, nullptr, 0) != 0) {
        std::fprintf(stderr, "Quorvel: no audio device (%s); playing without sound and music.\n",
                     Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_failed = true;
        return false;
    }
    int rate = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    m_rate = rate;
    m_format = format;
    m_channels = channels;
    Mix_AllocateChannels(kInitialChannels);
    m_open = true;
    return true;
}

void CSdlAudio::Close()
{
    if (!m_open)
        return;
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_open = false;
}

}  // namespace plat
