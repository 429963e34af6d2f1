// CPU use of the running client between frames: the real binary under SDL's
// dummy drivers for ten seconds, its user+system time over the wall time.
#include <benchmark/benchmark.h>

#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>

#include "fixtures/ArchiveBuilder.h"
#include "fixtures/IntroArchive.h"
#include "fixtures/TempDir.h"
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
        ::mkdir(dir.File("quorvel").c_str(), 0700);
        std::ofstream(dir.File("quorvel/settings.ini"))
            << "[Software\\Brennix\\Quorvel\\Server]\nHost=sz:127.0.0.1\nPort=dword:" << server.Port() << "\n";
        setenv("XDG_CONFIG_HOME", dir.Path().c_str(), 1);
        std::string bin = QUORVEL_BINARY;
        char* argv[] = {bin.data(), nullptr};
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, dir.Path().c_str());
        pid_t pid = 0;
        int rc = posix_spawn(&pid, bin.c_str(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) {
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
