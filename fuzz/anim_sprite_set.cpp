#include <cstddef>
#include <cstdint>

#include "core/ByteReader.h"
#include "core/AnimSpriteSet.h"
#include "fixtures/SpriteSeeds.h"
#include "sprite_fuzz.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    CSpriteSeeds::WriteSeedDir(SpriteFormat::AnimSection);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CByteReader r(data, size);
    CAnimSpriteSet set;
    if (set.Read(r) != 0)
        return 0;
    set.GetFrame(-1);
    set.GetFrame(set.GetFrameCount());
    DrawEveryFrame(set, static_cast<uint32_t>(size * 2654435761u));
    char names[2][32] = {"WALK_0", "walk_1"};
    set.SetAnimation(names, 2);
    for (int k = 0; k < 3; ++k)
        set.GetAnimLength(set.GetAnimIndex(k));
    for (int i = 0; i < set.GetAnimCount(); ++i)
        set.GetStep(i, set.GetAnimLength(i) - 1);
    return 0;
}
