// Reads arbitrary bytes as a .bmp file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/DibIO.h"
#include "fixtures/BmpBuilder.h"

namespace {

void WriteSeed(const std::string& dir, const char* name, const std::vector<uint8_t>& data)
{
    std::string path = dir + "/" + name;
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data.data(), 1, data.size(), f);
        std::fclose(f);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* dir = std::getenv("QUORVEL_FUZZ_SEED_DIR")) {
        WriteSeed(dir, "info8", BuildBmp(BmpLayout{}));
        WriteSeed(dir, "core4", BuildBmp(BmpLayout{12, 9, 3, 4, 0, 16}));
        WriteSeed(dir, "used", BuildBmp(BmpLayout{40, 4, 4, 8, 300, 12}));
        WriteSeed(dir, "mono", BuildBmp(BmpLayout{40, 16, 2, 1, 0, 2}));
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CDib dib;
    if (dib.Parse(data, size)) {
        // Whatever was accepted must be readable.
        unsigned sum = 0;
        for (const CDib::PaletteEntry& e : dib.GetPalette())
            sum += e.red + e.green + e.blue;
        for (uint8_t b : dib.GetBits())
            sum += b;
        if (dib.GetPalette().size() > 256)
            std::abort();
        volatile unsigned sink = sum;
        (void)sink;
    }
    return 0;
}
