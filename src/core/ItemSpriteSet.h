// An item set (from the object files): frames of CItemImage, a point, two
// sizes and three planes of width x height bytes.
#pragma once
#include <array>
#include <vector>

#include "core/SpriteSet.h"

class CItemSpriteSet : public CSpriteSetEx {
public:
    static constexpr int kPlanes = 3;

    CItemSpriteSet() : CSpriteSetEx(kindItem) {}

    using CSpriteSet::Read;
    // name (32), u32 count, item images, point, size, plane size (w, h), the
    // three planes, then u32 L1, u32 L2 and L1 + L2 bytes that are skipped.
    int Read(CByteReader& r) override;

    const RlePoint& GetPoint() const { return m_point; }
    const CSize& GetSize() const { return m_size; }
    const CSize& GetPlaneSize() const { return m_planeSize; }
    // Plane i (width x height bytes), or null.
    const uint8_t* GetPlane(int i) const;

protected:
    void Reset() override;

    RlePoint m_point;
    CSize m_size;
    CSize m_planeSize;
    std::array<std::vector<uint8_t>, kPlanes> m_planes;
};
