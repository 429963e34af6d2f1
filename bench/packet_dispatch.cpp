// Framing and dispatch of a recorded mix of server packets from memory,
// against memcpy of the same bytes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/PacketStream.h"
#include "net/PacketAssembler.h"
#include "platform/Debug.h"
#include "platform/headless/HeadlessPlatform.h"
#include "world/ObjLayer.h"

namespace {

const std::vector<uint8_t>& Stream()
{
    // The mix repeated to about a megabyte.
    static const std::vector<uint8_t> stream = [] {
        const std::vector<uint8_t> mix = MakeServerPacketMix();
        std::vector<uint8_t> s;
        while (s.size() < (1u << 20))
            s.insert(s.end(), mix.begin(), mix.end());
        return s;
    }();
    return stream;
}

size_t PacketsInStream()
{
    CPacketAssembler a;
    CMemoryByteSource src;
    src.Append(Stream());
    size_t n = 0;
    while (a.Assemble(src) == CPacketAssembler::kReady)
        ++n;
    return n;
}

void BM_Memcpy(benchmark::State& state)
{
    const std::vector<uint8_t>& s = Stream();
    std::vector<uint8_t> dst(s.size());
    for (auto _ : state) {
        std::memcpy(dst.data(), s.data(), s.size());
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * s.size()));
}

void BM_Framing(benchmark::State& state)
{
    const std::vector<uint8_t>& s = Stream();
    CPacketAssembler a;
    CMemoryByteSource src;
    size_t packets = 0;
    for (auto _ : state) {
        src.Clear();
        src.Append(s);
        a.Reset();
        while (a.Assemble(src) == CPacketAssembler::kReady)
            ++packets;
        benchmark::DoNotOptimize(packets);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * s.size()));
    state.counters["packets/s"] = benchmark::Counter(static_cast<double>(packets), benchmark::Counter::kIsRate);
}

void BM_FramingAndDispatch(benchmark::State& state)
{
    plat::CHeadlessPlatform platform;
    plat::SetDebugSink([](std::string_view) {});
    // The view reads its picture from the archive when it is made.
    CTestArchive archive(CArchiveBuilder::MinimalGame());
    CQuillonView view;
    CObjLayer layer(nullptr, nullptr);
    layer.m_pMyChar = &layer.CharacterSlot(0);
    view.m_pObjLayer = &layer;
    CMemoryByteSource src;
    SetPacketSource(&src);
    const std::vector<uint8_t>& s = Stream();
    const size_t perRun = PacketsInStream();
    size_t packets = 0;
    for (auto _ : state) {
        ResetReceiveState();
        g_versionConfirmed = 1;
        g_playerIdState = 1;
        platform.dialogs.boxes.clear();
        src.Clear();
        src.Append(s);
        for (size_t i = 0; i < perRun; ++i)
            view.ReceiveDispatch();
        packets += perRun;
    }
    SetPacketSource(nullptr);
    view.m_pObjLayer = nullptr;
    plat::SetDebugSink({});
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * s.size()));
    state.counters["packets/s"] = benchmark::Counter(static_cast<double>(packets), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_Memcpy);
BENCHMARK(BM_Framing);
BENCHMARK(BM_FramingAndDispatch);
namespace {

// Prints each run's time per byte as a multiple of memcpy's.
class CRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.iterations > 0)
                m_perIter.emplace_back(r.benchmark_name(), r.GetAdjustedRealTime());
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        double memcpyTime = 0;
        for (const auto& [name, t] : m_perIter)
            if (name == "BM_Memcpy")
                memcpyTime = t;
        if (memcpyTime <= 0)
            return;
        for (const auto& [name, t] : m_perIter)
            std::printf("%-24s %10.1f x memcpy\n", name.c_str(), t / memcpyTime);
    }

private:
    std::vector<std::pair<std::string, double>> m_perIter;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
