// MIDI music on SDL2_mixer, synthesised by FluidSynth with a General MIDI
// soundfont (SDL_SOUNDFONTS, else the one Debian's fluid-soundfont-gm
// installs). A song ends at its last event, as a sequencer reports it, not
// when the synthesiser's notes have died away. When no song can be played
// the reason is said once on stderr.
#pragma once
#include <cstdint>
#include <string>

#include "platform/Music.h"

typedef struct _Mix_Music Mix_Music;

namespace plat {

class CSdlAudio;

class CSdlMusicDevice : public IMusicDevice {
public:
    explicit CSdlMusicDevice(CSdlAudio& audio) : m_audio(audio) {}
    ~CSdlMusicDevice() override { Shutdown(); }
    CSdlMusicDevice(const CSdlMusicDevice&) = delete;
    CSdlMusicDevice& operator=(const CSdlMusicDevice&) = delete;

    bool Open(const std::string& path) override;
    void Close() override;
    uint64_t Play(bool fromStart) override;
    void Stop() override;
    int VolumeControls() override;
    bool SetVolume(uint32_t value) override;
    uint32_t GetVolume() override { return m_volume; }

    // Closes the song and unhooks from the mixer.
    void Shutdown();

    static constexpr const char* kDefaultSoundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";

private:
    bool PrepareMidi();
    void Halt();

    CSdlAudio& m_audio;
    Mix_Music* m_music = nullptr;
    bool m_midiChecked = false;
    bool m_midiReady = false;
    bool m_hooked = false;
    bool m_loadFailSaid = false;
    uint64_t m_serial = 0;
    uint32_t m_lengthMs = 0;
    uint32_t m_volume = kMusicVolumeMax;
};

}  // namespace plat
