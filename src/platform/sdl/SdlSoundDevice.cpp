#include "platform/sdl/SdlSoundDevice.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <new>

#include "platform/sdl/SdlAudio.h"

namespace plat {

class CSdlSoundBuffer : public ISoundBuffer {
public:
    CSdlSoundBuffer(CSdlSoundDevice* device, const PcmFormat& format, uint32_t length, int channel)
        : m_device(device), m_format(format), m_length(length), m_channel(channel)
    {
    }
    ~CSdlSoundBuffer() override
    {
        if (m_device) {
            FreeMixerData();
            m_device->Released(this, m_channel);
        }
    }

    bool Write(const uint8_t* samples, size_t length) override;
    bool SetVolume(int32_t v) override
    {
        if (v < kVolumeMin || v > kVolumeMax)
            return false;
        m_gain.store(VolumeToGain(v), std::memory_order_relaxed);
        return true;
    }
    bool Play(bool looped) override;
    bool Stop() override
    {
        if (!m_chunk)
            return false;
        if (Mix_Playing(m_channel))
            Mix_Pause(m_channel);
        return true;
    }
    bool Rewind() override
    {
        if (!m_chunk)
            return false;
        if (!Mix_Playing(m_channel))
            return true;
        const bool running = !Mix_Paused(m_channel);
        Mix_HaltChannel(m_channel);
        return running ? Start() : true;
    }
    bool IsPlaying() override { return m_chunk && Mix_Playing(m_channel) && !Mix_Paused(m_channel); }
    bool Has3D() const override { return false; }
    void Set3DEnabled(bool) override {}
    void Set3DPosition(float, float, float) override {}

    // Halts the channel and frees the chunk; the audio thread no longer
    // touches this buffer afterwards.
    void FreeMixerData()
    {
        if (m_chunk) {
            Mix_HaltChannel(m_channel);
            Mix_FreeChunk(m_chunk);
            m_chunk = nullptr;
        }
        m_converted.clear();
        m_converted.shrink_to_fit();
    }
    void Orphan() { m_device = nullptr; }

private:
    bool Start();
    static void SDLCALL ApplyGain(int channel, void* stream, int len, void* self);

