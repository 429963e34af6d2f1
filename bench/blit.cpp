// The blit routines against the reference kernels they must keep up with:
// memcpy, memset and memmove for the opaque routines, a table-lookup loop of
// the same run shape for the remapping and blending ones.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/Blit.h"
#include "fixtures/RleFrames.h"

#include "RatioReporter.h"

namespace {

constexpr int kFrameW = 512;
constexpr int kFrameH = 256;
constexpr int kX = 100;
constexpr int kY = 100;

struct Run {
    size_t dst;  // offset in the screen
    size_t src;  // offset in the pixel pool
    int count;
};

struct Data {
    std::vector<uint8_t> screen = std::vector<uint8_t>(800 * 600, 3);
    std::vector<uint8_t> decoded;
    std::vector<uint8_t> rle, rleLevels;
    std::vector<uint8_t> pool, poolLevels;  // the runs' pixels, in order
    std::vector<Run> runs;
    size_t written = 0;
    std::vector<uint8_t> remap = std::vector<uint8_t>(256);
    std::vector<uint8_t> blend = std::vector<uint8_t>(8 * 65536);
    std::vector<uint8_t> contiguous = std::vector<uint8_t>(kFrameW * kFrameH);
} g;

void Setup()
{
    if (!g.decoded.empty())
        return;
    std::mt19937 rng(1);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    std::vector<uint8_t> px(kFrameW * kFrameH);
    for (auto& b : px)
        b = static_cast<uint8_t>(rng());
    g.decoded = BuildDecodedFrame(px, kFrameW, kFrameH);
    for (size_t i = 0; i < g.remap.size(); ++i)
        g.remap[i] = static_cast<uint8_t>(255 - i);
    for (size_t i = 0; i < g.blend.size(); ++i)
        g.blend[i] = static_cast<uint8_t>(i * 13 + (i >> 8));

    // Runs of 4..64 pixels; the skips make about a third of the frame
    // transparent.
    std::vector<RleRow> rows(kFrameH), levelRows(kFrameH);
    for (int y = 0; y < kFrameH; ++y) {
        int col = 0;
        for (;;) {
            const int count = pick(4, 64);
            const int skip = pick(0, count);
            if (col + skip + count > kFrameW)
                break;
            RleRun run, lrun;
            run.skip = lrun.skip = static_cast<uint8_t>(skip);
            col += skip;
            g.runs.push_back(Run{static_cast<size_t>((kY + y) * 800 + kX + col), g.pool.size(), count});
            for (int i = 0; i < count; ++i) {
                const uint8_t c = static_cast<uint8_t>(rng());
                const uint8_t level = static_cast<uint8_t>(pick(0, 7));
                run.pixels.push_back(c);
                lrun.pixels.push_back(level);
                lrun.pixels.push_back(c);
                g.pool.push_back(c);
                g.poolLevels.push_back(level);
                g.poolLevels.push_back(c);
            }
            col += count;
            g.written += static_cast<size_t>(count);
            rows[y].push_back(std::move(run));
            levelRows[y].push_back(std::move(lrun));
        }
    }
    g.rle = BuildRleFrame(kFrameW, rows);
    g.rleLevels = BuildRleFrame(kFrameW, levelRows);
    // The count bytes of the level form are in pixels.
    size_t p = 8;
    for (int y = 0; y < kFrameH; ++y)
        for (;;) {
            const uint8_t bytes = g.rleLevels[p + 1];
            g.rleLevels[p + 1] = static_cast<uint8_t>(bytes / 2);
            p += 2 + bytes;
            if (g.rleLevels[p++] == 0)
                break;
        }
}

BlitTarget Screen() { return ScreenTarget(g.screen.data()); }

void Finish(benchmark::State& state, size_t bytes)
{
    benchmark::ClobberMemory();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

// ---- opaque routines -----------------------------------------------------------

void BM_BlitDecoded(benchmark::State& state)
{
    Setup();
    SetSpriteClipRect(0, 0, 800, 600);
    for (auto _ : state) {
        BlitDecoded(kX, kY, g.decoded.data(), g.decoded.size(), Screen());
        benchmark::ClobberMemory();
    }
    Finish(state, kFrameW * kFrameH);
}
BENCHMARK(BM_BlitDecoded)->Repetitions(7);

void BM_MemcpyVisible(benchmark::State& state)
{
    Setup();
    for (auto _ : state) {
        std::memcpy(g.screen.data(), g.decoded.data() + 8, kFrameW * kFrameH);
        benchmark::ClobberMemory();
    }
    Finish(state, kFrameW * kFrameH);
}
BENCHMARK(BM_MemcpyVisible)->Repetitions(7);

void BM_ScreenFillRect(benchmark::State& state)
{
    Setup();
    for (auto _ : state) {
        ScreenFillRect(Screen(), 0, 0, 800, 600, 7);
        benchmark::ClobberMemory();
    }
    Finish(state, 800 * 600);
}
BENCHMARK(BM_ScreenFillRect)->Repetitions(7);

void BM_Memset(benchmark::State& state)
{
    Setup();
    for (auto _ : state) {
        std::memset(g.screen.data(), 7, 800 * 600);
        benchmark::ClobberMemory();
    }
    Finish(state, 800 * 600);
}
BENCHMARK(BM_Memset)->Repetitions(7);

void BM_ScreenScrollVertical(benchmark::State& state)
{
    Setup();
    ScreenInitSurface(g.screen.data(), 800, 600);
    int n = 16;
    for (auto _ : state) {
        ScreenScrollVertical(0, n);
        n = -n;
        benchmark::ClobberMemory();
    }
    Finish(state, 800 * 584);
}
BENCHMARK(BM_ScreenScrollVertical)->Repetitions(7);

void BM_Memmove(benchmark::State& state)
{
    Setup();
    int n = 16;
    for (auto _ : state) {
        if (n > 0)
            std::memmove(g.screen.data() + 16 * 800, g.screen.data(), 800 * 584);
        else
            std::memmove(g.screen.data(), g.screen.data() + 16 * 800, 800 * 584);
        n = -n;
        benchmark::ClobberMemory();
    }
    Finish(state, 800 * 584);
}
BENCHMARK(BM_Memmove)->Repetitions(7);

// ---- run-length sprites ------------------------------------------------------

void BM_BlitRle(benchmark::State& state)
{
    Setup();
    SetSpriteClipRect(0, 0, 800, 600);
    for (auto _ : state) {
        BlitRle(kX, kY, g.rle.data(), g.rle.size(), Screen());
        benchmark::ClobberMemory();
    }
    Finish(state, g.written);
}
BENCHMARK(BM_BlitRle)->Repetitions(7);

void BM_MemcpyWritten(benchmark::State& state)
{
    Setup();
    for (auto _ : state) {
        std::memcpy(g.contiguous.data(), g.pool.data(), g.written);
        benchmark::ClobberMemory();
    }
    Finish(state, g.written);
}
BENCHMARK(BM_MemcpyWritten)->Repetitions(7);

// memcpy once per run of the same frame, from a prepared list.
void BM_MemcpyRuns(benchmark::State& state)
{
    Setup();
    for (auto _ : state) {
        uint8_t* screen = g.screen.data();
        for (const Run& r : g.runs)
            std::memcpy(screen + r.dst, g.pool.data() + r.src, static_cast<size_t>(r.count));
        benchmark::ClobberMemory();
    }
    Finish(state, g.written);
}
BENCHMARK(BM_MemcpyRuns)->Repetitions(7);

void BM_BlitRleRemap(benchmark::State& state)
{
    Setup();
    SetSpriteClipRect(0, 0, 800, 600);
    for (auto _ : state) {
        BlitRleRemap(kX, kY, g.rle.data(), g.rle.size(), Screen(), g.remap.data());
        benchmark::ClobberMemory();
    }
    Finish(state, g.written);
}
BENCHMARK(BM_BlitRleRemap)->Repetitions(7);

// The same runs from a prepared list: what is left when parsing costs nothing.
void BM_LookupRuns(benchmark::State& state)
{
    Setup();
    const uint8_t* table = g.remap.data();
    for (auto _ : state) {
        uint8_t* screen = g.screen.data();
        for (const Run& r : g.runs) {
            const uint8_t* s = g.pool.data() + r.src;
            uint8_t* d = screen + r.dst;
            for (int i = 0; i < r.count; ++i)
                d[i] = table[s[i]];
        }
        benchmark::ClobberMemory();
    }
    Finish(state, g.written);
}
BENCHMARK(BM_LookupRuns)->Repetitions(7);

void BM_BlitRleBlend(benchmark::State& state)
{
    Setup();
    SetSpriteClipRect(0, 0, 800, 600);
    for (auto _ : state) {
        BlitRleBlend(kX, kY, g.rle.data(), g.rle.size(), Screen(), g.blend.data());
        benchmark::ClobberMemory();
    }
    Finish(state, g.written);
}
BENCHMARK(BM_BlitRleBlend)->Repetitions(7);

void BM_BlendLookupRuns(benchmark::State& state)
{
    Setup();
    const uint8_t* table = g.blend.data();
    for (auto _ : state) {
        uint8_t* screen = g.screen.data();
        for (const Run& r : g.runs) {
            const uint8_t* s = g.pool.data() + r.src;
            uint8_t* d = screen + r.dst;
            for (int i = 0; i < r.count; ++i)
                d[i] = table[static_cast<unsigned>(s[i]) << 8 | d[i]];
        }
        benchmark::ClobberMemory();
    }
    Finish(state, g.written);
}
BENCHMARK(BM_BlendLookupRuns)->Repetitions(7);

void BM_BlitRleBlendLevels(benchmark::State& state)
{
    Setup();
    SetSpriteClipRect(0, 0, 800, 600);
    for (auto _ : state) {
        BlitRleBlendLevels(kX, kY, g.rleLevels.data(), g.rleLevels.size(), Screen(), g.blend.data());
        benchmark::ClobberMemory();
    }
    Finish(state, g.written);
}
BENCHMARK(BM_BlitRleBlendLevels)->Repetitions(7);

void BM_BlendLevelsLookupRuns(benchmark::State& state)
{
    Setup();
    const uint8_t* table = g.blend.data();
    for (auto _ : state) {
        uint8_t* screen = g.screen.data();
        for (const Run& r : g.runs) {
            const uint8_t* s = g.poolLevels.data() + 2 * r.src;
            uint8_t* d = screen + r.dst;
            for (int i = 0; i < r.count; ++i)
                d[i] = table[(s[2 * i] & 7u) << 16 | static_cast<unsigned>(s[2 * i + 1]) << 8 | d[i]];
        }
        benchmark::ClobberMemory();
    }
    Finish(state, g.written);
}
BENCHMARK(BM_BlendLevelsLookupRuns)->Repetitions(7);


}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& t = reporter.times;
    std::printf("frame %d x %d: %zu runs, %zu pixels written\n", kFrameW, kFrameH, g.runs.size(), g.written);
    // Speed of the routine over the speed of its reference, same bytes.
    auto ratio = [&](const char* routine, const char* reference, double target) {
        if (t.count(routine) && t.count(reference))
            std::printf("%-24s / %-26s %.2f (target >= %.2f)\n", routine, reference, t[reference] / t[routine],
                        target);
    };
    ratio("BM_BlitDecoded", "BM_MemcpyVisible", 0.8);
    ratio("BM_ScreenFillRect", "BM_Memset", 0.8);
    ratio("BM_ScreenScrollVertical", "BM_Memmove", 0.8);
    ratio("BM_BlitRle", "BM_MemcpyWritten", 0.4);
    ratio("BM_BlitRle", "BM_MemcpyRuns", 0.4);
    ratio("BM_BlitRleRemap", "BM_LookupRuns", 0.6);
    ratio("BM_BlitRleBlend", "BM_BlendLookupRuns", 0.5);
    ratio("BM_BlitRleBlendLevels", "BM_BlendLevelsLookupRuns", 0.5);
    benchmark::Shutdown();
    return 0;
}
