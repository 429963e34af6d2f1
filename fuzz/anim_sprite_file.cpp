#include <cstddef>
#include <cstdint>

#include "core/ByteReader.h"
#include "core/AnimSpriteSet.h"
#include "fixtures/SpriteSeeds.h"
#include "sprite_fuzz.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    CSpriteSeeds::WriteSeedDir(SpriteFormat::AnimFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CByteReader r(data, size);
    CAnimSpriteSet set;
    if (set.ReadFile(r) != 0)
        return 0;
    set.GetFrame(-1);
    set.GetFrame(set.GetFrameCount());
    DrawEveryFrame(set, static_cast<uint32_t>(size * 2654435761u));
    set.FindAnimation("WALK_0");
    return 0;
}
