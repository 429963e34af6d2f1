#include "core/ItemImage.h"

#include "core/ByteReader.h"

int CItemImage::Read(CByteReader& r)
{
    m_hotSpot.x = r.I32();
    m_hotSpot.y = r.I32();
    m_size.cx = r.I32();
    m_size.cy = r.I32();
    const uint32_t size = r.U32();
    if (!r.Ok() || !ReadData(r, size, 1))
        return -1;
    return 0;
}
