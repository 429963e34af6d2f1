#include "intro/Slide.h"

#include "core/ByteReader.h"
#include "core/ResFile.h"

#include <algorithm>
#include <cstdint>

namespace {
// No slide file comes near this; a larger entry is refused before it is read.
constexpr long kMaxSlideFile = 64L << 20;

// A frame's left edge from the file's anchor, kept far off screen rather than
// overflowing when the anchor is out of all reason.
int AnchoredLeft(int x, int anchorX)
{
    constexpr int64_t kFar = 1 << 20;
    return static_cast<int>(std::clamp<int64_t>(int64_t{x} - anchorX, -kFar, kFar));
}
}  // namespace

int CSlide::Load(const char* name)
{
    Free();
    const int h = ResOpen(name);
    if (h < 0)
        return -1;
    const long size = ResSize(h);
    if (size < 0 || size > kMaxSlideFile) {
        ResClose(h);
        return -1;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    const size_t got = bytes.empty() ? 0 : ResRead(bytes.data(), 1, bytes.size(), h);
    ResClose(h);
    if (got != bytes.size())
        return -1;
    return Load(bytes.data(), bytes.size());
}

int CSlide::Load(const uint8_t* data, size_t size)
{
    Free();
    CByteReader r(data, size);
    r.Skip(kHeaderSkip);
    const uint32_t count = r.U32();
    r.Skip(kCountSkip);
    // Every frame needs at least its record and a frame header: a count the
    // entry cannot hold is refused before anything is sized by it.
    if (!r.Ok() || count > r.Remaining() / (kFrameRecord + kFrameHeader))
        return -1;

    m_frames.resize(count);
    m_rects.resize(static_cast<size_t>(count) * 4);
    m_anchors.resize(static_cast<size_t>(count) * 4);
    m_frameSizes.resize(count);
    m_frameWidths.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
        for (int j = 0; j < 4; ++j) {
            SlideRect& rc = m_rects[static_cast<size_t>(i) * 4 + j];
            rc.left = r.I32();
            rc.top = r.I32();
            rc.right = r.I32();
            rc.bottom = r.I32();
        }
        for (int j = 0; j < 4; ++j) {
            SlidePoint& pt = m_anchors[static_cast<size_t>(i) * 4 + j];
            pt.x = r.I32();
            pt.y = r.I32();
        }
        m_width = r.I32();
        m_height = r.I32();
        const uint32_t frameSize = r.U32();
        if (!r.Ok() || frameSize < kFrameHeader || frameSize > r.Remaining()) {
            Free();
            return -1;
        }
        m_frames[i].assign(r.Data() + r.Pos(), r.Data() + r.Pos() + frameSize);
        r.Skip(frameSize);
        m_frameSizes[i] = frameSize;
        CByteReader head(m_frames[i].data(), frameSize);
        m_frameWidths[i] = head.U32();
    }
    m_count = count;
    return 0;
}

void CSlide::Free()
{
    m_frames.clear();
    m_rects.clear();
    m_anchors.clear();
    m_frameSizes.clear();
    m_frameWidths.clear();
    m_count = 0;
}

void CSlide::Draw(int i, int x, int y, const BlitTarget& target, bool remapped) const
{
    if (!HasFrame(i))
        return;
    const auto& f = m_frames[static_cast<size_t>(i)];
    const int left = AnchoredLeft(x, GetAnchor(i, 0).x);
    if (remapped)
        BlitRleRemap(left, y, f.data(), f.size(), target, m_colourTable.data());
    else
        BlitRle(left, y, f.data(), f.size(), target);
}

void CSlide::DrawMapped(int i, int x, int y, const BlitTarget& target, const uint8_t* table) const
{
    if (!HasFrame(i) || !table)
        return;
    const auto& f = m_frames[static_cast<size_t>(i)];
    BlitRleBlend(AnchoredLeft(x, GetAnchor(i, 0).x), y, f.data(), f.size(), target, table);
}

uint32_t CSlide::GetFrameWidth(int i) const
{
    return HasFrame(i) ? m_frameWidths[static_cast<size_t>(i)] : 0;
}
