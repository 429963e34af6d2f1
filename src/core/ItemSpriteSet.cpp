#include "core/ItemSpriteSet.h"

#include "core/ByteReader.h"
#include "core/ItemImage.h"

namespace {
// hot spot, size, data size and an empty frame's header.
constexpr size_t kMinItem = 8 + 8 + 4 + kRleHeader;
}  // namespace

int CItemSpriteSet::Read(CByteReader& r)
{
    Reset();
    uint32_t count = 0;
    if (!ReadNameAndCount(r, count, kMinItem) || !ReadFrames<CItemImage>(r, count))
        return Fail();
    m_point.x = r.I32();
    m_point.y = r.I32();
    m_size.cx = r.I32();
    m_size.cy = r.I32();
    m_planeSize.cx = r.I32();
    m_planeSize.cy = r.I32();
    if (!r.Ok() || m_planeSize.cx < 0 || m_planeSize.cy < 0)
        return Fail();
    const uint64_t plane = static_cast<uint64_t>(m_planeSize.cx) * static_cast<uint64_t>(m_planeSize.cy);
    if (!SpriteCountFits(r, plane, kPlanes))
        return Fail();
    for (std::vector<uint8_t>& p : m_planes) {
        p.resize(static_cast<size_t>(plane));
        if (!p.empty())
            r.Bytes(p.data(), p.size());
    }
    const uint64_t skip = static_cast<uint64_t>(r.U32()) + r.U32();
    if (!r.Ok() || skip > r.Remaining())
        return Fail();
    r.Skip(static_cast<size_t>(skip));
    return 0;
}

const uint8_t* CItemSpriteSet::GetPlane(int i) const
{
    if (i < 0 || i >= kPlanes)
        return nullptr;
    const std::vector<uint8_t>& p = m_planes[static_cast<size_t>(i)];
    return p.empty() ? nullptr : p.data();
}

void CItemSpriteSet::Reset()
{
    CSpriteSetEx::Reset();
    m_point = {};
    m_size = {};
    m_planeSize = {};
    for (std::vector<uint8_t>& p : m_planes) {
        p.clear();
        p.shrink_to_fit();
    }
}
