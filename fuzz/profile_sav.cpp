// Arbitrary bytes as the player's "Profile.sav", read by LoadProfile from a
// private data directory: three terminated lines of at most 29 bytes, each
// of whole characters, whatever the file holds.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/Process.h"
#include "windows/ProfileRecord.h"

namespace {

// The directory goes with the process.
struct SDataDir {
    std::string path = "/tmp/quorvel-fuzz-profile-" + std::to_string(::getpid());
    SDataDir()
    {
        plat::MakeDirs(path);
        plat::SetDataDir(path);
    }
    ~SDataDir()
    {
        std::remove((path + "/" + ProfileRecord::kFileName).c_str());
        ::rmdir(path.c_str());
    }
};

const std::string& Dir()
{
    static const SDataDir dir;
    return dir.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = Dir() + "/" + ProfileRecord::kFileName;
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    ProfileRecord rec;
    std::memset(rec.lines, 0xB0, sizeof rec.lines);
    rec.LoadProfile();
    for (const auto& line : rec.lines) {
        const size_t n = strnlen(line, sizeof line);
        if (n > ProfileRecord::kLineKept)
            std::abort();
        for (size_t i = 0; i < n; i += static_cast<uint8_t>(line[i]) >= 0x80 ? 2 : 1)
            if (static_cast<uint8_t>(line[i]) >= 0x80 && i + 1 >= n)
                std::abort();  // half a character
        for (size_t i = n; i < sizeof line; ++i)
            if (line[i] != 0)
                std::abort();
    }
    return 0;
}
