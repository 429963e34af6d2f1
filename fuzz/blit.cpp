// Draws arbitrary bytes as RLE and decoded frames with every blitter, at
// positions and clips taken from the input, into a buffer with guard bands.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/Blit.h"
#include "fixtures/RleFrames.h"

namespace {

constexpr int kW = 97;
constexpr int kH = 61;
constexpr int kPitch = 101;
constexpr size_t kGuard = 64;
constexpr uint8_t kCanary = 0x5A;

void WriteSeed(const std::string& dir, const char* name, const std::vector<uint8_t>& frame)
{
    // Eight bytes of position and clip, then the frame.
    std::vector<uint8_t> data = {10, 5, 0, 0, 200, 200, 1, 2};
    data.insert(data.end(), frame.begin(), frame.end());
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
        std::mt19937 rng(11);
        WriteSeed(dir, "rle", RandomRleFrame(rng, 120, 40));
        WriteSeed(dir, "levels", RandomRleFrame(rng, 120, 40, 2));
        WriteSeed(dir, "decoded", BuildDecodedFrame(std::vector<uint8_t>(16 * 8, 3), 16, 8));
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 8)
        return 0;
    static std::vector<uint8_t> table(8 * 65536, 1);
    std::vector<uint8_t> mem(2 * kGuard + static_cast<size_t>(kPitch) * kH, kCanary);
    BlitTarget t{mem.data() + kGuard, kW, kH, kPitch};
    const int x = static_cast<int8_t>(data[0]) * 2, y = static_cast<int8_t>(data[1]);
    SetSpriteClipRect(static_cast<int8_t>(data[2]), static_cast<int8_t>(data[3]), data[4], data[5]);
    const uint32_t phase = data[6] | data[7] << 8;
    const uint8_t* f = data + 8;
    const size_t n = size - 8;
    // Each call gets its own copy, so a read past the end shows.
    std::vector<uint8_t> frame(f, f + n);
    BlitRle(x, y, frame.data(), n, t);
    BlitRleRemap(x, y, frame.data(), n, t, table.data());
    BlitRleBlend(x, y, frame.data(), n, t, table.data());
    BlitRleBlendLevels(x, y, frame.data(), n, t, table.data());
    BlitRleStipple(x, y, frame.data(), n, t, phase);
    BlitRleChecker(x, y, frame.data(), n, t, phase);
    BlitDecoded(x, y, frame.data(), n, t);
    ScreenFillRect(t, x, y, data[4] - 100, data[5] - 100, 7);
    // The text surface's rows are packed: it gets a buffer of its own.
    std::vector<uint8_t> surface(2 * kGuard + static_cast<size_t>(kW) * kH, kCanary);
    ScreenInitSurface(surface.data() + kGuard, kW, kH);
    ScreenSetClip(static_cast<int8_t>(data[2]), static_cast<int8_t>(data[3]), data[4], data[5]);
    if (n >= 4)
        ScreenBlitKeyed(x, y, f[0] % 40 + 1, f[1] % 40 + 1,
                        n >= static_cast<size_t>((f[0] % 40 + 1) * (f[1] % 40 + 1)) ? frame.data() : nullptr);
    ScreenScrollVertical(0, static_cast<int8_t>(data[7]));
    ResetBlitContexts();
    // Nothing beyond the targets: neither the guards nor the row padding.
    for (size_t i = 0; i < mem.size(); ++i) {
        const bool inGuard = i < kGuard || i >= mem.size() - kGuard;
        const bool inPad = !inGuard && static_cast<int>((i - kGuard) % kPitch) >= kW;
        if ((inGuard || inPad) && mem[i] != kCanary)
            std::abort();
    }
    for (size_t i = 0; i < kGuard; ++i)
        if (surface[i] != kCanary || surface[surface.size() - 1 - i] != kCanary)
            std::abort();
    return 0;
}
