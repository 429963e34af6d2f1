#include "core/RleFrame.h"

#include "core/ByteReader.h"
#include "platform/Crt.h"

namespace {

uint32_t LoadU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

bool RleFrameValid(const uint8_t* data, size_t size, int pixelBytes)
{
    if (data == nullptr || size < kRleHeader || (pixelBytes != 1 && pixelBytes != 2))
        return false;
    const uint32_t w = LoadU32(data);
    const uint32_t h = LoadU32(data + 4);
    if (w > kRleMaxSide || h > kRleMaxSide)
        return false;
    // Every row takes at least three bytes.
    if (h > (size - kRleHeader) / 3)
        return false;
    size_t pos = kRleHeader;
    for (uint32_t row = 0; row < h; ++row) {
        uint32_t x = 0;
        for (;;) {
            if (size - pos < 2)
                return false;
            const uint32_t skip = data[pos];
            const uint32_t count = data[pos + 1];
            pos += 2;
            x += skip + count;
            if (x > w)
                return false;
            const size_t bytes = static_cast<size_t>(count) * static_cast<size_t>(pixelBytes);
            if (size - pos < bytes + 1)
                return false;
            if (pixelBytes == 2) {
                for (size_t i = 0; i < bytes; i += 2) {
                    if (data[pos + i] > kRleMaxLevel)
                        return false;
                }
            }
            pos += bytes;
            if (data[pos++] == 0)
                break;
        }
    }
    return true;
}

uint32_t RleFrameWidth(const uint8_t* data, size_t size)
{
    return (data != nullptr && size >= kRleHeader) ? LoadU32(data) : 0;
}

uint32_t RleFrameHeight(const uint8_t* data, size_t size)
{
    return (data != nullptr && size >= kRleHeader) ? LoadU32(data + 4) : 0;
}

bool RleReadFrame(CByteReader& r, uint32_t size, int pixelBytes, std::vector<uint8_t>& out)
{
    out.clear();
    if (!r.Ok() || size > r.Remaining())
        return false;
    const uint8_t* p = r.Data() + r.Pos();
    if (!RleFrameValid(p, size, pixelBytes))
        return false;
    out.assign(p, p + size);
    r.Skip(size);
    return true;
}

void RleReadRects(CByteReader& r, RleRect* rects, int n)
{
    for (int i = 0; i < n; ++i) {
        rects[i].left = r.I32();
        rects[i].top = r.I32();
        rects[i].right = r.I32();
        rects[i].bottom = r.I32();
    }
}

void RleReadPoints(CByteReader& r, RlePoint* points, int n)
{
    for (int i = 0; i < n; ++i) {
        points[i].x = r.I32();
        points[i].y = r.I32();
    }
}

bool SpriteNameEquals(const char* slot, const char* name)
{
    if (slot == nullptr || name == nullptr)
        return false;
    for (size_t i = 0; i < kSpriteNameSize; ++i) {
        const int a = plat::FoldLower(static_cast<unsigned char>(slot[i]));
        const int b = plat::FoldLower(static_cast<unsigned char>(name[i]));
        if (a != b)
            return false;
        if (a == 0)
            return true;
    }
    // The slot is full: the name must end here too.
    return name[kSpriteNameSize] == '\0';
}

bool SpriteCountFits(const CByteReader& r, uint64_t count, size_t minEach)
{
    return r.Ok() && minEach > 0 && count <= r.Remaining() / minEach;
}
