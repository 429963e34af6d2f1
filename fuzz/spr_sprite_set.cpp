#include <cstddef>
#include <cstdint>

#include "core/ByteReader.h"
#include "core/SprSpriteSet.h"
#include "fixtures/SpriteSeeds.h"
#include "sprite_fuzz.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    CSpriteSeeds::WriteSeedDir(SpriteFormat::Spr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CByteReader r(data, size);
    CSprSpriteSet set;
    if (!r.Skip(CSprSpriteSet::kFileHeader) || set.Read(r) != 0)
        return 0;
    set.GetFrame(-1);
    set.GetFrame(set.GetFrameCount());
    DrawEveryFrame(set, static_cast<uint32_t>(size * 2654435761u));
    for (int g = 0; g < set.GetSequenceCount(); ++g)
        set.GetPart(g, set.GetAnimLength(g) - 1, 0);
    return 0;
}
