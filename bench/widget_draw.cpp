// The root container as the UI layer holds it in play: 60 windows, 10 of
// them open with 20 buttons each (and the closed ones without controls, or
// with 20 as well). One frame's drawing of the root, and one mouse move
// offered to every window, against a memcpy of the screen.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "RatioReporter.h"
#include "core/Blit.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/WidgetSprites.h"
#include "platform/headless/HeadlessPlatform.h"
#include "ui/ButtonWidget.h"
#include "ui/WidgetContainer.h"
#include "ui/WidgetWindow.h"

namespace {

constexpr int kWindows = 60;
constexpr int kOpenWindows = 10;
constexpr int kControls = 20;

struct Screen {
    plat::CHeadlessPlatform platform;
    std::unique_ptr<CTestArchive> archive;
    Screen()
    {
        CArchiveBuilder b;
        CWidgetSprites::AddTo(b);
        b.Add("Win.slr", CWidgetSprites::Picture(240, 180, 3));
        b.Add("Btn.slr", CWidgetSprites::File(4, 30, 16, 10));
        archive = std::make_unique<CTestArchive>(b);
    }
};

struct Fixture {
    CWidgetContainer root{1};
    std::vector<uint8_t> screen = std::vector<uint8_t>(kScreenWidth * kScreenHeight);

    explicit Fixture(bool closedControls)
    {
        static Screen files;
        for (int i = 0; i < kWindows; ++i) {
            const int32_t x = (i % 3) * 260, y = (i / 3 % 3) * 200;
            auto* w = new CWidgetWindow(100 + i, "data\\Win.slr", x, y, x, y - 600, 0);
            if (i < kOpenWindows || closedControls)
                for (int c = 0; c < kControls; ++c)
                    w->AddChild(
                        new CButtonWidget(0, "data\\Btn.slr", w, 5 + (c % 5) * 45, 10 + (c / 5) * 40, c, 15));
            root.AddChild(w);
            if (i < kOpenWindows) {
                w->SetState(CWidget::kOpen);
                w->SetPos(*w->GetOpenPos());
            }
        }
        g_uiFrameTicks = 1;
        root.Draw(screen.data());  // loads the open windows' images
    }
};

Fixture& Data(bool closedControls = false)
{
    static Fixture bare(false), full(true);
    return closedControls ? full : bare;
}

void BM_DrawRoot(benchmark::State& state)
{
    Fixture& f = Data();
    for (auto _ : state) {
        f.root.Draw(f.screen.data());
        benchmark::DoNotOptimize(f.screen.data());
    }
}
BENCHMARK(BM_DrawRoot)->Unit(benchmark::kMicrosecond);

void BM_MouseMoveToAll(benchmark::State& state)
{
    Fixture& f = Data(state.range(0) != 0);
    int32_t x = 0;
    for (auto _ : state) {
        // Over no window, so every window and control is asked.
        benchmark::DoNotOptimize(f.root.OnMouseMove(790 + (x++ & 7), 595));
    }
}
BENCHMARK(BM_MouseMoveToAll)->Arg(0)->Arg(1)->ArgName("closed_with_controls")->Unit(benchmark::kMicrosecond);

void BM_MemcpyScreenReference(benchmark::State& state)
{
    Fixture& f = Data();
    std::vector<uint8_t> from(f.screen.size(), 9);
    for (auto _ : state) {
        std::memcpy(f.screen.data(), from.data(), from.size());
        benchmark::DoNotOptimize(f.screen.data());
    }
}
BENCHMARK(BM_MemcpyScreenReference)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double draw = reporter.Time("BM_DrawRoot");
    const double move = reporter.Time("BM_MouseMoveToAll/closed_with_controls:0");
    const double moveFull = reporter.Time("BM_MouseMoveToAll/closed_with_controls:1");
    const double ref = reporter.Time("BM_MemcpyScreenReference");
    if (draw > 0 && move > 0 && moveFull > 0 && ref > 0)
        std::printf("root with %d windows (%d open, %d controls each): draw %.1f us (budget 250 us), "
                    "mouse move to all %.2f us (budget 2 us), %.2f us with %d controls on every window; "
                    "drawing / memcpy of the screen: %.2f\n",
                    kWindows, kOpenWindows, kControls, draw, move, moveFull, kControls, draw / ref);
    benchmark::Shutdown();
    return 0;
}
