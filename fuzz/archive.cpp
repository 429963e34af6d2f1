// Opens arbitrary bytes as "Resource.dat" and reads every entry the outer and
// the nested index list, with seeks and peeks.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/ResFile.h"
#include "fixtures/ArchiveBuilder.h"

namespace {

std::string g_path;

void WriteSeed(const std::string& dir, const char* name, const Bytes& data)
{
    std::string path = dir + "/" + name;
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        if (!data.empty())
            std::fwrite(data.data(), 1, data.size(), f);
        std::fclose(f);
    }
}

void WriteSeeds(const std::string& dir)
{
    CArchiveBuilder plain;
    plain.Add("Shan.fnt", std::string_view("font bytes")).Add("a_b.bin", Bytes(70, 3));
    plain.Nested().Add("item.obr", Bytes{1, 2, 3, 4, 5}).Add("potion01.bin", Bytes{0xFF, 0xFF, 0xFF, 0xFF});
    WriteSeed(dir, "plain", plain.Build());
    WriteSeed(dir, "minimal", CArchiveBuilder::MinimalGame().Build());
    CArchiveBuilder unsorted = plain;
    unsorted.Damage().unsorted = true;
    WriteSeed(dir, "unsorted", unsorted.Build());
    CArchiveBuilder empty;
    WriteSeed(dir, "empty", empty.Build());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* seeds = std::getenv("QUORVEL_FUZZ_SEED_DIR"))
        WriteSeeds(seeds);
    char tmpl[] = "/tmp/quorvel-fuzz-archive-XXXXXX";
    int fd = ::mkstemp(tmpl);
    if (fd >= 0)
        ::close(fd);
    g_path = tmpl;
    std::atexit([] { std::remove(g_path.c_str()); });
    ResSetArchivePath(g_path);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (std::FILE* f = std::fopen(g_path.c_str(), "wb")) {
        if (size)
            std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    ResCloseArchive();
    if (ResOpenArchive() != 0)
        return 0;
    ResOpenBindFile();

    // Handles are positions: walk them until both indexes run out.
    std::vector<uint8_t> buf(4096);
    for (int h = 0; ResSize(h) >= 0; ++h) {
        long size = ResSize(h);
        size_t total = 0;
        while (size_t got = ResRead(buf.data(), 1, buf.size(), h))
            total += got;
        if (static_cast<long>(total) != size)
            std::abort();
        ResSeek(h, -3, 2);
        ResPeekDword(h);
        ResPeekDword2(h);
        ResSeek(h, 5, 1);
    }
    // Nested handles give no size: read each possible one (positions are u16).
    for (int h = 0; h < 65536; ++h) {
        while (ResBindRead(buf.data(), 1, buf.size(), h) != 0) {
        }
    }
    ResOpen("bindfile.dat");
    ResOpen("item.obr");
    return 0;
}
