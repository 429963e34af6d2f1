// The creatures' walking: one straight PathStep, the worst PathStep (both
// tracers to their 500 steps round a closed wall), and 100 creatures walking
// a whole cell in open ground and round walls. Each against a line walk of
// 27 cells over the object grid measured in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "RatioReporter.h"
#include "support/CreatureBed.h"
#include "world/ObjLayer.h"

namespace {

constexpr int kWalkers = 100;

struct Bed {
    std::unique_ptr<CCreatureBed> bed;
    Bed() : bed(std::make_unique<CCreatureBed>(512)) {}
};

// Sends c towards (gx, gy) from where it stands.
void Aim(CCharacter& c, int gx, int gy)
{
    c.EndAction();
    c.MoveTo(gx, gy, 1);
    c.StartWalk();
}

// A closed ring of wall cells round (cx, cy) at Chebyshev distance r.
void Ring(CCreatureBed& b, int cx, int cy, int r)
{
    for (int d = -r; d <= r; ++d) {
        b.Wall(cx + d, cy - r);
        b.Wall(cx + d, cy + r);
        b.Wall(cx - r, cy + d);
        b.Wall(cx + r, cy + d);
    }
}

void BM_PathStepStraight(benchmark::State& state)
{
    Bed b;
    CCharacter& c = b.bed->Add(1000, 60, 200);
    Aim(c, 460, 330);
    for (auto _ : state) {
        if (c.PathStep() != 1) {
            c.PlaceAt(60, 200);
            Aim(c, 460, 330);
        }
        b.bed->Layer().ClearObjectCellOf(c.GetLeavingX(), c.GetLeavingY(), c.GetHandle());
    }
}
BENCHMARK(BM_PathStepStraight);

void BM_PathStepBothTracersToTheLimit(benchmark::State& state)
{
    Bed b;
    // 24 wall cells round a 5 x 5 floor; the goal lies outside.
    Ring(*b.bed, 200, 200, 3);
    CCharacter& c = b.bed->Add(1000, 200, 200);
    int result = 0;
    for (auto _ : state) {
        c.PlaceAt(202, 200);
        Aim(c, 220, 200);
        result = c.PathStep();
        benchmark::DoNotOptimize(result);
    }
    state.counters["result"] = result;
}
BENCHMARK(BM_PathStepBothTracersToTheLimit)->Unit(benchmark::kMicrosecond);

// 100 creatures of speed class 12 walking back and forth; one iteration is
// the four frames of a cell, the first of which steps them all.
void Walkers(benchmark::State& state, bool walls)
{
    Bed b;
    b.bed->Me(256, 256);
    std::vector<CCharacter*> walkers;
    for (int i = 0; i < kWalkers; ++i) {
        const int x = 40 + (i % 10) * 40, y = 40 + (i / 10) * 40;
        CCharacter& c = b.bed->Add(1000 + i, x, y);
        c.GetCharRecord().SetU32(CharacterRecord::kSpeedClass, 12);
        if (walls)
            for (int dy = -4; dy <= 4; ++dy)
                b.bed->Wall(x + 6, y + dy);
        walkers.push_back(&c);
    }
    auto send = [&] {
        for (int i = 0; i < kWalkers; ++i) {
            const int x = 40 + (i % 10) * 40, y = 40 + (i / 10) * 40;
            CCharacter& c = *walkers[static_cast<size_t>(i)];
            c.MoveTo(c.GetTileX() < x + 6 ? x + 12 : x, y, 1);
        }
    };
    send();
    int frames = 0;
    for (auto _ : state) {
        b.bed->Frame(4);
        if (++frames % 14 == 0)
            send();
    }
}
void BM_HundredWalkersOpenGround(benchmark::State& state) { Walkers(state, false); }
void BM_HundredWalkersRoundWalls(benchmark::State& state) { Walkers(state, true); }
BENCHMARK(BM_HundredWalkersOpenGround)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HundredWalkersRoundWalls)->Unit(benchmark::kMicrosecond);

void BM_LineWalkReference(benchmark::State& state)
{
    Bed b;
    CCharacter& c = b.bed->Add(1000, 100, 100);
    int x = 0, y = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(c.TraceLine(100, 100, 127, 111, &x, &y));
        benchmark::DoNotOptimize(x);
    }
}
BENCHMARK(BM_LineWalkReference);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double straight = reporter.Time("BM_PathStepStraight");                 // ns
    const double worst = reporter.Time("BM_PathStepBothTracersToTheLimit");       // us
    const double open = reporter.Time("BM_HundredWalkersOpenGround");             // us
    const double walls = reporter.Time("BM_HundredWalkersRoundWalls");            // us
    const double line = reporter.Time("BM_LineWalkReference");                    // ns
    if (straight > 0 && line > 0)
        std::printf("straight PathStep: %.0f ns (budget 2000); 27-cell line walk / it: %.2f\n", straight,
                    line / straight);
    if (worst > 0 && line > 0)
        std::printf("PathStep with both tracers to 500: %.1f us (budget 500); line walks per one: %.0f\n", worst,
                    worst * 1000 / line);
    if (open > 0 && walls > 0 && line > 0)
        std::printf("100 walkers, the 4 frames of a cell: open ground %.0f us (budget 1000 a frame), round walls "
                    "%.0f us (budget 5000 a frame); line walks per frame cycle: %.0f, %.0f\n",
                    open, walls, open * 1000 / line, walls * 1000 / line);
    return 0;
}
