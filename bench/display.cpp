// The display's work at present on a 32-bit desktop: the 800 x 600 frame of
// palette indices converted through the colour table, against a plain lookup
// loop over the same pixels; and building the palette's tables at start-up.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/Display.h"
#include "core/PaletteManager.h"
#include "fixtures/PalBuilder.h"
#include "platform/headless/HeadlessPlatform.h"

#include "RatioReporter.h"

namespace {

constexpr int kW = 800;
constexpr int kH = 600;

struct Data {
    std::unique_ptr<plat::CHeadlessPlatform> platform;
    std::unique_ptr<CDisplay> display;
    std::vector<uint8_t> frame = std::vector<uint8_t>(kW * kH);
    std::vector<uint8_t> surface = std::vector<uint8_t>(kW * kH * 4);
    std::array<uint32_t, 256> table{};
} g;

void Setup()
{
    if (g.display)
        return;
    g.platform = std::make_unique<plat::CHeadlessPlatform>();
    g.platform->video.desktopDepth = 32;
    DisplayParams p;
    p.fullScreen = 0;
    g.display = std::make_unique<CDisplay>(p);
    std::mt19937 rng(7);
    uint8_t entries[1024];
    for (auto& b : entries)
        b = static_cast<uint8_t>(rng());
    g.display->SetPaletteEntries(entries);
    CDisplay::BuildTable32(entries, g.table);
    for (auto& b : g.frame)
        b = static_cast<uint8_t>(rng());
}

void BM_ConvertFrame32(benchmark::State& state)
{
    Setup();
    for (auto _ : state) {
        g.display->Convert(g.frame.data(), kW, g.surface.data(), kW * 4, 32);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kW * kH);
}
BENCHMARK(BM_ConvertFrame32)->Repetitions(7)->Unit(benchmark::kMicrosecond);

void BM_LookupLoop32(benchmark::State& state)
{
    Setup();
    for (auto _ : state) {
        uint32_t* dst = reinterpret_cast<uint32_t*>(g.surface.data());
        const uint8_t* src = g.frame.data();
        for (int i = 0; i < kW * kH; ++i)
            dst[i] = g.table[src[i]];
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kW * kH);
}
BENCHMARK(BM_LookupLoop32)->Repetitions(7)->Unit(benchmark::kMicrosecond);

// What start-up does after loading the palette.
void BM_BuildPaletteTables(benchmark::State& state)
{
    Setup();
    auto pm = std::make_unique<CPaletteManager>(nullptr);
    std::vector<uint8_t> pal = BuildPalFile(TestPalette());
    pm->ReadPalette(pal.data(), pal.size());
    for (auto _ : state) {
        pm->BuildShadeTables();
        pm->BuildTintTables();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BuildPaletteTables)->Repetitions(5)->Unit(benchmark::kMillisecond);


}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& t = reporter.times;
    if (t.count("BM_ConvertFrame32") && t.count("BM_LookupLoop32")) {
        std::printf("frame conversion 8 -> 32 bits: %.3f ms (target < 1 ms)\n", t["BM_ConvertFrame32"] / 1000.0);
        std::printf("BM_ConvertFrame32 / BM_LookupLoop32 speed: %.2f (target >= 0.70)\n",
                    t["BM_LookupLoop32"] / t["BM_ConvertFrame32"]);
    }
    if (t.count("BM_BuildPaletteTables"))
        std::printf("palette tables at start-up: %.1f ms (target < 70 ms)\n", t["BM_BuildPaletteTables"]);
    g.display.reset();
    g.platform.reset();
    benchmark::Shutdown();
    return 0;
}
