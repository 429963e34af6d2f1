// CSlrList::Decode against memcpy of the bytes it produces.
#include <benchmark/benchmark.h>

#include <cstring>
#include <ctime>
#include <memory>
#include <vector>

#include "RatioReporter.h"
#include "core/SlrList.h"
#include "fixtures/RleEncoder.h"
#include "fixtures/SpriteWriter.h"

namespace {

// A window face: opaque with rounded corners, a few transparent holes and
// some detail lines, as the UI's lists are.
PixelMatrix WindowFace(uint32_t w, uint32_t h, uint32_t seed)
{
    PixelMatrix m(w, h);
    for (uint32_t y = 0; y < h; ++y) {
        for (uint32_t x = 0; x < w; ++x) {
            const uint32_t cx = x < 8 ? 8 - x : (x >= w - 8 ? x - (w - 9) : 0);
            const uint32_t cy = y < 8 ? 8 - y : (y >= h - 8 ? y - (h - 9) : 0);
            if (cx * cx + cy * cy > 64)
                continue;  // corner
            if (y > 20 && y < 30 && x > w / 2 && x < w / 2 + 12)
                continue;  // a hole
            m.At(x, y) = static_cast<uint8_t>(40 + ((x * 7 + y * 3 + seed) % 60));
        }
    }
    return m;
}

struct Fixture {
    std::vector<uint8_t> file;
    size_t outBytes = 0;
    Fixture()
    {
        std::vector<SpriteFrameDef> frames;
        for (uint32_t i = 0; i < 8; ++i)
            frames.push_back(CSpriteWriter::Frame(CRleEncoder::Encode(WindowFace(256, 192, i))));
        file = CSpriteWriter::SlrFile(frames);
        outBytes = 8 * (256 * 192 + 8);
    }
};

const Fixture& Data()
{
    static Fixture f;
    return f;
}

double Seconds()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

void BM_SlrDecode(benchmark::State& state)
{
    const Fixture& f = Data();
    CSlrList source;
    source.LoadFromMemory(f.file.data(), f.file.size());
    // Only the decode is timed; the copies it starts from are made before.
    for (auto _ : state) {
        CSlrList list(source);
        const double t0 = Seconds();
        list.Decode();
        benchmark::DoNotOptimize(list.GetFrame(0));
        state.SetIterationTime(Seconds() - t0);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.outBytes));
}
BENCHMARK(BM_SlrDecode)->UseManualTime();

void BM_MemcpyReference(benchmark::State& state)
{
    const Fixture& f = Data();
    std::vector<uint8_t> from(f.outBytes, 7);
    for (auto _ : state) {
        // Fresh buffers as Decode allocates them, of the same sizes.
        const double t0 = Seconds();
        std::vector<std::unique_ptr<uint8_t[]>> out(8);
        for (size_t i = 0; i < 8; ++i) {
            out[i].reset(new uint8_t[f.outBytes / 8]);
            std::memcpy(out[i].get(), from.data() + i * (f.outBytes / 8), f.outBytes / 8);
        }
        benchmark::DoNotOptimize(out[0].get());
        state.SetIterationTime(Seconds() - t0);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.outBytes));
}
BENCHMARK(BM_MemcpyReference)->UseManualTime();

void BM_MemcpyWarm(benchmark::State& state)
{
    const Fixture& f = Data();
    std::vector<uint8_t> from(f.outBytes, 7), to(f.outBytes);
    for (auto _ : state) {
        const double t0 = Seconds();
        std::memcpy(to.data(), from.data(), f.outBytes);
        benchmark::DoNotOptimize(to.data());
        state.SetIterationTime(Seconds() - t0);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.outBytes));
}
BENCHMARK(BM_MemcpyWarm)->UseManualTime();

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double decode = reporter.Time("BM_SlrDecode/manual_time");
    const double ref = reporter.Time("BM_MemcpyReference/manual_time");
    const double warm = reporter.Time("BM_MemcpyWarm/manual_time");
    if (decode > 0 && ref > 0 && warm > 0)
        std::printf("Decode speed / memcpy into fresh buffers: %.2f; / memcpy into a warm buffer: %.2f\n",
                    ref / decode, warm / decode);
    benchmark::Shutdown();
    return 0;
}
