// Collects the real time per iteration of every benchmark run, so a program
// can print the ratio of a kernel against its reference measured in the same
// run. With repetitions the fastest one counts: the machine is shared and
// noise only adds.
#pragma once
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

class CRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations <= 0)
                continue;
            // Under its full name and under its function's name alone.
            Keep(run.benchmark_name(), run.GetAdjustedRealTime());
            Keep(run.run_name.function_name, run.GetAdjustedRealTime());
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // Real time per iteration, in the benchmark's time unit; 0 when absent.
    double Time(const std::string& name) const
    {
        auto it = times.find(name);
        return it == times.end() ? 0.0 : it->second;
    }

    std::map<std::string, double> times;

private:
    void Keep(const std::string& name, double t)
    {
        auto [it, fresh] = times.emplace(name, t);
        if (!fresh)
            it->second = std::min(it->second, t);
    }
};

// The frame benchmarks' reference kernel: a memcpy of one 800 x 600 frame.
inline void BM_FrameCopyReference(benchmark::State& state)
{
    constexpr size_t kFrameBytes = 800 * 600;
    std::vector<uint8_t> a(kFrameBytes, 1), b(kFrameBytes);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), kFrameBytes);
        benchmark::ClobberMemory();
    }
}
