// The real client under SDL's invisible drivers, with a synthetic archive
// in its working directory and the scripted server on loopback: it reaches
// the log-in screen and waits there without a message box.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fixtures/IntroArchive.h"
#include "fixtures/TempDir.h"
#include "platform/Settings.h"
#include "support/FakeServer.h"

namespace {

void SleepMs(long ms)
{
    timespec ts{ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&ts, nullptr);
}

TEST(IntroDummyDriver, ClientWaitsOnTheLoginScreen)
{
    CTempDir dir;
    ASSERT_TRUE(CIntroArchive::Game(800, 600).Write(dir.Path() + "/Resource.dat"));
    CFakeServer server;
    {
        plat::CFileSettings settings(dir.Path() + "/quorvel/settings.ini");
        settings.SetString("Software\\Brennix\\Quorvel\\Server", "Host", "127.0.0.1");
        settings.SetDword("Software\\Brennix\\Quorvel\\Server", "Port", server.Port());
    }
    const std::string errPath = dir.Path() + "/stderr.txt";
    std::vector<std::string> env = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "QUORVEL_TRACE=1",
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
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, bin.c_str(), &actions, nullptr, argv, envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);

    // Until the login scene is up (its last loading step is traced), for at
    // most 20 s: a loaded machine may start the client slowly.
    auto reachedLogin = [&] {
        std::ostringstream text;
        text << std::ifstream(errPath).rdbuf();
        return text.str().find("loading 102") != std::string::npos;
    };
    int status = 0;
    pid_t done = 0;
    for (int i = 0; i < 4000 && done == 0; ++i) {
        server.Pump();
        SleepMs(5);
        done = waitpid(pid, &status, WNOHANG);
        if (done == 0 && i >= 100 && i % 20 == 0 && server.Accepted() && reachedLogin()) {
            for (int j = 0; j < 40 && done == 0; ++j) {  // a few more frames of the login scene
                server.Pump();
                SleepMs(5);
                done = waitpid(pid, &status, WNOHANG);
            }
            break;
        }
    }
    if (done == 0) {
        kill(pid, SIGTERM);
        done = waitpid(pid, &status, 0);
    }
    std::ostringstream err;
    err << std::ifstream(errPath).rdbuf();
    EXPECT_TRUE(server.Accepted());
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "the client stopped by itself:\n"
                                                                     << err.str();
    EXPECT_NE(err.str().find("loading 102"), std::string::npos) << err.str();
    // A message box would have been written to the terminal too.
    EXPECT_EQ(err.str().find('['), std::string::npos) << err.str();
}

}  // namespace
