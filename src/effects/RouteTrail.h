// A dotted curve drawn into the screen from a start point towards a target:
// it grows along 49 points and erodes from its start. The UI layer's frame
// draws and stops the one instance; nothing starts it yet.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "effects/Effect.h"

class CRouteTrail : public CEffect {
public:
    static constexpr int kPoints = 49;
    struct Point {
        int32_t x = 0;
        int32_t y = 0;
    };

    // Screen points; refused (inactive) outside 800 x 600.
    void Start(int x, int y, int targetX, int targetY);
    void Draw(uint8_t* dst) override;
    void Stop() override { m_active = 0; }
    const Point& GetPoint(int i) const { return m_points[static_cast<size_t>(i)]; }

private:
    std::array<Point, kPoints> m_points{};
};

extern CRouteTrail g_routeTrail;
