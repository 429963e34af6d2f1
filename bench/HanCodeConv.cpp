// CP949 to Johab over a long mixed text, per byte, against a plain loop that
// looks every byte up in a 256-entry table.
#include <benchmark/benchmark.h>

#include <time.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/HanCodeConv.h"

namespace {

double NowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// About 64 KB: Korean words with Latin names and blanks between them.
std::string MixedText()
{
    const char* words[] = {"안녕하세요", "Tolmar", "세계에", "오신", "것을", "환영합니다", "Kim", "귓속말을", "똠방각하"};
    std::string s;
    for (size_t i = 0; s.size() < 65536; ++i) {
        s += words[i % std::size(words)];
        s += ' ';
    }
    return s;
}

__attribute__((noinline)) void LookupLoop(const uint8_t* table, const char* src, char* dst, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        dst[i] = static_cast<char>(table[static_cast<uint8_t>(src[i])]);
}

void BM_CP949ToJohab(benchmark::State& state)
{
    const std::string text = MixedText();
    std::vector<char> dst(text.size() + 1);
    uint8_t table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<uint8_t>(i ^ 0x20);

    for (auto _ : state) {
        CHanCodeConv::CP949ToJohab(text.c_str(), dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));

    auto best = [](auto&& f) {
        double b = 1e30;
        for (int i = 0; i < 200; ++i) {
            const double t0 = NowMs();
            f();
            b = std::min(b, NowMs() - t0);
        }
        return b;
    };
    const double convMs = best([&] { CHanCodeConv::CP949ToJohab(text.c_str(), dst.data()); benchmark::ClobberMemory(); });
    const double lookupMs = best([&] { LookupLoop(table, text.c_str(), dst.data(), text.size()); benchmark::ClobberMemory(); });
    // Speed relative to the lookup loop (1 = as fast; the target is at least 0.5).
    state.counters["speed_vs_lookup"] = lookupMs / convMs;
    state.counters["target_at_least"] = 0.5;
}
BENCHMARK(BM_CP949ToJohab);

}  // namespace

BENCHMARK_MAIN();
