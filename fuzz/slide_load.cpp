// Arbitrary bytes as a slide file (.slr): loading must refuse what the bytes
// cannot hold, and every frame that loads must draw inside the screen.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "core/Blit.h"
#include "fixtures/IntroArchive.h"
#include "intro/Slide.h"

namespace {

void WriteSeed(const std::string& dir, const std::string& name, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(dir + "/" + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* dir = std::getenv("QUORVEL_FUZZ_SEED_DIR")) {
        WriteSeed(dir, "one_frame", CIntroArchive::Slide(1, 8, 6, 1));
        WriteSeed(dir, "six_frames", CIntroArchive::Slide(6, 40, 12, 2));
        WriteSeed(dir, "wide", CIntroArchive::Slide(2, 300, 4, 3));
    }
    SetSpriteClipRect(0, 0, 800, 600);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static std::vector<uint8_t> screen(800 * 600);
    const BlitTarget target = ScreenTarget(screen.data());
    static std::vector<uint8_t> table(65536, 1);
    CSlide slide;
    if (slide.Load(data, size) != 0)
        return 0;
    for (uint32_t i = 0; i < slide.GetFrameCount() && i < 64; ++i) {
        const int n = static_cast<int>(i);
        slide.Draw(n, 400, 300, target);
        slide.Draw(n, -10, 590, target, true);
        slide.DrawMapped(n, 790, -5, target, table.data());
    }
    return 0;
}
