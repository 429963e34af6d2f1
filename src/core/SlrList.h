// A sprite list (.slr): run-length frames, each with four hit rectangles and
// four anchor points. Windows, buttons and icons draw from these; a list can
// be expanded to plain pixels, cropped, copied and written on with text.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/Blit.h"
#include "core/RleFrame.h"

class CSlrList {
public:
    static constexpr int kRects = 4;
    static constexpr int kAnchors = 4;
    // File layout: a 40-byte header, u32 frame count, 8 bytes, the frames.
    static constexpr size_t kCountOffset = 40;
    static constexpr size_t kFramesOffset = 52;
    // Rectangles, anchors, width, height and data size of a frame record.
    static constexpr size_t kFrameHead = 64 + 32 + 12;
    // The most that Decode and CreateCropped make of one list.
    static constexpr size_t kMaxDecodedBytes = size_t{64} << 20;

    CSlrList();
    ~CSlrList();
    CSlrList(const CSlrList& other);
    CSlrList& operator=(const CSlrList& other);

    // Reads the .slr entry (from "bindfile.dat" for the bound names); a
    // missing entry is reported in a message box. 0, or -1 with the list
    // left unloaded.
    int Load(const char* name);
    // The same from the bytes of a whole .slr file.
    int LoadFromMemory(const uint8_t* data, size_t size);

    // remap: draw RLE frames through the colour table (decoded lists then
    // draw nothing).
    void Draw(int i, int x, int y, const BlitTarget& target, int remap = 0) const;
    // RLE frame i through a 256 x 256 blend table.
    void DrawEx(int i, int x, int y, const BlitTarget& target, const uint8_t* table) const;
    // 1 when (x, y), relative to the frame's origin, lies strictly inside one
    // of frame i's rectangles.
    int HitTest(int i, int x, int y) const;
    // Anchor j of frame i; (0, 0) when either is out of range.
    RlePoint GetAnchor(int i, int j) const;
    // Rectangle j of frame i, or null.
    const RleRect* GetRect(int i, int j) const;
    // Rectangle 0 of every frame := (0, 0, width, height).
    void ResetRects();
    // Expands every frame to u32 width, u32 height and width x height
    // pixels (0 where transparent).
    void Decode();
    // Makes decoded frame i the text layer's target, without shadow.
    void SetAsTextTarget(int i);
    // Frame i's buffer (RLE or decoded, from its 8-byte header), or null.
    uint8_t* GetFrame(int i);
    const uint8_t* GetFrame(int i) const;
    size_t GetFrameSize(int i) const;
    void Free();
    void CopyConstruct(const CSlrList& other);
    void CopyFrom(const CSlrList& other);
    // Frames cut from a decoded source at (x, y), w rounded up to a multiple
    // of 4 by h; what lies outside the source is 0.
    void CreateCropped(const CSlrList& source, int x, int y, int w, int h);
    // One RLE frame, a copy of data (which starts with u32 width, u32
    // height); 0, or -1 when it is not a valid frame (the list stays empty).
    int CreateFromBuffer(const uint8_t* data, size_t size);
    // The first pixel of colour 0 or 255 in RLE frame i, scanning rows from
    // the top and each row from the left: 1 and its column and row, else 0.
    int CheckFrame(int i, RlePoint* out) const;

    bool IsLoaded() const { return m_loaded; }
    bool IsRle() const { return m_rle != 0; }
    int GetFrameCount() const { return static_cast<int>(m_frames.size()); }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    // The 256-byte palette remapping of remapped draws; the owner fills it.
    uint8_t* GetColorTable() { return m_colorTable.data(); }
    const uint8_t* GetColorTable() const { return m_colorTable.data(); }

private:
    struct Frame {
        std::vector<uint8_t> data;
        std::array<RleRect, kRects> rects{};
        std::array<RlePoint, kAnchors> anchors{};
    };

    const Frame* FrameAt(int i) const;
    bool ReadEntry(const char* name, std::vector<uint8_t>& out);

    std::vector<Frame> m_frames;
    // Set while there is a frame table, even one of no frames.
    bool m_loaded = false;
    int32_t m_width = 0;
    int32_t m_height = 0;
    std::array<uint8_t, 256> m_colorTable{};
    uint32_t m_rle = 1;
};
