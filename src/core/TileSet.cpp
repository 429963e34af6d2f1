#include "core/TileSet.h"

#include "core/ByteReader.h"
#include "core/SpriteEntry.h"
#include "core/TileImage.h"

CTileSet g_cursorTileSet;

namespace {
// u8 flag, u32 size and an empty frame's header.
constexpr size_t kMinTile = 1 + 4 + kRleHeader;
}  // namespace

int CTileSet::Read(CByteReader& r)
{
    Reset();
    uint32_t count = 0;
    if (!ReadNameAndCount(r, count, kMinTile) || !ReadFrames<CTileImage>(r, count))
        return Fail();
    return 0;
}

int CTileSet::Load(const char* name)
{
    return LoadEntry(name, kFileHeader);
}
