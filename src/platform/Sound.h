// The sound-effect device: static PCM buffers played once or looped, with a
// volume in hundredths of a decibel, and an optional 3D listener. A backend
// installs its device; without one every Open fails and the game is silent.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

namespace plat {

// The WAVE format block of a PCM sound (the fields of a WAVEFORMAT plus the
// sample size).
struct PcmFormat {
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
};

constexpr uint16_t kWaveFormatPcm = 1;

// Buffer volumes, hundredths of a decibel.
constexpr int32_t kVolumeMin = -10000;
constexpr int32_t kVolumeMax = 0;

// 8- or 16-bit PCM, mono or stereo, 100 Hz to 200 kHz, consistent block
// alignment: what a sound buffer can be made of.
bool IsPlayablePcm(const PcmFormat& format);

// The linear gain of a volume in hundredths of a decibel: 10^(v/2000),
// clamped to the device range first.
float VolumeToGain(int32_t hundredthsDb);

class ISoundBuffer {
public:
    virtual ~ISoundBuffer() = default;
    // Fills the buffer with its samples (lock, copy, unlock). The length is
    // the one the buffer was created with.
    virtual bool Write(const uint8_t* samples, size_t length) = 0;
    virtual bool SetVolume(int32_t hundredthsDb) = 0;
    // Plays from the current position, once or looped.
    virtual bool Play(bool looped) = 0;
    // Stops where it is; the position stays.
    virtual bool Stop() = 0;
    // Moves the play position back to the start.
    virtual bool Rewind() = 0;
    virtual bool IsPlaying() = 0;
    // The 3D controls, present only on buffers made with 3D on a device
    // that has it.
    virtual bool Has3D() const = 0;
    virtual void Set3DEnabled(bool enabled) = 0;
    virtual void Set3DPosition(float x, float y, float z) = 0;
};

class ISoundDevice {
public:
    virtual ~ISoundDevice() = default;
    // Creates the device for the game's window; false when there is none.
    virtual bool Open() = 0;
    // The primary buffer with 3D control, then its 3D listener; false when
    // the device cannot position sounds.
    virtual bool CreatePrimary3D() = 0;
    virtual bool CreateListener() = 0;
    virtual void SetDistanceFactor(float metresPerUnit) = 0;
    virtual void SetListenerPosition(float x, float y, float z) = 0;
    // A static buffer of length bytes in the given format; null when the
    // device is not open or cannot hold the format.
    virtual std::unique_ptr<ISoundBuffer> CreateBuffer(const PcmFormat& format, uint32_t length,
                                                       bool with3D) = 0;
};

// The installed device; a device that never opens when none is.
ISoundDevice& Sound();
void SetSoundDevice(ISoundDevice* device);

}  // namespace plat
