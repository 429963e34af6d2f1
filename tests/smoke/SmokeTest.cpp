#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include "fixtures/IntroArchive.h"
#include "fixtures/TempDir.h"
#include "support/ClientProcess.h"
#include "support/FakeServer.h"

namespace {

// Starts the real client in dir and lets it run for up to maxMs. Returns the
// wait status, or -1 when it was still up (and has then been stopped with a
// signal).
int RunClient(const CTempDir& dir, int maxMs)
{
    const pid_t pid = SpawnClient(dir);
    if (pid < 0)
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
    WriteClientServerSettings(dir, server.Port());
    int status = RunClient(dir, 2000);
    EXPECT_EQ(status, -1) << (status >= 0 && WIFSIGNALED(status) ? "died of a signal" : "exited");
}

}  // namespace
