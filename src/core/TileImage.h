// A frame of a tile set: a flag byte and the picture.
#pragma once
#include "core/RleImage.h"

class CTileImage : public CRleImage {
public:
    // u8 flag, u32 size, size bytes of frame data.
    int Read(CByteReader& r) override;

    uint8_t GetFlag() const { return m_flag; }

private:
    uint8_t m_flag = 0;
};
