// The pixel loops that put sprites, glyphs and filled rectangles into 8-bit
// buffers, and the process-wide drawing contexts they clip against.
//
// Every routine clips against both its context's clip rectangle and the
// bounds of the buffer it is given: nothing is ever written outside the
// target, whatever the coordinates or the frame data.
//
// RLE frame (as the sprite files hold it, little-endian):
//   u32 width, u32 height, then height rows; a row is one or more runs of
//   u8 skip, u8 count, count pixels, u8 more (0 ends the row). An empty row
//   is 0, 0, 0. The column of a pixel is the sum of the skips and counts
//   before it in its row. The per-pixel-level form stores two bytes per
//   pixel: the blend level (0..7), then the colour.
// Decoded frame: u32 width, u32 height, then width x height bytes.
//
// The frame routines take the frame's size in bytes: parsing stops at the end
// of the data, so a truncated frame draws what it holds and no more.
#pragma once
#include <cstddef>
#include <cstdint>

// A buffer to draw into: the first byte of row 0, its size in pixels and the
// distance between rows in bytes.
struct BlitTarget {
    uint8_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0;
};

constexpr int32_t kScreenWidth = 800;
constexpr int32_t kScreenHeight = 600;

// The 800 x 600 screen (row length 800) at bits.
inline BlitTarget ScreenTarget(uint8_t* bits)
{
    return BlitTarget{bits, kScreenWidth, kScreenHeight, kScreenWidth};
}

// ---- the sprite clip -----------------------------------------------------

// Right and bottom are exclusive. Starts as (0, 0, 800, 480).
struct SpriteClipRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 800;
    int32_t bottom = 480;
};

void SetSpriteClipRect(int left, int top, int right, int bottom);
SpriteClipRect GetSpriteClipRect();

// ---- sprite blitters -----------------------------------------------------

// Colour 255 is not special here: transparency is the runs' skips.
void BlitRle(int x, int y, const uint8_t* frame, size_t size, const BlitTarget& target);
// table: 256 bytes; writes table[colour].
void BlitRleRemap(int x, int y, const uint8_t* frame, size_t size, const BlitTarget& target,
                  const uint8_t* table);
// table: 256 x 256 bytes (one level of the blend table); writes
// table[colour * 256 + existing byte].
void BlitRleBlend(int x, int y, const uint8_t* frame, size_t size, const BlitTarget& target,
                  const uint8_t* table);
// Two-byte pixels {level, colour}; table: the whole 8 x 256 x 256 blend
// table. Levels above 7 are taken modulo 8.
void BlitRleBlendLevels(int x, int y, const uint8_t* frame, size_t size, const BlitTarget& target,
                        const uint8_t* table);
// Half coverage: only the rows where (phase & 0xFF) + row is odd are drawn,
// and in them the pixels whose column + ((phase >> 8) & 0xFF) is even.
void BlitRleStipple(int x, int y, const uint8_t* frame, size_t size, const BlitTarget& target,
                    uint32_t phase);
// Checkerboard: every row; a pixel is drawn when
// column + ((phase >> 8) & 0xFF) + (phase & 0xFF) + row is even.
void BlitRleChecker(int x, int y, const uint8_t* frame, size_t size, const BlitTarget& target,
                    uint32_t phase);
// Opaque copy of a decoded frame.
void BlitDecoded(int x, int y, const uint8_t* frame, size_t size, const BlitTarget& target);

// ---- the surface context of the text layer --------------------------------

// Surface := (base, width, height) with row length width; clip := the whole
// surface.
void ScreenInitSurface(uint8_t* base, int width, int height);
// Inclusive clip, kept inside the surface.
void ScreenSetClip(int left, int top, int right, int bottom);
// Copies the w x h source (rows of w bytes) at (x, y), leaving out every 255.
void ScreenBlitKeyed(int x, int y, int w, int h, const uint8_t* source);
// Scrolls the whole surface by rows (negative: up) and fills the rows moved
// in with 255. The first argument is not used.
void ScreenScrollVertical(int unused, int rows);

// ---- the screen ------------------------------------------------------------

// Fills the rectangle with the low byte of colour, clipped to the inclusive
// screen clip (0..799, 0..599) and to the target.
void ScreenFillRect(const BlitTarget& target, int x, int y, int w, int h, int colour);
// The intro layer's horizontal origin.
void SetScreenOriginX(int x);
int GetScreenOriginX();

// Every context back to its start state (tests).
void ResetBlitContexts();
