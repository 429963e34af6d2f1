#include <cstddef>
#include <cstdint>

#include "core/ByteReader.h"
#include "core/TileSet.h"
#include "fixtures/SpriteSeeds.h"
#include "sprite_fuzz.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    CSpriteSeeds::WriteSeedDir(SpriteFormat::Tile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CByteReader r(data, size);
    CTileSet set;
    if (!r.Skip(CTileSet::kFileHeader) || set.Read(r) != 0)
        return 0;
    set.GetFrame(-1);
    set.GetFrame(set.GetFrameCount());
    DrawEveryFrame(set, static_cast<uint32_t>(size * 2654435761u));

    return 0;
}
