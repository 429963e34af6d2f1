#include "core/Blit.h"

#include <algorithm>
#include <cstring>

namespace {

SpriteClipRect g_spriteClip;

struct SurfaceContext {
    uint8_t* base = nullptr;
    int32_t width = 0;  // also the row length
    int32_t height = 0;
    int32_t clipLeft = 0;  // inclusive
    int32_t clipTop = 0;
    int32_t clipRight = -1;
    int32_t clipBottom = -1;
};
SurfaceContext g_surface;

// The screen context's clip, inclusive.
constexpr int32_t kScreenClipLeft = 0;
constexpr int32_t kScreenClipTop = 0;
constexpr int32_t kScreenClipRight = kScreenWidth - 1;
constexpr int32_t kScreenClipBottom = kScreenHeight - 1;
int32_t g_screenOriginX = 0;

uint32_t LoadU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// The sprite clip cut to the target's own bounds; right and bottom exclusive.
struct Box {
    int64_t left, top, right, bottom;
};

bool SpriteBox(const BlitTarget& t, Box& box)
{
    if (!t.bits || t.width <= 0 || t.height <= 0 || t.pitch < t.width)
        return false;
    box.left = std::max<int64_t>(g_spriteClip.left, 0);
    box.top = std::max<int64_t>(g_spriteClip.top, 0);
    box.right = std::min<int64_t>(g_spriteClip.right, t.width);
    box.bottom = std::min<int64_t>(g_spriteClip.bottom, t.height);
    return box.left < box.right && box.top < box.bottom;
}

// Walks an RLE frame and hands every visible piece of a run to op:
//   op.Row(row) -> false to leave the row undrawn (its runs are still parsed)
//   op.Run(dst, src, n, column, row) for n visible pixels starting at frame
//   column `column`; src points at the first of them (Bpp bytes each).
template <int Bpp, class Op>
void WalkRle(int x, int y, const uint8_t* frame, size_t size, const BlitTarget& target, Op& op)
{
    if (!frame || size < 8)
        return;
    Box box;
    if (!SpriteBox(target, box))
        return;
    const int64_t w = LoadU32(frame);
    const int64_t h = LoadU32(frame + 4);
    if (x >= box.right || x + w <= box.left || y >= box.bottom || y + h <= box.top)
        return;
    const int64_t firstRow = std::max<int64_t>(0, box.top - y);
    const int64_t endRow = std::min<int64_t>(h, box.bottom - y);

    const uint8_t* p = frame + 8;
    const uint8_t* const end = frame + size;
    for (int64_t row = 0; row < endRow; ++row) {
        const bool draw = row >= firstRow && op.Row(row);
        uint8_t* dstRow = draw ? target.bits + (y + row) * static_cast<int64_t>(target.pitch) : nullptr;
        int64_t col = 0;  // frame column
        for (;;) {
            if (end - p < 2)
                return;
            col += p[0];
            const int64_t count = p[1];
            p += 2;
            if (end - p < count * Bpp + 1)
                return;
            if (draw && count > 0) {
                const int64_t from = std::max(x + col, box.left);
                const int64_t to = std::min(x + col + count, box.right);
                if (from < to)
                    op.Run(dstRow + from, p + (from - x - col) * Bpp, static_cast<int>(to - from),
                           from - x, row);
            }
            col += count;
            p += count * Bpp;
            if (*p++ == 0)
                break;
        }
    }
}

struct CopyOp {
    bool Row(int64_t) { return true; }
    void Run(uint8_t* d, const uint8_t* s, int n, int64_t, int64_t) { std::memcpy(d, s, static_cast<size_t>(n)); }
};

struct RemapOp {
    const uint8_t* table;
    bool Row(int64_t) { return true; }
    void Run(uint8_t* d, const uint8_t* s, int n, int64_t, int64_t)
    {
        for (int i = 0; i < n; ++i)
            d[i] = table[s[i]];
    }
};

struct BlendOp {
    const uint8_t* table;
    bool Row(int64_t) { return true; }
    void Run(uint8_t* d, const uint8_t* s, int n, int64_t, int64_t)
    {
        for (int i = 0; i < n; ++i)
            d[i] = table[(static_cast<unsigned>(s[i]) << 8) | d[i]];
    }
};

struct BlendLevelsOp {
    const uint8_t* table;
    bool Row(int64_t) { return true; }
    void Run(uint8_t* d, const uint8_t* s, int n, int64_t, int64_t)
    {
        for (int i = 0; i < n; ++i) {
            const unsigned level = s[2 * i] & 7u;
            d[i] = table[(level << 16) | (static_cast<unsigned>(s[2 * i + 1]) << 8) | d[i]];
        }
    }
};

// Writes every other pixel, starting at the first whose parity matches.
inline void CopyAlternate(uint8_t* d, const uint8_t* s, int n, int64_t parity)
{
    for (int i = static_cast<int>(parity & 1); i < n; i += 2)
        d[i] = s[i];
}

struct StippleOp {
    uint32_t rowBase, colBase;
    bool Row(int64_t row) { return ((rowBase + row) & 1) != 0; }
    void Run(uint8_t* d, const uint8_t* s, int n, int64_t col, int64_t)
    {
        // The first pixel to write is the first with column + colBase even.
        CopyAlternate(d, s, n, (col + colBase) & 1);
    }
};

struct CheckerOp {
    uint32_t rowBase, colBase;
    bool Row(int64_t) { return true; }
    void Run(uint8_t* d, const uint8_t* s, int n, int64_t col, int64_t row)
    {
        CopyAlternate(d, s, n, (col + colBase + rowBase + row) & 1);
    }
};

}  // namespace

