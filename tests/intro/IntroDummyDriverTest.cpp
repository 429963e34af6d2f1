// The real client under SDL's invisible drivers, with a synthetic archive
// in its working directory and the scripted server on loopback: it reaches
// the log-in screen and waits there without a message box.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>
#include <string>

#include "fixtures/IntroArchive.h"
#include "fixtures/TempDir.h"
#include "support/ClientProcess.h"
#include "support/FakeServer.h"

namespace {

TEST(IntroDummyDriver, ClientWaitsOnTheLoginScreen)
{
    CTempDir dir;
    ASSERT_TRUE(CIntroArchive::Game(800, 600).Write(dir.Path() + "/Resource.dat"));
    CFakeServer server;
    WriteClientServerSettings(dir, server.Port());
    const std::string errPath = dir.Path() + "/stderr.txt";
    const pid_t pid = SpawnClient(dir, errPath, true);
    ASSERT_GT(pid, 0);

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
