// A full screen of mixed Korean and Latin text (50 lines of 60 characters)
// drawn by the text layer, against a copy of the whole 800 x 600 screen.
#include <benchmark/benchmark.h>

#include <time.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/Blit.h"
#include "core/HanCodeConv.h"
#include "core/TextLayer.h"
#include "platform/Crt.h"

namespace {

double NowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// Fonts of random pixels (about 40% set), so the keyed copies see real work.
void LoadNoiseFonts(CTextLayer& layer)
{
    plat::SRand(7);
    std::vector<uint8_t> han(CTextLayer::kHangulFontSize), eng(CTextLayer::kEnglishFontSize);
    for (auto* font : {&han, &eng})
        for (auto& b : *font)
            b = static_cast<uint8_t>(plat::Rand() & plat::Rand() & 0xFF) | static_cast<uint8_t>(plat::Rand() & 0x11);
    layer.SetFontData(han.data(), han.size(), eng.data(), eng.size());
}

// 50 lines of 30 syllables and 30 letters, interleaved.
std::vector<std::string> ScreenText()
{
    const char* syllables = "가나다라마바사아자차카타파하한글게임톨마르세계에오신것을환영합니다";
    std::string johab(std::strlen(syllables) + 1, '\0');
    CHanCodeConv::CP949ToJohab(syllables, johab.data());
    johab.resize(std::strlen(johab.c_str()));
    std::vector<std::string> lines;
    for (int l = 0; l < 50; ++l) {
        std::string line;
        for (int c = 0; c < 30; ++c) {
            const size_t s = static_cast<size_t>((l * 7 + c * 3) % (johab.size() / 2)) * 2;
            line += johab.substr(s, 2);
            line += static_cast<char>('A' + (l + c) % 58);
        }
        lines.push_back(line);
    }
    return lines;
}

void DrawScreen(CTextLayer& layer, const std::vector<std::string>& lines)
{
    for (size_t l = 0; l < lines.size(); ++l)
        layer.DrawText(2, static_cast<int>(l) * 12, lines[l].c_str(), 0);
}

template <class F>
double BestMs(F&& f, int reps)
{
    double best = 1e30;
    for (int i = 0; i < reps; ++i) {
        const double t0 = NowMs();
        f();
        best = std::min(best, NowMs() - t0);
    }
    return best;
}

void BM_TextScreen(benchmark::State& state)
{
    const bool shadow = state.range(0) != 0;
    std::vector<uint8_t> screen(800 * 600, 0), copy(800 * 600, 0);
    CTextLayer layer(nullptr);
    LoadNoiseFonts(layer);
    layer.SetTarget(screen.data(), 800, 600);
    layer.SetColor(shadow ? 1 : 0);
    layer.SetColors(15, 255);
    const auto lines = ScreenText();

    for (auto _ : state) {
        DrawScreen(layer, lines);
        benchmark::ClobberMemory();
    }

    const double textMs = BestMs([&] { DrawScreen(layer, lines); benchmark::ClobberMemory(); }, 50);
    const double copyMs = BestMs([&] { std::memcpy(copy.data(), screen.data(), screen.size()); benchmark::ClobberMemory(); }, 200);
    state.counters["screen_ms"] = textMs;
    state.counters["target_below_ms"] = 1.0;
    state.counters["memcpy_screen_ms"] = copyMs;
    state.counters["ratio_to_memcpy"] = textMs / copyMs;
    ResetBlitContexts();
}
BENCHMARK(BM_TextScreen)->Arg(1)->Arg(0)->ArgName("shadow")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