void SetSpriteClipRect(int left, int top, int right, int bottom)
{
    g_spriteClip = SpriteClipRect{left, top, right, bottom};
}

SpriteClipRect GetSpriteClipRect() { return g_spriteClip; }

void BlitRle(int x, int y, const uint8_t* frame, size_t size, const BlitTarget& target)
{
    CopyOp op;
    WalkRle<1>(x, y, frame, size, target, op);
}

void BlitRleRemap(int x, int y, const uint8_t* frame, size_t size, const BlitTarget& target,
                  const uint8_t* table)
{
    if (!table)
        return;
    RemapOp op{table};
    WalkRle<1>(x, y, frame, size, target, op);
}

void BlitRleBlend(int x, int y, const uint8_t* frame, size_t size, const BlitTarget& target,
                  const uint8_t* table)
{
    if (!table)
        return;
    BlendOp op{table};
    WalkRle<1>(x, y, frame, size, target, op);
}

void BlitRleBlendLevels(int x, int y, const uint8_t* frame, size_t size, const BlitTarget& target,
                        const uint8_t* table)
{
    if (!table)
        return;
    BlendLevelsOp op{table};
    WalkRle<2>(x, y, frame, size, target, op);
}

void BlitRleStipple(int x, int y, const uint8_t* frame, size_t size, const BlitTarget& target,
                    uint32_t phase)
{
    StippleOp op{phase & 0xFF, (phase >> 8) & 0xFF};
    WalkRle<1>(x, y, frame, size, target, op);
}

void BlitRleChecker(int x, int y, const uint8_t* frame, size_t size, const BlitTarget& target,
                    uint32_t phase)
{
    CheckerOp op{phase & 0xFF, (phase >> 8) & 0xFF};
    WalkRle<1>(x, y, frame, size, target, op);
}

void BlitDecoded(int x, int y, const uint8_t* frame, size_t size, const BlitTarget& target)
{
    if (!frame || size < 8)
        return;
    Box box;
    if (!SpriteBox(target, box))
        return;
    const int64_t w = LoadU32(frame);
    int64_t h = LoadU32(frame + 4);
    if (w <= 0)
        return;
    // A short frame draws the whole rows it holds.
    h = std::min<int64_t>(h, static_cast<int64_t>((size - 8) / static_cast<uint64_t>(w)));
    if (x >= box.right || x + w <= box.left || y >= box.bottom || y + h <= box.top)
        return;
    const int64_t firstRow = std::max<int64_t>(0, box.top - y);
    const int64_t endRow = std::min<int64_t>(h, box.bottom - y);
    const int64_t from = std::max<int64_t>(x, box.left);
    const int64_t to = std::min<int64_t>(x + w, box.right);
    const size_t n = static_cast<size_t>(to - from);
    const uint8_t* src = frame + 8 + firstRow * w + (from - x);
    uint8_t* dst = target.bits + (y + firstRow) * static_cast<int64_t>(target.pitch) + from;
    for (int64_t row = firstRow; row < endRow; ++row) {
        std::memcpy(dst, src, n);
        src += w;
        dst += target.pitch;
    }
}

