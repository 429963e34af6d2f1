#include "core/FrameShadowImage.h"

#include <algorithm>

#include "core/ByteReader.h"

int CFrameShadowImage::Read(CByteReader& r)
{
    return ReadRecord(r, 2);
}

void CFrameShadowImage::Draw(int x, int y, const BlitTarget& target)
{
    if (m_data.empty() || target.bits == nullptr)
        return;
    // The data passed RleFrameValid with two-byte pixels at load.
    const uint8_t* p = m_data.data();
    const int32_t w = static_cast<int32_t>(GetDataWidth());
    const int32_t h = static_cast<int32_t>(GetDataHeight());
    const SpriteClipRect clip = GetSpriteClipRect();
    const int64_t left = std::max<int64_t>(clip.left, 0);
    const int64_t top = std::max<int64_t>(clip.top, 0);
    const int64_t right = std::min<int64_t>(clip.right, target.width);
    const int64_t bottom = std::min<int64_t>(clip.bottom, target.height);
    const int64_t x0 = x;
    const int64_t y0 = y;
    if (x0 >= right || x0 + w <= left || y0 >= bottom || y0 + h <= top)
        return;
    size_t pos = kRleHeader;
    for (int32_t row = 0; row < h; ++row) {
        const int64_t ty = y0 + row;
        if (ty >= bottom)
            break;
        const bool drawn = ty >= top;
        uint8_t* line = drawn ? target.bits + ty * static_cast<int64_t>(target.pitch) : nullptr;
        int64_t col = x0;
        for (;;) {
            col += p[pos];
            const uint32_t count = p[pos + 1];
            pos += 2;
            if (drawn) {
                for (uint32_t i = 0; i < count; ++i) {
                    const int64_t c = col + i;
                    if (c >= left && c < right)
                        line[c] = p[pos + 2 * i + 1];
                }
            }
            col += count;
            pos += 2 * static_cast<size_t>(count);
            if (p[pos++] == 0)
                break;
        }
    }
}

void CFrameShadowImage::DrawRemap(int, int, const BlitTarget&, const uint8_t*)
{
}

void CFrameShadowImage::DrawBlend(int, int, const BlitTarget&, const uint8_t*)
{
}

void CFrameShadowImage::DrawStipple(int, int, const BlitTarget&, uint32_t)
{
}

void CFrameShadowImage::DrawChecker(int, int, const BlitTarget&, uint32_t)
{
}

void CFrameShadowImage::DrawBlendLevels(int x, int y, const BlitTarget& target, const uint8_t* table)
{
    if (!m_data.empty() && table != nullptr)
        BlitRleBlendLevels(x, y, m_data.data(), m_data.size(), target, table);
}
