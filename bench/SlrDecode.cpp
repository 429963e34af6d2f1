// CSlrList::Decode against memcpy of the bytes it produces.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "BenchRatio.h"
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
        std::vector<SpriteFrameSpec> frames;
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

void BM_SlrDecode(benchmark::State& state)
{
    const Fixture& f = Data();
    CSlrList source;
    source.LoadFromMemory(f.file.data(), f.file.size());
    for (auto _ : state) {
        state.PauseTiming();
        CSlrList list(source);
        state.ResumeTiming();
        list.Decode();
        benchmark::DoNotOptimize(list.GetFrame(0));
        state.PauseTiming();
        list.Free();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.outBytes));
}
BENCHMARK(BM_SlrDecode);

void BM_MemcpyReference(benchmark::State& state)
{
    const Fixture& f = Data();
    std::vector<uint8_t> from(f.outBytes, 7);
    for (auto _ : state) {
        // Fresh buffers as Decode allocates them, of the same sizes.
        std::vector<std::vector<uint8_t>> out(8);
        for (size_t i = 0; i < 8; ++i) {
            out[i].resize(f.outBytes / 8);
            std::memcpy(out[i].data(), from.data() + i * (f.outBytes / 8), f.outBytes / 8);
        }
        benchmark::DoNotOptimize(out[0].data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.outBytes));
}
BENCHMARK(BM_MemcpyReference);

void BM_MemcpyWarm(benchmark::State& state)
{
    const Fixture& f = Data();
    std::vector<uint8_t> from(f.outBytes, 7), to(f.outBytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), f.outBytes);
        benchmark::DoNotOptimize(to.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.outBytes));
}
BENCHMARK(BM_MemcpyWarm);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double decode = reporter.Time("BM_SlrDecode");
    const double ref = reporter.Time("BM_MemcpyReference");
    const double warm = reporter.Time("BM_MemcpyWarm");
    if (decode > 0 && ref > 0 && warm > 0)
        std::printf("Decode speed / memcpy into fresh buffers: %.2f; / memcpy into a warm buffer: %.2f\n",
                    ref / decode, warm / decode);
    benchmark::Shutdown();
    return 0;
}
