// Sound buffers on SDL2_mixer: each buffer owns one mixer channel and its
// samples converted once, at load, to the mixer's format. The volume is
// applied as an exact gain on the channel. There is no 3D positioning.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Sound.h"

namespace plat {

class CSdlAudio;
class CSdlSoundBuffer;

class CSdlSoundDevice : public ISoundDevice {
public:
    explicit CSdlSoundDevice(CSdlAudio& audio) : m_audio(audio) {}
    ~CSdlSoundDevice() override { Shutdown(); }
    CSdlSoundDevice(const CSdlSoundDevice&) = delete;
    CSdlSoundDevice& operator=(const CSdlSoundDevice&) = delete;

    bool Open() override;
    bool CreatePrimary3D() override { return false; }
    bool CreateListener() override { return false; }
    void SetDistanceFactor(float) override {}
    void SetListenerPosition(float, float, float) override {}
    std::unique_ptr<ISoundBuffer> CreateBuffer(const PcmFormat& format, uint32_t length,
                                               bool with3D) override;

    // Silences and frees every buffer's mixer data; the buffer objects stay
    // valid and do nothing from then on.
    void Shutdown();

private:
    friend class CSdlSoundBuffer;
    int TakeChannel();
    void Released(CSdlSoundBuffer* buffer, int channel);

    CSdlAudio& m_audio;
    std::vector<bool> m_channelUsed;
    std::vector<CSdlSoundBuffer*> m_live;
};

}  // namespace plat
