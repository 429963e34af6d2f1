#include "support/ClientProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <time.h>

#include <vector>

#include "fixtures/TempDir.h"
#include "platform/Settings.h"

void WriteClientServerSettings(const CTempDir& dir, uint16_t port)
{
    plat::CFileSettings settings(dir.File("quorvel/settings.ini"));
    settings.SetString("Software\\Brennix\\Quorvel\\Server", "Host", "127.0.0.1");
    settings.SetDword("Software\\Brennix\\Quorvel\\Server", "Port", port);
}

pid_t SpawnClient(const CTempDir& dir, const std::string& errPath, bool trace)
{
    std::vector<std::string> env = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy",
                                    "HOME=" + dir.Path(), "XDG_CONFIG_HOME=" + dir.Path(),
                                    "XDG_RUNTIME_DIR=" + dir.Path(), "PATH=/usr/bin:/bin"};
    if (trace)
        env.push_back("QUORVEL_TRACE=1");
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string bin = QUORVEL_BINARY;
    char* argv[] = {bin.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, dir.Path().c_str());
    if (!errPath.empty())
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, bin.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

void SleepMs(long ms)
{
    timespec ts{ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&ts, nullptr);
}
