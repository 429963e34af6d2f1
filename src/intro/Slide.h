// A sprite list (.slr) held for the intro scenes: run-length frames with
// their hit rectangles and anchors, drawn plainly, remapped or blended.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/Blit.h"

class CSlide {
public:
    struct SlideRect {
        int32_t left = 0, top = 0, right = 0, bottom = 0;
    };
    struct SlidePoint {
        int32_t x = 0, y = 0;
    };

    // Bytes in front of the frame count, and between it and the frames.
    static constexpr size_t kHeaderSkip = 40;
    static constexpr size_t kCountSkip = 8;
    // A frame record before its data: 4 rectangles, 4 anchors, width,
    // height and the data size.
    static constexpr size_t kFrameRecord = 64 + 32 + 8 + 4;
    // A frame's data starts with its u32 width and u32 height.
    static constexpr size_t kFrameHeader = 8;

    CSlide() = default;
    CSlide(const CSlide&) = delete;
    CSlide& operator=(const CSlide&) = delete;
    CSlide(CSlide&&) = default;
    CSlide& operator=(CSlide&&) = default;

    // Reads the archive entry; 0, or -1 when it is missing or its counts
    // and sizes do not fit the entry (the slide is then empty).
    int Load(const char* name);
    // The same from bytes already in memory.
    int Load(const uint8_t* data, size_t size);
    void Free();

    // Frame i at (x - its first anchor's x, y); through the colour table
    // when remapped. A frame index out of range draws nothing.
    void Draw(int i, int x, int y, const BlitTarget& target, bool remapped = false) const;
    // The same position, blended through a 256 x 256 table.
    void DrawMapped(int i, int x, int y, const BlitTarget& target, const uint8_t* table) const;

    // 0 for a frame index out of range.
    uint32_t GetFrameWidth(int i) const;
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    uint32_t GetFrameCount() const { return m_count; }
    bool HasFrame(int i) const { return i >= 0 && static_cast<uint32_t>(i) < m_count; }
    const SlidePoint& GetAnchor(int i, int j) const { return m_anchors[static_cast<size_t>(i) * 4 + j]; }
    const SlideRect& GetRect(int i, int j) const { return m_rects[static_cast<size_t>(i) * 4 + j]; }

    std::array<uint8_t, 256>& ColourTable() { return m_colourTable; }

private:
    std::vector<std::vector<uint8_t>> m_frames;
    std::vector<SlideRect> m_rects;
    std::vector<SlidePoint> m_anchors;
    std::vector<uint32_t> m_frameSizes;
    std::array<uint8_t, 256> m_colourTable{};
    std::vector<uint32_t> m_frameWidths;
    int32_t m_width = 0;
    int32_t m_height = 0;
    uint32_t m_count = 0;
};
