// What the sprite files share: the rectangle and point records of frames and
// the check every run-length frame passes before anything draws it.
//
// RLE frame: u32 width, u32 height, then height rows; a row is runs of
// u8 skip, u8 count, count pixels, u8 more (0 ends the row). A pixel is one
// byte, or two ({blend level 0..7, colour}) in the shadow images of effects.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

class CByteReader;

struct RleRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const RleRect&) const = default;
};

struct RlePoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const RlePoint&) const = default;
};

// Largest width or height a sprite frame may have; keeps the decoded form of
// any frame (w x h + 8 bytes) within 16 MiB.
constexpr uint32_t kRleMaxSide = 4096;
// Size of the width/height header of a frame.
constexpr size_t kRleHeader = 8;
// Highest blend level of a two-byte pixel.
constexpr uint8_t kRleMaxLevel = 7;

// True when data holds a whole frame: a header whose sides are at most
// kRleMaxSide, and height rows that parse inside size with every run ending
// within the width (and, for two-byte pixels, every level at most 7).
bool RleFrameValid(const uint8_t* data, size_t size, int pixelBytes);

// The header of a frame that holds one (0, 0 otherwise).
uint32_t RleFrameWidth(const uint8_t* data, size_t size);
uint32_t RleFrameHeight(const uint8_t* data, size_t size);

// Reads `size` bytes of frame data from r into out and checks them; false
// (out emptied) when they are short or not a valid frame.
bool RleReadFrame(CByteReader& r, uint32_t size, int pixelBytes, std::vector<uint8_t>& out);

// Reads four rectangles then four points (96 bytes).
void RleReadRects(CByteReader& r, RleRect* rects, int n);
void RleReadPoints(CByteReader& r, RlePoint* points, int n);

// Case-insensitive compare of a name with a 32-byte slot that need not end
// in a NUL: true when they hold the same text.
constexpr size_t kSpriteNameSize = 32;
bool SpriteNameEquals(const char* slot, const char* name);

// True when count records of at least minEach bytes can still follow in r:
// the check made before anything is sized by a count from a file.
bool SpriteCountFits(const CByteReader& r, uint64_t count, size_t minEach);