    CSdlSoundDevice* m_device;
    PcmFormat m_format;
    uint32_t m_length;
    int m_channel;
    bool m_looped = false;
    Mix_Chunk* m_chunk = nullptr;
    std::vector<uint8_t> m_converted;
    std::atomic<float> m_gain{1.0f};
};

bool CSdlSoundBuffer::Write(const uint8_t* samples, size_t length)
{
    if (!m_device || length != m_length || m_chunk)
        return false;
    CSdlAudio& audio = m_device->m_audio;
    // Whole frames only: a trailing partial frame is not a sample.
    const size_t usable = length - length % m_format.blockAlign;
    // SDL counts bytes in an int: the converted sound must fit one.
    const uint64_t outFrames = static_cast<uint64_t>(usable / m_format.blockAlign) *
                                   static_cast<uint64_t>(audio.Rate()) / m_format.samplesPerSec +
                               1024;
    if (usable == 0 || outFrames * static_cast<uint64_t>(audio.Channels()) * 2 > INT32_MAX / 2)
        return false;
    const SDL_AudioFormat from = m_format.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    SDL_AudioStream* stream =
        SDL_NewAudioStream(from, static_cast<Uint8>(m_format.channels), static_cast<int>(m_format.samplesPerSec),
                           audio.Format(), static_cast<Uint8>(audio.Channels()), audio.Rate());
    if (!stream)
        return false;
    bool ok = SDL_AudioStreamPut(stream, samples, static_cast<int>(usable)) == 0 &&
              SDL_AudioStreamFlush(stream) == 0;
    if (ok) {
        const int avail = SDL_AudioStreamAvailable(stream);
        try {
            m_converted.resize(static_cast<size_t>(avail > 0 ? avail : 0));
        } catch (const std::bad_alloc&) {
            m_converted.clear();
        }
        const int got = avail > 0 && !m_converted.empty()
                            ? SDL_AudioStreamGet(stream, m_converted.data(), avail)
                            : 0;
        ok = got > 0;
        if (ok)
            m_converted.resize(static_cast<size_t>(got));
    }
    SDL_FreeAudioStream(stream);
    if (!ok) {
        m_converted.clear();
        return false;
    }
    m_chunk = Mix_QuickLoad_RAW(m_converted.data(), static_cast<Uint32>(m_converted.size()));
    if (!m_chunk) {
        m_converted.clear();
        return false;
    }
    return true;
}

bool CSdlSoundBuffer::Play(bool looped)
{
    if (!m_chunk)
        return false;
    if (Mix_Playing(m_channel)) {
        if (Mix_Paused(m_channel) && looped == m_looped) {
            Mix_Resume(m_channel);
            return true;
        }
        if (!Mix_Paused(m_channel) && looped == m_looped)
            return true;
        Mix_HaltChannel(m_channel);
    }
    m_looped = looped;
    return Start();
}

bool CSdlSoundBuffer::Start()
{
    // A channel's effects are dropped whenever it stops, so the gain is put
    // on again for every start, before the chunk can be mixed.
    Mix_Volume(m_channel, MIX_MAX_VOLUME);
    if (Mix_RegisterEffect(m_channel, &CSdlSoundBuffer::ApplyGain, nullptr, this) == 0)
        return false;
    return Mix_PlayChannel(m_channel, m_chunk, m_looped ? -1 : 0) == m_channel;
}

void SDLCALL CSdlSoundBuffer::ApplyGain(int, void* stream, int len, void* self)
{
    // Runs on the audio thread; the mixer's format is 16-bit by choice.
    const float gain = static_cast<CSdlSoundBuffer*>(self)->m_gain.load(std::memory_order_relaxed);
    if (gain >= 1.0f)
        return;
    auto* s = static_cast<int16_t*>(stream);
    const int n = len / 2;
    for (int i = 0; i < n; ++i)
        s[i] = static_cast<int16_t>(static_cast<float>(s[i]) * gain);
}

bool CSdlSoundDevice::Open() { return m_audio.Open(); }

std::unique_ptr<ISoundBuffer> CSdlSoundDevice::CreateBuffer(const PcmFormat& format, uint32_t length, bool)
{
    if (!m_audio.IsOpen() || !IsPlayablePcm(format) || length == 0)
        return nullptr;
    if (m_audio.Format() != AUDIO_S16SYS)
        return nullptr;
    const int channel = TakeChannel();
    if (channel < 0)
        return nullptr;
    auto buffer = std::make_unique<CSdlSoundBuffer>(this, format, length, channel);
    m_live.push_back(buffer.get());
    return buffer;
}

int CSdlSoundDevice::TakeChannel()
{
    for (size_t i = 0; i < m_channelUsed.size(); ++i) {
        if (!m_channelUsed[i]) {
            m_channelUsed[i] = true;
            return static_cast<int>(i);
        }
    }
    const int channel = static_cast<int>(m_channelUsed.size());
    if (Mix_AllocateChannels(-1) <= channel)
        Mix_AllocateChannels(channel + 16);
    if (Mix_AllocateChannels(-1) <= channel)
        return -1;
    m_channelUsed.push_back(true);
    return channel;
}

void CSdlSoundDevice::Released(CSdlSoundBuffer* buffer, int channel)
{
    m_live.erase(std::remove(m_live.begin(), m_live.end(), buffer), m_live.end());
    if (channel >= 0 && static_cast<size_t>(channel) < m_channelUsed.size())
        m_channelUsed[static_cast<size_t>(channel)] = false;
}

void CSdlSoundDevice::Shutdown()
{
    for (CSdlSoundBuffer* b : m_live) {
        b->FreeMixerData();
        b->Orphan();
    }
    m_live.clear();
    m_channelUsed.clear();
}

}  // namespace plat
