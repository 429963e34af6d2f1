// A full colony: 280 working facilities (every type, each producing and
// using energy) with the twelve features, spread over the ground two map
// units apart. One production tick, and one colony frame (the ground under
// the camera and every object), against memcpy of the colony view.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "RatioReporter.h"
#include "colony/SimBuildingTable.h"
#include "colony/SimColony.h"
#include "colony/SimCursorFacility.h"
#include "colony/SimFeature.h"
#include "colony/SimTerrain.h"
#include "core/Blit.h"
#include "core/ByteReader.h"
#include "fixtures/ColonySprites.h"
#include "fixtures/FacilityDatBuilder.h"
#include "support/TestWorld.h"

namespace {

constexpr int kFacilities = 280;
constexpr int kViewBytes = 800 * CSimTerrain::kViewHeight;

CArchiveBuilder ColonyArchive()
{
    CArchiveBuilder b = CArchiveBuilder::MinimalGame();
    CColonySprites::AddTo(b);
    return b;
}

struct Fixture {
    CTestWorld world{ColonyArchive()};
    std::vector<uint8_t> screen = std::vector<uint8_t>(800 * 600);
    Fixture()
    {
        // Every recipe code of a facility with energy, production and
        // capacity, so the tick takes every branch of its sums.
        CFacilityDatBuilder dat;
        for (const char* code : {"EEW", "EEB", "EER", "EEY", "EEL", "EWW", "EWL", "EWY", "EWR", "EWB", "ELL"}) {
            FacilityValues v;
            v.capacity = {1000000, 1000000, 1000000};
            v.energy = code[2] == 'L' ? 50 : -1;
            v.production = {3, 1, 1, 1, 0};
            dat.Add(code, v);
        }
        const Bytes file = dat.Build();
        CByteReader r(file.data(), file.size());
        g_simBuildingTable.ReadFacilityData(r);
        g_simBuildingTable.LoadSprites();
        world.MyRecord().SetU32(CharacterRecord::kServerValue28, 200);
        world.MyRecord().SetU32(CharacterRecord::kGameTime, 100000);

        g_simColony.Reset(3);
        for (int i = 0; i < kFacilities; ++i) {
            const int type = 1 + i % 57;
            g_simColony.Add(new CSimFacility(type == kSimHeadquarters ? 11 : type, (i % 20) * 2 - 20,
                                             (i / 20) * 2 - 14, 0, 1, i % 3));
        }
        g_simColony.SortByDepth();
        SetSpriteClipRect(0, 0, 800, 600);
    }
};

Fixture& Data()
{
    static Fixture f;
    return f;
}

void BM_ColonyTick(benchmark::State& state)
{
    Fixture& f = Data();
    for (auto _ : state) {
        g_simColony.m_colonyValue = 5000;
        g_simColony.Tick();
        benchmark::DoNotOptimize(g_simColony.m_colonyValue);
    }
    (void)f;
}
BENCHMARK(BM_ColonyTick)->Unit(benchmark::kMicrosecond);

void BM_ColonyFrame(benchmark::State& state)
{
    Fixture& f = Data();
    for (auto _ : state) {
        g_simTerrain.Draw(f.screen.data());
        g_simColony.DrawObjects(f.screen.data());
        benchmark::DoNotOptimize(f.screen.data());
    }
}
BENCHMARK(BM_ColonyFrame)->Unit(benchmark::kMicrosecond);

void BM_MemcpyView(benchmark::State& state)
{
    Fixture& f = Data();
    std::vector<uint8_t> from(kViewBytes, 9);
    for (auto _ : state) {
        std::memcpy(f.screen.data(), from.data(), kViewBytes);
        benchmark::DoNotOptimize(f.screen.data());
    }
}
BENCHMARK(BM_MemcpyView)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double tick = reporter.Time("BM_ColonyTick");
    const double frame = reporter.Time("BM_ColonyFrame");
    const double ref = reporter.Time("BM_MemcpyView");
    if (tick > 0 && frame > 0 && ref > 0) {
        std::printf("colony tick over %d facilities: %.1f us (budget 100 us), %.2f x memcpy of the view\n",
                    kFacilities, tick, tick / ref);
        std::printf("colony frame: %.1f us (budget 2000 us of the 33 ms frame), %.2f x memcpy of the view\n", frame,
                    frame / ref);
    }
    benchmark::Shutdown();
    return 0;
}
