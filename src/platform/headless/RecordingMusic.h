// A music device for tests: it records every call and ends a song only when
// a test says so.
#pragma once
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Music.h"

namespace plat {

struct MusicCall {
    enum Kind { Open, Close, Play, Stop, Volume };
    Kind kind;
    std::string path;     // Open
    uint32_t value = 0;   // Volume; 1 = from the start for Play
};

class CRecordingMusicDevice : public IMusicDevice {
public:
    bool Open(const std::string& path) override;
    void Close() override;
    uint64_t Play(bool fromStart) override;
    void Stop() override;
    int VolumeControls() override { return volumeControls; }
    bool SetVolume(uint32_t value) override;
    uint32_t GetVolume() override { return volume; }

    // The song reaches its end now (any thread); false when none plays.
    bool Finish();

    std::vector<MusicCall> Calls();
    void ClearCalls();
    bool IsPlaying();

    // What Open answers, and how many volume controls there are.
    bool openResult = true;
    int volumeControls = 1;
    uint32_t volume = kMusicVolumeMax;

private:
    std::mutex m_lock;
    std::vector<MusicCall> m_calls;
    bool m_open = false;
    bool m_playing = false;
    bool m_paused = false;
    uint64_t m_serial = 0;
};

}  // namespace plat