// ---- surface context -------------------------------------------------------

void ScreenInitSurface(uint8_t* base, int width, int height)
{
    if (!base || width <= 0 || height <= 0) {
        g_surface = SurfaceContext{};
        return;
    }
    g_surface.base = base;
    g_surface.width = width;
    g_surface.height = height;
    g_surface.clipLeft = 0;
    g_surface.clipTop = 0;
    g_surface.clipRight = width - 1;
    g_surface.clipBottom = height - 1;
}

void ScreenSetClip(int left, int top, int right, int bottom)
{
    g_surface.clipLeft = std::max(left, 0);
    g_surface.clipTop = std::max(top, 0);
    g_surface.clipRight = std::min(right, g_surface.width - 1);
    g_surface.clipBottom = std::min(bottom, g_surface.height - 1);
}

void ScreenBlitKeyed(int x, int y, int w, int h, const uint8_t* source)
{
    const SurfaceContext& s = g_surface;
    if (!s.base || !source || w <= 0 || h <= 0)
        return;
    const int64_t x0 = std::max<int64_t>(x, s.clipLeft);
    const int64_t x1 = std::min<int64_t>(int64_t{x} + w - 1, s.clipRight);
    const int64_t y0 = std::max<int64_t>(y, s.clipTop);
    const int64_t y1 = std::min<int64_t>(int64_t{y} + h - 1, s.clipBottom);
    if (x0 > x1 || y0 > y1)
        return;
    const int64_t n = x1 - x0 + 1;
    for (int64_t row = y0; row <= y1; ++row) {
        const uint8_t* src = source + (row - y) * w + (x0 - x);
        uint8_t* dst = s.base + row * s.width + x0;
        for (int64_t i = 0; i < n; ++i)
            if (src[i] != 255)
                dst[i] = src[i];
    }
}

void ScreenScrollVertical(int, int rows)
{
    const SurfaceContext& s = g_surface;
    if (!s.base || rows == 0)
        return;
    const size_t pitch = static_cast<size_t>(s.width);
    const int64_t n = rows < 0 ? -int64_t{rows} : int64_t{rows};
    if (n >= s.height) {
        std::memset(s.base, 255, pitch * static_cast<size_t>(s.height));
        return;
    }
    const size_t moved = pitch * static_cast<size_t>(s.height - n);
    const size_t filled = pitch * static_cast<size_t>(n);
    if (rows < 0) {
        std::memmove(s.base, s.base + filled, moved);
        std::memset(s.base + moved, 255, filled);
    } else {
        std::memmove(s.base + filled, s.base, moved);
        std::memset(s.base, 255, filled);
    }
}

// ---- screen ------------------------------------------------------------------

void ScreenFillRect(const BlitTarget& target, int x, int y, int w, int h, int colour)
{
    if (!target.bits || w <= 0 || h <= 0 || target.width <= 0 || target.height <= 0 ||
        target.pitch < target.width)
        return;
    const int64_t left = std::max<int64_t>({x, kScreenClipLeft, 0});
    const int64_t right = std::min<int64_t>({int64_t{x} + w - 1, kScreenClipRight, target.width - 1});
    const int64_t top = std::max<int64_t>({y, kScreenClipTop, 0});
    const int64_t bottom = std::min<int64_t>({int64_t{y} + h - 1, kScreenClipBottom, target.height - 1});
    if (left > right || top > bottom)
        return;
    const size_t n = static_cast<size_t>(right - left + 1);
    uint8_t* dst = target.bits + top * static_cast<int64_t>(target.pitch) + left;
    for (int64_t row = top; row <= bottom; ++row, dst += target.pitch)
        std::memset(dst, colour & 0xFF, n);
}

void SetScreenOriginX(int x) { g_screenOriginX = x; }
int GetScreenOriginX() { return g_screenOriginX; }

void ResetBlitContexts()
{
    g_spriteClip = SpriteClipRect{};
    g_surface = SurfaceContext{};
    g_screenOriginX = 0;
}
