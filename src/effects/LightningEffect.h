// A lightning bolt: a jagged line from one world point to another that grows
// segment by segment, glows (a halo pass, then the core) and fades, and
// lights the sight map where each segment strikes.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "effects/Effect.h"

class CLightningEffect : public CEffect {
public:
    static constexpr int kMaxSegments = 15;
    static constexpr int kPieces = 8;
    static constexpr int kAges = 20;
    // Only the field view is ever written.
    static constexpr int kViewWidth = 800;
    static constexpr int kViewHeight = 448;

    struct Point {
        int32_t x = 0;
        int32_t y = 0;
    };
    struct Segment {
        uint8_t delay = 0;
        std::array<Point, kPieces> sub{};
    };

    // False, and the bolt stays idle, when it would need 16 segments or
    // more (480 pixels and beyond).
    bool Init(CEffectManager* manager, int x0, int y0, int x1, int y1, int blend, int colourSet);
    void Draw(uint8_t* dst) override;

    int GetSegmentCount() const { return m_segments; }
    const Point& GetPoint(int i) const { return m_points[static_cast<size_t>(i)]; }
    const Segment& GetSegment(int i) const { return m_segs[static_cast<size_t>(i)]; }
    // The palette index of the core (pass 0) or the halo (pass 1).
    static uint8_t Colour(int colourSet, int age, int pass);

private:
    // The 8 pieces of one segment with the pass's brush (0 core, 1 halo);
    // (bx, by) is the segment's end and (ox, oy) the world-to-screen shift.
    void DrawSegment(uint8_t* dst, const Segment& s, int bx, int by, int ox, int oy, int pass, int age) const;

    int32_t m_x0 = 0, m_y0 = 0, m_x1 = 0, m_y1 = 0;
    int32_t m_colourSet = 0;
    int32_t m_blend = 0;
    int32_t m_segments = 0;
    std::array<Point, kMaxSegments + 1> m_points{};
    std::array<Segment, kMaxSegments + 1> m_segs{};
};
