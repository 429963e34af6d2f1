// ResOpen on a 10,000-entry index against std::lower_bound over pre-folded
// keys, and ResRead of a 1 MB entry against pread of the same bytes.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/ResFile.h"
#include "fixtures/ArchiveBuilder.h"

#include "RatioReporter.h"

namespace {

constexpr int kEntries = 10000;
constexpr size_t kBigSize = 1 << 20;

std::unique_ptr<CTestArchive> g_archive;
std::vector<std::string> g_queries;     // mixed case, as callers pass them
std::vector<std::string> g_foldedKeys;  // sorted
uint64_t g_bigOffset = 0;

std::string EntryName(int i)
{
    char name[32];
    std::snprintf(name, sizeof name, "Sprite%05d.slr", i);
    return name;
}

void Setup()
{
    if (g_archive)
        return;
    CArchiveBuilder b;
    for (int i = 0; i < kEntries; ++i)
        b.Add(EntryName(i), Bytes{uint8_t(i), 1, 2, 3});
    Bytes big(kBigSize);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<uint8_t>(i * 31);
    b.Add("big.bin", big);
    g_archive = std::make_unique<CTestArchive>(b);
    // big.bin is stored after the 10,000 small entries: header + 4 bytes each.
    g_bigOffset = 19 + static_cast<uint64_t>(kEntries) * 4;

    for (int i = 0; i < kEntries; ++i) {
        std::string key = EntryName(i);
        for (char& c : key)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        g_foldedKeys.push_back(key);
    }
    std::sort(g_foldedKeys.begin(), g_foldedKeys.end());
    unsigned x = 12345;
    for (int i = 0; i < 4096; ++i) {
        x = x * 1103515245u + 12345u;
        std::string q = EntryName(static_cast<int>((x >> 8) % kEntries));
        if (i % 2)
            for (char& c : q)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        g_queries.push_back(q);
    }
}

void BM_ResOpen(benchmark::State& state)
{
    Setup();
    size_t i = 0;
    for (auto _ : state) {
        int h = ResOpen(g_queries[i++ & 4095].c_str());
        benchmark::DoNotOptimize(h);
    }
}
BENCHMARK(BM_ResOpen);

void BM_LowerBoundFolded(benchmark::State& state)
{
    Setup();
    size_t i = 0;
    for (auto _ : state) {
        const std::string& q = g_queries[i++ & 4095];
        char folded[21] = {};
        for (size_t k = 0; k < q.size() && k < 20; ++k)
            folded[k] = static_cast<char>(std::tolower(static_cast<unsigned char>(q[k])));
        std::string_view key(folded);
        auto it = std::lower_bound(g_foldedKeys.begin(), g_foldedKeys.end(), key,
                                   [](const std::string& a, std::string_view b) { return a < b; });
        long h = (it != g_foldedKeys.end() && *it == key) ? it - g_foldedKeys.begin() : -1;
        benchmark::DoNotOptimize(h);
    }
}
BENCHMARK(BM_LowerBoundFolded);

void BM_ResRead1MB(benchmark::State& state)
{
    Setup();
    std::vector<uint8_t> buf(kBigSize);
    int h = ResOpen("big.bin");
    for (auto _ : state) {
        ResSeek(h, 0, 0);
        size_t got = ResRead(buf.data(), 1, buf.size(), h);
        benchmark::DoNotOptimize(got);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kBigSize));
}
BENCHMARK(BM_ResRead1MB);

void BM_Pread1MB(benchmark::State& state)
{
    Setup();
    std::vector<uint8_t> buf(kBigSize);
    int fd = ::open(g_archive->Path().c_str(), O_RDONLY);
    for (auto _ : state) {
        ssize_t got = ::pread(fd, buf.data(), buf.size(), static_cast<off_t>(g_bigOffset));
        benchmark::DoNotOptimize(got);
        benchmark::ClobberMemory();
    }
    ::close(fd);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kBigSize));
}
BENCHMARK(BM_Pread1MB);


}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& t = reporter.times;
    if (t.count("BM_ResOpen") && t.count("BM_LowerBoundFolded"))
        std::printf("ResOpen / lower_bound time ratio: %.2f (target <= 2)\n",
                    t["BM_ResOpen"] / t["BM_LowerBoundFolded"]);
    if (t.count("BM_ResRead1MB") && t.count("BM_Pread1MB"))
        std::printf("ResRead throughput / pread throughput: %.2f (target >= 0.8)\n",
                    t["BM_Pread1MB"] / t["BM_ResRead1MB"]);
    g_archive.reset();
    benchmark::Shutdown();
    return 0;
}
