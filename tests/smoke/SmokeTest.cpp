#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "fixtures/TempDir.h"

extern char** environ;

namespace {

void SleepMs(long ms)
{
    timespec ts{ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&ts, nullptr);
}

// Starts the real client with SDL's invisible drivers in an empty directory
// and lets it run for two seconds. Without game data it may stop with its
// data-file message; it must never die of a signal.
TEST(Smoke, ClientStaysUpOrExitsInOrderUnderTheDummyDrivers)
{
    CTempDir dir;
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
    ASSERT_EQ(posix_spawn(&pid, bin.c_str(), &actions, nullptr, argv, envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);

    int status = 0;
    pid_t done = 0;
    for (int i = 0; i < 40 && done == 0; ++i) {
        SleepMs(50);
        done = waitpid(pid, &status, WNOHANG);
    }
    if (done == 0) {
        // Still up after two seconds: the close request is ignored by design,
        // a signal ends it.
        kill(pid, SIGTERM);
        done = waitpid(pid, &status, 0);
        ASSERT_EQ(done, pid);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
        return;
    }
    ASSERT_EQ(done, pid);
    EXPECT_TRUE(WIFEXITED(status)) << "the client died of signal " << WTERMSIG(status);
}

}  // namespace
