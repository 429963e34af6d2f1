#include "platform/Process.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/Window.h"

namespace plat {

namespace {
std::string g_commandLine;
// Never destroyed: objects destroyed at exit still ask for it.
std::string& g_runtimeDir = *new std::string;
bool g_runtimeDirMade = false;
std::string& g_dataDir = *new std::string;
}  // namespace

void SetCommandLine(int argc, const char* const* argv)
{
    g_commandLine.clear();
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            g_commandLine += ' ';
        g_commandLine += argv[i];
    }
}

void SetCommandLine(const std::string& line) { g_commandLine = line; }

const std::string& CommandLine() { return g_commandLine; }

std::string ExePath()
{
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return {};
    return std::string(buf, static_cast<size_t>(n));
}

std::string ExeDir()
{
    std::string p = ExePath();
    size_t slash = p.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : p.substr(0, slash);
}

std::string RuntimeDir()
{
    if (g_runtimeDirMade)
        return g_runtimeDir;
    std::string base;
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    struct stat st{};
    if (xdg && *xdg == '/' && ::stat(xdg, &st) == 0 && S_ISDIR(st.st_mode))
        base = xdg;
    else
        base = "/tmp";
    std::string dir = base + "/quorvel-" + std::to_string(::getuid()) + "-" + std::to_string(::getpid());
    if (::mkdir(dir.c_str(), 0700) != 0) {
        struct stat ds{};
        if (::lstat(dir.c_str(), &ds) != 0 || !S_ISDIR(ds.st_mode) || ds.st_uid != ::getuid())
            return {};
    }
    g_runtimeDir = dir;
    g_runtimeDirMade = true;
    return g_runtimeDir;
}

std::string ExistingRuntimeDir()
{
    return g_runtimeDirMade ? g_runtimeDir : std::string();
}

void RemoveRuntimeDir()
{
    if (g_runtimeDirMade) {
        ::rmdir(g_runtimeDir.c_str());
        g_runtimeDirMade = false;
        g_runtimeDir.clear();
    }
}

std::string DataDir()
{
    if (!g_dataDir.empty())
        return g_dataDir;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg == '/')
        return std::string(xdg) + "/quorvel";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.local/share/quorvel";
}

void SetDataDir(const std::string& dir) { g_dataDir = dir; }

bool DataDirIsSet() { return !g_dataDir.empty(); }

bool MakeDirs(const std::string& dir)
{
    for (size_t i = 1; i <= dir.size(); ++i) {
        if (i == dir.size() || dir[i] == '/') {
            const std::string part = dir.substr(0, i);
            if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
                return false;
        }
    }
    return true;
}

bool ReplaceFile(const std::string& path, const std::string& data)
{
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirs(path.substr(0, slash)))
        return false;
    const std::string tmp = path + ".tmp";
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    size_t done = 0;
    bool ok = true;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<size_t>(n);
    }
    if (ok && ::fsync(fd) != 0)
        ok = false;
    ::close(fd);
    if (!ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
        ::unlink(tmp.c_str());
        return false;
    }
    return true;
}

void DisableScreenSaver()
{
    Window().DisableScreenSaver();
}

}  // namespace plat
