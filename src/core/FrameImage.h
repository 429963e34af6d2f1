// A frame of an animated set: the picture with four hit rectangles and four
// points; point 0 is the hot spot.
#pragma once
#include <array>

#include "core/RleImage.h"

class CFrameImage : public CRleImage {
public:
    static constexpr int kRects = 4;
    static constexpr int kPoints = 4;
    // Bytes of the record before the frame data.
    static constexpr size_t kRecordHead = 64 + 32 + 12;

    // 4 rectangles, 4 points, i32 width, i32 height, u32 size, frame data.
    int Read(CByteReader& r) override;
    const RleRect* GetRect(int i) const override;
    const RlePoint* GetPoint(int i) const override;

protected:
    // The record with one- or two-byte pixels.
    int ReadRecord(CByteReader& r, int pixelBytes);

    std::array<RlePoint, kPoints> m_points{};
    std::array<RleRect, kRects> m_rects{};
};
