// The effects' frame: every pool full (1024 two-line balloons over the
// view, 108 bolts of 15 segments, every other pool at 12, the fire birds
// with their 80 flames among them) drawn in one
// DrawAll, and a busy battle frame (a full pool of damage numbers, 40
// balloons, nine bolts, a fire storm, three missiles, twelve sparkles, each
// kept at that count), against a memset of the 800 x 600 frame.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "BusyBattle.h"
#include "EffectBed.h"
#include "RatioReporter.h"
#include "core/AnimSpriteSet.h"
#include "world/BGLayer.h"
#include "world/Character.h"

namespace {

constexpr int kSpeakers = 64;
const char kTwoLines[] = "a chat line long enough to need both of the balloon's lines, more";

struct Field {
    CEffectBed bed;
    CCharacter* me = nullptr;
    std::vector<CCharacter*> speakers;
    int wx = 0, wy = 0;  // world pixel of the view's top left

    Field()
    {
        me = &bed.bed.Me(40, 40);
        for (int i = 0; i < kSpeakers; ++i)
            speakers.push_back(&bed.bed.Add(100 + i, 34 + i % 12, 34 + i / 12 % 12, 1));
        bed.Ground().ScreenToWorld(0, 0, wx, wy);
        for (int i = 0; i < 8; ++i)
            bed.Layer().m_deathMarks[static_cast<size_t>(i)] = {speakers[static_cast<size_t>(i)], me};
        bed.Layer().m_deathMarkFlag = 1;
    }
    CRleImage* Image() { return bed.Layer().GetCharSet(0)->GetFrame(0); }
    void Balloons(int n)
    {
        auto& all = bed.fx.Balloons();
        for (int i = 0; i < n; ++i)
            if (!all[static_cast<size_t>(i)].IsActive())
                all[static_cast<size_t>(i)].Init(&bed.fx, speakers[static_cast<size_t>(i % kSpeakers)], kTwoLines,
                                                 15);
    }
    // Starts from each kind until its pool refuses: idle slots are taken
    // again, so the pools stay full from frame to frame.
    void FillEveryPool()
    {
        CEffectManager& fx = bed.fx;
        auto fill = [](auto start) {
            while (start()) {
            }
        };
        const int x = wx + 400, y = wy + 300;
        fill([&] { return fx.StartDamage(x, y + 90, -1234, 0, me); });
        fill([&] { return fx.StartDeathMan(x, y, 0); });
        fill([&] { return fx.StartFireStomMain(x, y, me); });
        fill([&] { return fx.StartFireStom(x, y, 0); });
        fill([&] { return fx.StartUseItem(x, y, 0); });
        fill([&] { return fx.StartUseItemWave(x, y); });
        for (int c = CEffectManager::colourRed; c <= CEffectManager::colourYellow; ++c) {
            fill([&] { return fx.StartUseItemColor(c, x, y); });
            fill([&] { return fx.StartUseItemWaveColor(c, x, y); });
        }
        for (int c = 0; c < CEffectManager::kUsedItemPools; ++c)
            fill([&] { return fx.StartUsedItemColor(c, x, y); });
        fill([&] { return fx.StartPoseidon(x, y, 0); });
        fill([&] { return fx.StartPoseidonWave(x, y, 0); });
        fill([&] { return fx.StartDeathManSub(x, y, 0, 30, me); });
        fill([&] { return fx.StartEarthquake(x, y); });
        fill([&] { return fx.StartGhostCalling(x, y, 0); });
        fill([&] { return fx.StartHinotori(x, y, 0); });
        fill([&] { return fx.StartHellion(x, y, 0); });
        fill([&] { return fx.StartSalamander(x, y); });
        fill([&] { return fx.StartScreenShake(x, y, 8, 52); });
        fill([&] { return fx.StartEffectFire(wx, wy); });
        fill([&] { return fx.StartGeneric108(wx + 100, wy + 100, wx + 700, wy + 400, Image()); });
        for (int pool = 1; pool <= CEffectManager::kLightningPools; ++pool)
            fill([&] { return fx.StartBigEffect(pool, wx + 100, wy + 400, wx + 560, wy + 20, pool % 3, pool % 3); });
        Balloons(CEffectManager::kBalloons);
    }
    // The battle's effects and 40 balloons, the same mix in every frame.
    void FillBattle()
    {
        battle.Keep(bed.fx, wx + 400, wy + 300, me, Image());
        Balloons(40);
    }
    CBusyBattle battle;
};

Field& TheField()
{
    static Field f;
    return f;
}

// Each iteration draws one frame; the pools are topped up between frames,
// outside the time.
template <class Fill>
void DrawFrames(benchmark::State& state, Fill fill)
{
    Field& f = TheField();
    f.bed.fx.ClearAll();
    f.battle.Forget();
    fill(f);
    int active = 0;
    for (auto _ : state) {
        f.bed.fx.DrawAll(f.bed.screen.data());
        benchmark::DoNotOptimize(f.bed.screen.data());
        state.PauseTiming();
        fill(f);
        active = f.bed.fx.CountActive();
        state.ResumeTiming();
    }
    state.counters["active"] = active;
}

void BM_DrawAllPoolsFull(benchmark::State& state)
{
    DrawFrames(state, [](Field& f) { f.FillEveryPool(); });
}
BENCHMARK(BM_DrawAllPoolsFull)->Unit(benchmark::kMillisecond);

void BM_DrawBusyBattleFrame(benchmark::State& state)
{
    DrawFrames(state, [](Field& f) { f.FillBattle(); });
}
BENCHMARK(BM_DrawBusyBattleFrame)->Unit(benchmark::kMillisecond);

void BM_MemsetFrameReference(benchmark::State& state)
{
    std::vector<uint8_t> screen(800 * 600);
    int v = 0;
    for (auto _ : state) {
        std::memset(screen.data(), ++v & 255, screen.size());
        benchmark::DoNotOptimize(screen.data());
    }
}
BENCHMARK(BM_MemsetFrameReference)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double full = reporter.Time("BM_DrawAllPoolsFull");
    const double battle = reporter.Time("BM_DrawBusyBattleFrame");
    const double ref = reporter.Time("BM_MemsetFrameReference");
    if (full > 0 && battle > 0 && ref > 0)
        std::printf("every pool full: %.3f ms (budget 8 ms), busy battle frame: %.3f ms (budget 0.5 ms); "
                    "against a memset of the frame (%.4f ms): %.1f and %.1f\n",
                    full, battle, ref, full / ref, battle / ref);
    benchmark::Shutdown();
    return 0;
}
