// Collects the mean time per iteration of every benchmark run so a program
// can print the ratio of a kernel against its reference measured in the
// same run.
#pragma once
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

class CRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                m_ns[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // Mean real time per iteration, in the benchmark's time unit.
    double Time(const std::string& name) const
    {
        auto it = m_ns.find(name);
        return it == m_ns.end() ? 0.0 : it->second;
    }

private:
    std::map<std::string, double> m_ns;
};
