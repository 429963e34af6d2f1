// The music device: one MIDI song at a time, played once from the start or
// resumed, with the game's own music volume. The MCI command strings of
// Mci.h drive it; a backend installs it. Without one nothing opens.
#pragma once
#include <cstdint>
#include <string>

namespace plat {

class IMusicDevice {
public:
    virtual ~IMusicDevice() = default;
    // Loads the song at path, closing any other; false when it cannot be
    // played (no audio device, no MIDI synthesiser, a bad file).
    virtual bool Open(const std::string& path) = 0;
    virtual void Close() = 0;
    // Plays the open song from its start, or on from where Stop left it.
    // Returns the serial of this playing (NewMusicSerial), 0 on failure.
    // The end of a playing is reported once with MusicFinished(serial);
    // Stop, Close and a new Play never report.
    virtual uint64_t Play(bool fromStart) = 0;
    virtual void Stop() = 0;

    // The music volume control: how many there are (0 or 1), and its value
    // from 0 to 65535. The desktop's own volume is not this.
    virtual int VolumeControls() = 0;
    virtual bool SetVolume(uint32_t value) = 0;
    virtual uint32_t GetVolume() = 0;
};

constexpr uint32_t kMusicVolumeMax = 65535;

// A serial no playing has had before, never 0.
uint64_t NewMusicSerial();

// Called by a device, on any thread, when the playing with this serial has
// reached the end of the song.
void MusicFinished(uint64_t serial);

// The installed device; one that opens nothing when none is. Installing a
// device closes whatever the MCI layer had open.
IMusicDevice& Music();
void SetMusicDevice(IMusicDevice* device);

}  // namespace plat
