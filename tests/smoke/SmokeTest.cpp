#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "fixtures/ArchiveBuilder.h"
#include "fixtures/IntroArchive.h"
#include "fixtures/TempDir.h"
#include "support/FakeServer.h"

extern char** environ;

namespace {

void SleepMs(long ms)
{
    timespec ts{ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&ts, nullptr);
}

// Starts the real client with SDL's invisible drivers in dir and lets it run
// for up to maxMs. Returns the wait status, or -1 when it was still up (and
// has then been stopped with a signal).
int RunClient(const CTempDir& dir, int maxMs)
{
    std::vector<std::string> env = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy",
                                    "HOME=" + dir.Path(), "XDG_CONFIG_HOME=" + dir.Path(),
                                    "XDG_RUNTIME_DIR=" + dir.Path(), "PATH=/usr/bin:/bin"};
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string bin = QUORVEL_BINARY;
    char* argv[] = {bin.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, dir.Path().c_str());
    pid_t pid = 0;
    int rc = posix_spawn(&pid, bin.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return -2;

    int status = 0;
    pid_t done = 0;
    for (int i = 0; i < maxMs / 50 && done == 0; ++i) {
        SleepMs(50);
        done = waitpid(pid, &status, WNOHANG);
    }
    if (done == pid)
        return status;
    // Still up: the close request is ignored by design, a signal ends it.
    kill(pid, SIGTERM);
    waitpid(pid, &status, 0);
    return -1;
}

TEST(Smoke, WithoutGameDataTheClientReportsItAndExitsInOrder)
{
    CTempDir dir;
    int status = RunClient(dir, 20000);  // it stops at once; a loaded machine may be slow
    ASSERT_GE(status, 0) << "the client did not stop on its own";
    ASSERT_TRUE(WIFEXITED(status)) << "the client died of signal " << WTERMSIG(status);
    EXPECT_NE(WEXITSTATUS(status), 0);
}

TEST(Smoke, WithAnArchiveAndAServerTheClientStaysUp)
{
    CTempDir dir;
    ASSERT_TRUE(CIntroArchive::Game(800, 600).Write(dir.File("Resource.dat")));
    // A listening server that never answers: the connection is made and the
    // client waits.
    CFakeServer server;
    ASSERT_EQ(::mkdir(dir.File("quorvel").c_str(), 0700), 0);
    std::ofstream ini(dir.File("quorvel/settings.ini"));
    ini << "[Software\\Brennix\\Quorvel\\Server]\nHost=sz:127.0.0.1\nPort=dword:" << server.Port() << "\n";
    ini.close();
    int status = RunClient(dir, 2000);
    EXPECT_EQ(status, -1) << (status >= 0 && WIFSIGNALED(status) ? "died of a signal" : "exited");
}

}  // namespace
