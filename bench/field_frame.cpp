// The object layer's frame on a populated stage: 300 characters walking,
// 1,000 structures and 100 NPCs round my character, so the draw list is
// full. Process (updates, sort, picking; no back buffer) and the drawing of
// the sorted list on an 800 x 600 buffer, each against a memcpy of one
// 800 x 600 frame measured in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "RatioReporter.h"
#include "app/MouseState.h"
#include "core/ByteReader.h"
#include "fixtures/ObrBuilder.h"
#include "support/CreatureBed.h"
#include "world/Character.h"
#include "world/ObjLayer.h"

namespace {

constexpr int kCentre = 256;
constexpr int kCharacters = 300, kStructures = 1000, kNpcs = 100;
constexpr size_t kFrameBytes = 800 * 600;

struct Stage {
    std::unique_ptr<CCreatureBed> bed = std::make_unique<CCreatureBed>(512);
    std::vector<CCharacter*> walkers;
    int structures = 0;
    Stage()
    {
        CObjLayer& layer = bed->Layer();
        // A one-cell building of one piece, not solid.
        CObrBuilder bld("BLD");
        bld.Building("post", "p").ItemSet("p", 1, 1, {0}, {0});
        const Bytes file = bld.Build();
        CByteReader r(file.data(), file.size());
        layer.ReadObr(r);
        bed->Me(kCentre, kCentre);
        // A post on nearly every cell within 16 of me (about 340 cells are
        // in view), NPCs and walkers standing among them: more than the
        // draw list holds.
        for (int dy = -16; dy <= 16 && structures < kStructures; ++dy)
            for (int dx = -16; dx <= 16 && structures < kStructures; ++dx)
                if ((dx || dy) && layer.AddStructure("post", kCentre + dx, kCentre + dy, "post", nullptr, 0))
                    ++structures;
        for (int i = 0; i < kNpcs; ++i)
            layer.AddNpc("npc", kCentre - 12 + (i % 10) * 2 + 1, kCentre - 10 + (i / 10) * 2 + 1, 0, 1305);
        for (int i = 0; i < kCharacters; ++i) {
            const int x = kCentre - 15 + (i % 20) * 2, y = kCentre - 15 + (i / 20) * 2;
            CCharacter* c = layer.AddCharacter(1000 + i, x, y, 0, 12, 0);
            if (c)
                walkers.push_back(c);
        }
        g_mouseState.SetMouseEvent(0, 400, 224);
    }
    // Everyone walks back and forth over four cells.
    void Send(int round)
    {
        for (size_t i = 0; i < walkers.size(); ++i) {
            const int x = kCentre - 15 + static_cast<int>(i % 20) * 2, y = kCentre - 15 + static_cast<int>(i / 20) * 2;
            walkers[i]->MoveTo(round & 1 ? x : x + 1, y + (round & 1 ? 0 : 1), 1);
        }
    }
};

void BM_Process(benchmark::State& state)
{
    Stage s;
    CObjLayer& layer = s.bed->Layer();
    int frames = 0, drawn = 0;
    for (auto _ : state) {
        if (frames++ % 32 == 0)
            s.Send(frames / 32);
        benchmark::DoNotOptimize(layer.Process());
        drawn = layer.DrawList().GetCount();
    }
    state.counters["entries"] = drawn;
    state.counters["walkers"] = static_cast<double>(s.walkers.size());
    state.counters["structures"] = s.structures;
}
BENCHMARK(BM_Process)->Unit(benchmark::kMicrosecond);

void BM_DrawSortedList(benchmark::State& state)
{
    Stage s;
    CObjLayer& layer = s.bed->Layer();
    layer.Process();
    std::vector<uint8_t> screen(kFrameBytes);
    for (auto _ : state) {
        layer.DrawSortedList(screen.data());
        benchmark::ClobberMemory();
    }
    state.counters["entries"] = layer.DrawList().GetCount();
}
BENCHMARK(BM_DrawSortedList)->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_FrameCopyReference)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double process = reporter.Time("BM_Process");         // us
    const double draw = reporter.Time("BM_DrawSortedList");     // us
    const double copy = reporter.Time("BM_FrameCopyReference"); // us
    if (process > 0 && draw > 0 && copy > 0)
        std::printf("object layer frame: Process %.0f us + drawing %.0f us = %.0f us (budget 2000, drawing 1000); "
                    "in 800x600 frame copies: %.1f + %.1f\n",
                    process, draw, process + draw, process / copy, draw / copy);
    return 0;
}
