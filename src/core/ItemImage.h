// A frame of an item set: the picture with its hot spot and size.
#pragma once
#include "core/RleImage.h"

class CItemImage : public CRleImage {
public:
    // Hot spot (i32 x, y), size (i32 cx, cy), u32 size, frame data.
    int Read(CByteReader& r) override;
};
