#include "platform/Music.h"

#include <atomic>

#include "platform/Mci.h"

namespace plat {

namespace {

class CNullMusicDevice : public IMusicDevice {
public:
    bool Open(const std::string&) override { return false; }
    void Close() override {}
    uint64_t Play(bool) override { return 0; }
    void Stop() override {}
    int VolumeControls() override { return 0; }
    bool SetVolume(uint32_t) override { return false; }
    uint32_t GetVolume() override { return 0; }
};

CNullMusicDevice g_nullMusic;
IMusicDevice* g_music = &g_nullMusic;
std::atomic<uint64_t> g_lastSerial{0};

}  // namespace

uint64_t NewMusicSerial() { return ++g_lastSerial; }

IMusicDevice& Music() { return *g_music; }

void SetMusicDevice(IMusicDevice* device)
{
    if (!device)
        device = &g_nullMusic;
    if (device == g_music)
        return;
    Mci().CloseAll();
    g_music = device;
}

}  // namespace plat
