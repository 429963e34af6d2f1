// One frame of the script engine: StepAll over 12 slots, each in a tight
// arithmetic loop, against the same arithmetic written in C++ (12 loop
// bodies per frame). The frame must stay far below 50 us on one core.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "RatioReporter.h"
#include "core/MemStream.h"
#include "script/ScriptManager.h"
#include "scriptc/ScriptCompiler.h"

namespace {

const char* const kLoop =
    "proc Main() { int i; int j; i = 0; j = 0;"
    " while (1) { i = i + 1; j = i * 3 - i / 2 + (i - 1) * (i + 1); } } ;";

void StartTwelve()
{
    CScriptManager::Reset();
    std::vector<uint8_t> bytes = CompileScript(kLoop);
    for (int i = 0; i < CScriptManager::kSlots; ++i) {
        CMemStream stream(bytes.data(), bytes.size());
        g_scriptManager.StartInFreeSlot(stream, ("Loop" + std::to_string(i)).c_str());
    }
}

void BM_StepAll(benchmark::State& state)
{
    StartTwelve();
    for (auto _ : state)
        CScriptManager::StepAll();
    if (g_scriptManager.CountRunning() != CScriptManager::kSlots)
        state.SkipWithError("a script ended");
    CScriptManager::Reset();
}
BENCHMARK(BM_StepAll);

// The loop body in C++: one body per slot and frame. A script needs
// several steps per loop body; the ratio shows the interpreter's cost.
void BM_NativeReference(benchmark::State& state)
{
    std::vector<int32_t> i(CScriptManager::kSlots, 0), j(CScriptManager::kSlots, 0);
    for (auto _ : state) {
        for (size_t s = 0; s < i.size(); ++s) {
            benchmark::DoNotOptimize(i[s] = i[s] + 1);
            benchmark::DoNotOptimize(j[s] = i[s] * 3 - i[s] / 2 + (i[s] - 1) * (i[s] + 1));
        }
    }
}
BENCHMARK(BM_NativeReference);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double step = reporter.Time("BM_StepAll");
    const double native = reporter.Time("BM_NativeReference");
    if (step > 0 && native > 0)
        std::printf("StepAll of 12 looping scripts: %.2f us per frame (limit 50), %.1f x the native loop bodies\n",
                    step / 1000.0, step / native);
    benchmark::Shutdown();
    return 0;
}
