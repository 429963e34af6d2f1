// CPU use of the running client between frames: the real binary under SDL's
// dummy drivers for ten seconds, its user+system time over the wall time.
#include <benchmark/benchmark.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

#include "fixtures/IntroArchive.h"
#include "fixtures/TempDir.h"
#include "support/ClientProcess.h"
#include "support/FakeServer.h"

namespace {

double Seconds(const timeval& tv) { return static_cast<double>(tv.tv_sec) + tv.tv_usec / 1e6; }

void BM_IdleClientCpu(benchmark::State& state)
{
    double share = 0;
    for (auto _ : state) {
        // A synthetic archive in the client's working directory.
        CTempDir dir;
        CIntroArchive::Game(800, 600).Write(dir.File("Resource.dat"));
        // A server that accepts and stays silent, named in the client's settings.
        CFakeServer server;
        WriteClientServerSettings(dir, server.Port());
        const pid_t pid = SpawnClient(dir);
        if (pid < 0) {
            state.SkipWithError("cannot start the client");
            return;
        }
        timespec ten{10, 0};
        nanosleep(&ten, nullptr);
        int status = 0;
        rusage usage{};
        // A client that stopped by itself measured nothing.
        if (wait4(pid, &status, WNOHANG, &usage) == pid) {
            state.SkipWithError("the client stopped before the measurement ended");
            return;
        }
        kill(pid, SIGTERM);
        wait4(pid, &status, 0, &usage);
        share = (Seconds(usage.ru_utime) + Seconds(usage.ru_stime)) / 10.0;
    }
    state.counters["cpu_share_of_one_core"] = share;
    state.counters["target_below"] = 0.10;
}
BENCHMARK(BM_IdleClientCpu)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
