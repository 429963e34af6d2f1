#include "core/FrameImage.h"

#include "core/ByteReader.h"

int CFrameImage::Read(CByteReader& r)
{
    return ReadRecord(r, 1);
}

int CFrameImage::ReadRecord(CByteReader& r, int pixelBytes)
{
    RleReadRects(r, m_rects.data(), kRects);
    RleReadPoints(r, m_points.data(), kPoints);
    m_size.cx = r.I32();
    m_size.cy = r.I32();
    const uint32_t size = r.U32();
    m_hotSpot = m_points[0];
    if (!r.Ok() || !ReadData(r, size, pixelBytes))
        return -1;
    return 0;
}

const RleRect* CFrameImage::GetRect(int i) const
{
    return (i >= 0 && i < kRects) ? &m_rects[static_cast<size_t>(i)] : nullptr;
}

const RlePoint* CFrameImage::GetPoint(int i) const
{
    return (i >= 0 && i < kPoints) ? &m_points[static_cast<size_t>(i)] : nullptr;
}
