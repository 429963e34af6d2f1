// Drawing a field's worth of character frames: 200 run-length frames of
// 64 x 96 per game frame, against memcpy of the same pixel count.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "RatioReporter.h"
#include "core/AnimSpriteSet.h"
#include "core/Blit.h"
#include "core/ByteReader.h"
#include "fixtures/RleEncoder.h"
#include "fixtures/SpriteWriter.h"

namespace {

constexpr int kSprites = 200;
constexpr uint32_t kW = 64;
constexpr uint32_t kH = 96;

// A standing figure: head, body and legs as ellipses, with a gap between
// the legs and some shading, so rows hold one to three runs.
PixelMatrix Character(uint32_t seed)
{
    PixelMatrix m(kW, kH);
    auto in = [](int x, int y, int cx, int cy, int rx, int ry) {
        const int dx = x - cx, dy = y - cy;
        return dx * dx * ry * ry + dy * dy * rx * rx <= rx * rx * ry * ry;
    };
    const int sway = static_cast<int>(seed % 5) - 2;
    for (int y = 0; y < static_cast<int>(kH); ++y) {
        for (int x = 0; x < static_cast<int>(kW); ++x) {
            const bool head = in(x, y, 32 + sway, 14, 9, 11);
            const bool body = in(x, y, 32, 45, 17, 22);
            const bool arm = in(x, y, 12 + sway, 48, 5, 16) || in(x, y, 52 - sway, 48, 5, 16);
            const bool legs = y > 62 && y < 94 && ((x > 20 + sway && x < 30 + sway) || (x > 34 - sway && x < 44 - sway));
            if (head || body || arm || legs)
                m.At(static_cast<uint32_t>(x), static_cast<uint32_t>(y)) =
                    static_cast<uint8_t>(100 + ((x / 3 + y / 5 + seed) % 40));
        }
    }
    return m;
}

struct Fixture {
    CAnimSpriteSet set;
    std::vector<uint8_t> screen = std::vector<uint8_t>(kScreenWidth * kScreenHeight);
    Fixture()
    {
        std::vector<SpriteFrameDef> frames;
        for (uint32_t i = 0; i < 8; ++i)
            frames.push_back(CSpriteWriter::Frame(CRleEncoder::Encode(Character(i))));
        const auto file = CSpriteWriter::AnimSection("char", frames, {});
        CByteReader r(file.data(), file.size());
        set.Read(r);
    }
};

Fixture& Data()
{
    static Fixture f;
    return f;
}

void BM_Draw200Characters(benchmark::State& state)
{
    Fixture& f = Data();
    SetSpriteClipRect(0, 0, 800, 480);
    const BlitTarget target = ScreenTarget(f.screen.data());
    for (auto _ : state) {
        for (int i = 0; i < kSprites; ++i) {
            // Spread over the field, some across its edges.
            const int x = (i * 137) % 860 - 30;
            const int y = (i * 71) % 520 - 40;
            f.set.GetFrame(i % 8)->Draw(x, y, target);
        }
        benchmark::DoNotOptimize(f.screen.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kSprites * kW * kH);
}
BENCHMARK(BM_Draw200Characters)->Unit(benchmark::kMicrosecond);

void BM_MemcpyReference(benchmark::State& state)
{
    Fixture& f = Data();
    std::vector<uint8_t> from(kW * kH, 9);
    for (auto _ : state) {
        for (int i = 0; i < kSprites; ++i) {
            const size_t at = static_cast<size_t>((i * 4099) % (800 * 600 - kW * kH));
            std::memcpy(f.screen.data() + at, from.data(), kW * kH);
        }
        benchmark::DoNotOptimize(f.screen.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kSprites * kW * kH);
}
BENCHMARK(BM_MemcpyReference)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double draw = reporter.Time("BM_Draw200Characters");
    const double ref = reporter.Time("BM_MemcpyReference");
    if (draw > 0 && ref > 0)
        std::printf("200 character frames: %.1f us per game frame (budget 1000 us); memcpy of the same "
                    "pixels / drawing: %.2f\n", draw, ref / draw);
    benchmark::Shutdown();
    return 0;
}
