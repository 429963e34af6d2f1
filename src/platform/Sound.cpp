#include "platform/Sound.h"

#include <algorithm>
#include <cmath>

namespace plat {

namespace {

class CNullSoundDevice : public ISoundDevice {
public:
    bool Open() override { return false; }
    bool CreatePrimary3D() override { return false; }
    bool CreateListener() override { return false; }
    void SetDistanceFactor(float) override {}
    void SetListenerPosition(float, float, float) override {}
    std::unique_ptr<ISoundBuffer> CreateBuffer(const PcmFormat&, uint32_t, bool) override { return nullptr; }
};

CNullSoundDevice g_nullSound;
ISoundDevice* g_sound = &g_nullSound;

}  // namespace

bool IsPlayablePcm(const PcmFormat& f)
{
    if (f.formatTag != kWaveFormatPcm)
        return false;
    if (f.channels < 1 || f.channels > 2)
        return false;
    if (f.bitsPerSample != 8 && f.bitsPerSample != 16)
        return false;
    if (f.samplesPerSec < 100 || f.samplesPerSec > 200000)
        return false;
    return f.blockAlign == f.channels * f.bitsPerSample / 8;
}

float VolumeToGain(int32_t v)
{
    v = std::clamp(v, kVolumeMin, kVolumeMax);
    return std::pow(10.0f, static_cast<float>(v) / 2000.0f);
}

ISoundDevice& Sound() { return *g_sound; }

void SetSoundDevice(ISoundDevice* device) { g_sound = device ? device : &g_nullSound; }

}  // namespace plat
