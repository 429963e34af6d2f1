#include <cstddef>
#include <cstdint>

#include "core/ByteReader.h"
#include "core/EffectSpriteSet.h"
#include "fixtures/SpriteSeeds.h"
#include "sprite_fuzz.h"
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    CSpriteSeeds::WriteSeedDir(SpriteFormat::Effect);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CByteReader r(data, size);
    CEffectSpriteSet set;
    if (set.Read(r) != 0)
        return 0;
    set.GetFrame(-1);
    set.GetFrame(set.GetFrameCount());
    DrawEveryFrame(set, static_cast<uint32_t>(size * 2654435761u));
    static std::vector<uint8_t> screen(kScreenWidth * kScreenHeight);
    static std::vector<uint8_t> blend(8 * 256 * 256);
    for (int i = 0; i < set.GetFrameCount(); ++i) {
        set.GetSecondFrame(i)->Draw(-3, 590, ScreenTarget(screen.data()));
        set.GetSecondFrame(i)->DrawBlendLevels(795, -3, ScreenTarget(screen.data()), blend.data());
    }
    set.FindAnimation("BOOM");
    return 0;
}
