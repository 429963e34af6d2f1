// A tile set (.tle): a name and frames of CTileImage.
#pragma once
#include "core/SpriteSet.h"

class CTileSet : public CSpriteSet {
public:
    // The header in front of the set in a .tle file.
    static constexpr size_t kFileHeader = 20;

    CTileSet() : CSpriteSet(kindTile) {}

    using CSpriteSet::Read;
    // name (32), u32 count, count tile records.
    int Read(CByteReader& r) override;
    // A whole .tle entry: the header, then the set.
    int Load(const char* name) override;
};

// The mouse cursor's tile set, loaded from "data\cursor.tle" by stage loading.
extern CTileSet g_cursorTileSet;
