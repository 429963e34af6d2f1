#include "platform/LauncherAtoms.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace plat {

namespace {

CEnvLauncherAtoms g_envAtoms;
ILauncherAtoms* g_atoms = &g_envAtoms;

// GlobalGetAtomName's buffer held 256 bytes with the terminator.
constexpr size_t kMaxAtomText = 255;

// The first line of the text, without its CR/LF.
std::string FirstLine(std::string text)
{
    size_t end = text.find_first_of("\r\n");
    if (end != std::string::npos)
        text.resize(end);
    return text;
}

std::optional<std::string> ReadAtomFile(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat st{};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::getuid()) {
        ::close(fd);
        return std::nullopt;
    }
    char buf[kMaxAtomText];
    size_t have = 0;
    while (have < sizeof buf) {
        ssize_t n = ::read(fd, buf + have, sizeof buf - have);
        if (n <= 0)
            break;
        have += static_cast<size_t>(n);
    }
    ::close(fd);
    return FirstLine(std::string(buf, have));
}

}  // namespace

std::optional<std::string> CEnvLauncherAtoms::Lookup(uint16_t atom)
{
    if (atom == 0)
        return std::nullopt;
    const std::string number = std::to_string(atom);
    if (const char* v = std::getenv(("QUORVEL_ATOM_" + number).c_str())) {
        std::string text = FirstLine(v);
        if (text.size() > kMaxAtomText)
            text.resize(kMaxAtomText);
        return text;
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || runtime[0] != '/')
        return std::nullopt;
    return ReadAtomFile(std::string(runtime) + "/quorvel-atoms/" + number);
}

ILauncherAtoms& LauncherAtoms() { return *g_atoms; }
void SetLauncherAtoms(ILauncherAtoms* atoms) { g_atoms = atoms ? atoms : &g_envAtoms; }

}  // namespace plat
