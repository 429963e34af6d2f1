// Starting a sound from the warm cache (the name is found in a free slot, no
// reload) through CSoundManager::PlayAt, and loading and starting one that
// is not cached, each on a do-nothing device and on the real SDL2_mixer
// backend (dummy driver); a 4 KB memcpy is the reference kernel.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "audio/SoundManager.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/WaveWriter.h"
#include "platform/Sound.h"
#if defined(QUORVEL_HAVE_SDL)
#include "platform/sdl/SdlAudio.h"
#include "platform/sdl/SdlSoundDevice.h"

#include "RatioReporter.h"
#endif

namespace {

// A device whose buffers accept everything and are never heard.
class CQuietBuffer : public plat::ISoundBuffer {
public:
    bool Write(const uint8_t*, size_t) override { return true; }
    bool SetVolume(int32_t) override { return true; }
    bool Play(bool) override { m_playing = true; return true; }
    bool Stop() override { m_playing = false; return true; }
    bool Rewind() override { return true; }
    bool IsPlaying() override { return m_playing; }
    bool Has3D() const override { return true; }
    void Set3DEnabled(bool) override {}
    void Set3DPosition(float, float, float) override {}

private:
    bool m_playing = false;
};

class CQuietDevice : public plat::ISoundDevice {
public:
    bool Open() override { return true; }
    bool CreatePrimary3D() override { return true; }
    bool CreateListener() override { return true; }
    void SetDistanceFactor(float) override {}
    void SetListenerPosition(float, float, float) override {}
    std::unique_ptr<plat::ISoundBuffer> CreateBuffer(const plat::PcmFormat&, uint32_t, bool) override
    {
        return std::make_unique<CQuietBuffer>();
    }
};

constexpr int kNames = 16;
std::unique_ptr<CTestArchive> g_archive;
std::vector<std::string> g_names;

void Setup()
{
    if (g_archive)
        return;
    CArchiveBuilder b;
    for (int i = 0; i < kNames; ++i) {
        g_names.push_back("effect" + std::to_string(i) + ".wav");
        b.Add(g_names.back(), CWaveWriter::SimpleWave(300));
    }
    g_archive = std::make_unique<CTestArchive>(b);
}

// PlayAt of each of 16 cached names in turn; the sound is stopped again so
// that its slot stays free for the next round (the stop is timed too).
// After the first round slot k holds name k.
void WarmPlays(benchmark::State& state, plat::ISoundDevice& device)
{
    Setup();
    plat::SetSoundDevice(&device);
    CSoundManager manager;
    manager.Reset();
    if (manager.Init() == 2) {
        state.SkipWithError("no sound device");
        return;
    }
    for (const std::string& n : g_names) {
        manager.PlayAt(n, 0, 0);
        manager.StopAll();
    }
    size_t i = 0;
    for (auto _ : state) {
        const int k = static_cast<int>(i++ % kNames);
        int r = manager.PlayAt(g_names[static_cast<size_t>(k)], 0, 0);
        benchmark::DoNotOptimize(r);
        manager.GetSlot(k)->Stop();
    }
    manager.Reset();
    plat::SetSoundDevice(nullptr);
}

void BM_PlayAtWarmCache(benchmark::State& state)
{
    CQuietDevice device;
    WarmPlays(state, device);
}
BENCHMARK(BM_PlayAtWarmCache);

#if defined(QUORVEL_HAVE_SDL)
void BM_PlayAtWarmCacheSdl(benchmark::State& state)
{
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    plat::CSdlAudio audio;
    plat::CSdlSoundDevice device(audio);
    WarmPlays(state, device);
    device.Shutdown();
    audio.Close();
}
BENCHMARK(BM_PlayAtWarmCacheSdl);
#endif

// A cache miss: the entry read from the archive (in the OS's file cache),
// parsed, put in a device buffer (converted to the mixer's format on SDL)
// and started.
void LoadAndStart(benchmark::State& state, plat::ISoundDevice& device)
{
    Setup();
    plat::SetSoundDevice(&device);
    CSoundManager manager;
    manager.Reset();
    if (manager.Init() == 2) {
        state.SkipWithError("no sound device");
        return;
    }
    size_t i = 0;
    for (auto _ : state) {
        CSoundBuffer buffer(g_names[i++ % kNames]);
        bool ok = buffer.LoadFromArchive() && buffer.Play(false);
        benchmark::DoNotOptimize(ok);
    }
    manager.Reset();
    plat::SetSoundDevice(nullptr);
}

void BM_LoadFromArchive(benchmark::State& state)
{
    CQuietDevice device;
    LoadAndStart(state, device);
}
BENCHMARK(BM_LoadFromArchive);

#if defined(QUORVEL_HAVE_SDL)
void BM_LoadFromArchiveSdl(benchmark::State& state)
{
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    plat::CSdlAudio audio;
    plat::CSdlSoundDevice device(audio);
    LoadAndStart(state, device);
    device.Shutdown();
    audio.Close();
}
BENCHMARK(BM_LoadFromArchiveSdl);
#endif

void BM_Memcpy4K(benchmark::State& state)
{
    std::vector<uint8_t> a(4096, 1), b(4096);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Memcpy4K);


}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& t = reporter.times;
    if (t.count("BM_Memcpy4K")) {
        const double ref = t["BM_Memcpy4K"];
        for (const char* name :
             {"BM_PlayAtWarmCache", "BM_PlayAtWarmCacheSdl", "BM_LoadFromArchive", "BM_LoadFromArchiveSdl"}) {
            if (!t.count(name))
                continue;
            const bool warm = std::strstr(name, "Warm") != nullptr;
            std::printf("%s / memcpy 4 KB time ratio: %.1f (%.2f us%s)\n", name, t[name] / ref, t[name] / 1000.0,
                        warm ? "; target < 50 us" : "");
        }
    }
    g_archive.reset();
    benchmark::Shutdown();
    return 0;
}
