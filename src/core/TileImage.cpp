#include "core/TileImage.h"

#include "core/ByteReader.h"

int CTileImage::Read(CByteReader& r)
{
    m_flag = r.U8();
    const uint32_t size = r.U32();
    if (!r.Ok() || !ReadData(r, size, 1))
        return -1;
    return 0;
}
