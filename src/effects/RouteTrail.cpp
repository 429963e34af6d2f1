#include "effects/RouteTrail.h"

#include <cstdint>

#include "platform/Crt.h"

CRouteTrail g_routeTrail;

namespace {

void Block(uint8_t* dst, int x, int y)
{
    if (x < -1 || x >= 800 || y < -1 || y >= 600)
        return;
    for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx) {
            const int px = x + dx, py = y + dy;
            if (px >= 0 && px < 800 && py >= 0 && py < 600)
                dst[py * 800 + px] = 60;
        }
}

// Halves of sums, taken wide: a target may lie anywhere.
int Half(int a, int b) { return static_cast<int>((int64_t{a} + b) >> 1); }
int Middle(int a, int b) { return static_cast<int>((int64_t{a} + b) / 2); }

}  // namespace

void CRouteTrail::Start(int x, int y, int targetX, int targetY)
{
    if (x < 0 || x >= 800 || y < 0 || y >= 600)
        return;
    m_active = 1;
    m_step = 0;
    const int r1 = plat::Rand(), r2 = plat::Rand(), r3 = plat::Rand(), r4 = plat::Rand();
    m_points.fill(Point{});
    m_points[0] = {x, y};
    m_points[1] = {r4 & 661, r3 & 511};
    m_points[2] = {r2 & 661, r1 & 511};
    m_points[48] = {targetX, targetY};
    // Halves the cubic (a, b, c, e) at its middle four levels deep; each
    // piece keeps its control points at its first two slots after a.
    int pieces = 1;
    for (int len = 48; len >= 6; len /= 2, pieces *= 2) {
        const int m = len / 2;
        for (int p = 0; p < pieces; ++p) {
            const int base = p * len;
            auto& a = m_points[static_cast<size_t>(base)];
            auto& b = m_points[static_cast<size_t>(base + 1)];
            auto& c = m_points[static_cast<size_t>(base + 2)];
            const auto& e = m_points[static_cast<size_t>(base + len)];
            auto& pm = m_points[static_cast<size_t>(base + m)];
            auto& pm1 = m_points[static_cast<size_t>(base + m + 1)];
            auto& pm2 = m_points[static_cast<size_t>(base + m + 2)];
            const Point bc = {Half(b.x, c.x), Half(b.y, c.y)};
            const Point nb = {Half(a.x, b.x), Half(a.y, b.y)};
            pm2 = {Half(c.x, e.x), Half(c.y, e.y)};
            const Point nc = {Half(nb.x, bc.x), Half(nb.y, bc.y)};
            pm1 = {Half(pm2.x, bc.x), Half(pm2.y, bc.y)};
            pm = {Half(nc.x, pm1.x), Half(nc.y, pm1.y)};
            b = nb;
            c = nc;
        }
    }
}

void CRouteTrail::Draw(uint8_t* dst)
{
    if (!m_active)
        return;
    if (dst) {
        for (int i = m_step - kPoints; i <= m_step - 1; ++i) {
            if (i < 0 || i >= kPoints)
                continue;
            const Point& p = m_points[static_cast<size_t>(i)];
            Block(dst, p.x, p.y);
            if (i < kPoints - 1) {
                const Point& q = m_points[static_cast<size_t>(i + 1)];
                Block(dst, Middle(p.x, q.x), Middle(p.y, q.y));
            }
        }
    }
    m_step += 4;
    if (m_step >= 98)
        m_active = 0;
}
