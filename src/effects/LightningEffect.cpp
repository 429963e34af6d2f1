#include "effects/LightningEffect.h"

#include <algorithm>
#include <cstdlib>

#include "core/PaletteManager.h"
#include "platform/Crt.h"
#include "world/BGLayer.h"
#include "world/TileGeometry.h"

namespace {

// World pixels lie far inside this; larger values from a caller are held
// here so that no sum overflows.
constexpr int kCoordLimit = 1 << 20;
int Clamp(int v) { return std::clamp(v, -kCoordLimit, kCoordLimit); }

// [set][age] = {core, halo}
constexpr uint8_t kColours[3][CLightningEffect::kAges][2] = {
    {{15, 15}, {15, 222}, {222, 225}, {225, 233}, {233, 234}, {234, 235}, {235, 236}, {236, 237}, {237, 238},
     {238, 239}, {239, 239}, {239, 248}, {248, 248}, {248, 248}, {248, 248}, {248, 248}, {248, 248}, {248, 248},
     {248, 248}, {248, 248}},
    {{15, 15}, {15, 15}, {15, 193}, {225, 233}, {233, 234}, {234, 197}, {197, 198}, {198, 200}, {200, 203},
     {203, 201}, {201, 205}, {205, 202}, {202, 206}, {206, 206}, {206, 206}, {206, 206}, {206, 206}, {206, 206},
     {206, 206}, {206, 206}},
    {{15, 15}, {15, 15}, {15, 15}, {185, 185}, {185, 185}, {184, 184}, {184, 184}, {181, 181}, {181, 181},
     {32, 32}, {32, 32}, {33, 33}, {33, 33}, {177, 177}, {177, 177}, {34, 34}, {34, 34}, {34, 34}, {34, 34},
     {34, 34}},
};
constexpr int kBlendLevels[3] = {1, 3, 5};

// c points from a towards b, every one after the first moved by up to
// jitter / 2 on each axis.
template <class Out>
void JitteredLine(int xa, int ya, int xb, int yb, int c, int jitter, Out out)
{
    const long long dx = static_cast<long long>(xb) - xa, dy = static_cast<long long>(yb) - ya;
    for (int k = 0; k < c; ++k) {
        long long px = xa, py = ya;
        if (dx == 0) {
            py = ya + dy * k / c;
        } else if (dy == 0) {
            px = xa + dx * k / c;
        } else if (std::llabs(dx) <= std::llabs(dy)) {
            const long long t = dy * k / c;
            px = xa + t * dx / dy;
            py = ya + t;
        } else {
            const long long t = dx * k / c;
            px = xa + t;
            py = ya + t * dy / dx;
        }
        if (k > 0) {
            px += plat::Rand() % jitter - jitter / 2;
            py += plat::Rand() % jitter - jitter / 2;
        }
        out(k, static_cast<int>(px), static_cast<int>(py));
    }
}

}  // namespace

uint8_t CLightningEffect::Colour(int colourSet, int age, int pass)
{
    return kColours[std::clamp(colourSet, 0, 2)][std::clamp(age, 0, kAges - 1)][pass ? 1 : 0];
}

bool CLightningEffect::Init(CEffectManager* manager, int x0, int y0, int x1, int y1, int blend, int colourSet)
{
    x0 = Clamp(x0), y0 = Clamp(y0), x1 = Clamp(x1), y1 = Clamp(y1);
    const int n = GetChebyshevDistance(x0, y0, x1, y1) / 32 + 1;
    if (n > kMaxSegments)
        return false;
    m_active = 1;
    m_pManager = manager;
    m_x0 = x0, m_y0 = y0, m_x1 = x1, m_y1 = y1;
    m_blend = std::clamp(blend, 0, 2);
    m_colourSet = std::clamp(colourSet, 0, 2);
    m_step = m_tick = 0;
    m_segments = n;
    m_points.fill(Point{});
    JitteredLine(x0, y0, x1, y1, n, 31, [&](int k, int px, int py) { m_points[static_cast<size_t>(k)] = {px, py}; });
    for (int i = 0; i < n; ++i) {
        const Point a = m_points[static_cast<size_t>(i)];
        const Point b = i + 1 < n ? m_points[static_cast<size_t>(i + 1)] : Point{x1, y1};
        Segment& s = m_segs[static_cast<size_t>(i)];
        s.delay = static_cast<uint8_t>(i / 2);
        JitteredLine(a.x, a.y, b.x, b.y, kPieces, 4,
                     [&](int k, int px, int py) { s.sub[static_cast<size_t>(k)] = {px, py}; });
    }
    return true;
}

namespace {

// The pixels of a piece, the first point left out: the major axis steps
// every pixel, the other when its error, growing by its delta, reaches the
// major delta. Coordinates are held within a few million, so int holds
// every sum.
template <class Plot>
inline void WalkPiece(int xa, int ya, int xb, int yb, Plot&& plot)
{
    const int dx = xb - xa, dy = yb - ya;
    const int adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    const int sx = dx < 0 ? -1 : (dx > 0 ? 1 : 0);
    const int sy = dy < 0 ? -1 : (dy > 0 ? 1 : 0);
    int x = xa, y = ya, error = 0;
    if (adx < ady) {
        for (int step = 0; step < ady; ++step) {
            y += sy;
            error += adx;
            if (error >= ady) {
                x += sx;
                error -= ady;
            }
            plot(x, y);
        }
    } else {
        for (int step = 0; step < adx; ++step) {
            x += sx;
            error += ady;
            if (error >= adx) {
                y += sy;
                error -= adx;
            }
            plot(x, y);
        }
    }
}

}  // namespace

void CLightningEffect::DrawSegment(uint8_t* dst, const Segment& s, int bx, int by, int ox, int oy, int pass,
                                   int age) const
{
    const uint8_t c = Colour(m_colourSet, age, pass);
    const uint8_t* table = nullptr;
    if (age >= 13 || pass == 1) {
        if (!g_pPalette)
            return;
        table = g_pPalette->GetBlendTable(age >= 13 ? kAges - age : kBlendLevels[m_blend]) + c * 256;
    }
    // The ends of the pieces, on the screen; the last piece ends at the
    // segment's end.
    std::array<Point, kPieces + 1> q;
    int left = bx, right = bx, top = by, bottom = by;
    for (size_t j = 0; j < kPieces; ++j) {
        q[j] = {s.sub[j].x + ox, s.sub[j].y + oy};
        left = std::min(left, q[j].x), right = std::max(right, q[j].x);
        top = std::min(top, q[j].y), bottom = std::max(bottom, q[j].y);
    }
    q[kPieces] = {bx, by};
    // Every piece and its brush wholly inside the view: no test per pixel.
    // The brush of one pass uses one colour or one blend row for the whole
    // segment, so the order of its writes does not matter, only how often
    // each pixel is written.
    if (left >= 1 && right < kViewWidth - 1 && top >= 1 && bottom < kViewHeight - 1) {
        for (size_t j = 0; j < kPieces; ++j) {
            if (pass == 1) {
                WalkPiece(q[j].x, q[j].y, q[j + 1].x, q[j + 1].y, [&](int x, int y) {
                    uint8_t* p = dst + y * 800 + x;
                    p[-801] = table[p[-801]];
                    p[-800] = table[p[-800]];
                    p[-799] = table[p[-799]];
                    p[-1] = table[p[-1]];
                    p[1] = table[p[1]];
                    p[799] = table[p[799]];
                    p[800] = table[p[800]];
                    p[801] = table[p[801]];
                });
            } else if (table) {
                WalkPiece(q[j].x, q[j].y, q[j + 1].x, q[j + 1].y, [&](int x, int y) {
                    uint8_t& p = dst[y * 800 + x];
                    p = table[p];
                });
            } else {
                WalkPiece(q[j].x, q[j].y, q[j + 1].x, q[j + 1].y, [&](int x, int y) { dst[y * 800 + x] = c; });
            }
        }
        return;
    }
    auto put = [&](int px, int py) {
        if (px >= 0 && px < kViewWidth && py >= 0 && py < kViewHeight) {
            uint8_t& p = dst[py * 800 + px];
            p = table ? table[p] : c;
        }
    };
    for (size_t j = 0; j < kPieces; ++j) {
        WalkPiece(q[j].x, q[j].y, q[j + 1].x, q[j + 1].y, [&](int x, int y) {
            if (pass == 0) {
                put(x, y);
                return;
            }
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (dx || dy)
                        put(x + dx, y + dy);
        });
    }
}

void CLightningEffect::Draw(uint8_t* dst)
{
    int ox = 0, oy = 0;
    ToScreen(m_x0, m_y0, ox, oy);
    ox -= m_x0;
    oy -= m_y0;
    CBGLayer* ground = Ground();
    const bool draw = Presented() && dst;
    bool live = false;
    for (int pass = 1; pass >= 0; --pass) {
        for (int i = 0; i < m_segments; ++i) {
            const Segment& s = m_segs[static_cast<size_t>(i)];
            const int age = m_step - s.delay;
            if (age < 0 || age >= kAges)
                continue;
            live = true;
            const Point a = m_points[static_cast<size_t>(i)];
            const Point b = i + 1 < m_segments ? m_points[static_cast<size_t>(i + 1)] : Point{m_x1, m_y1};
            const int ax = a.x + ox, ay = a.y + oy, bx = b.x + ox, by = b.y + oy;
            if (std::max(ax, bx) < 0 || std::max(ay, by) < 0 || std::min(ax, bx) >= kViewWidth ||
                std::min(ay, by) >= kViewHeight)
                continue;
            if (pass == 0 && age == 0 && ground) {
                int tx = 0, ty = 0;
                ground->ScreenToTile(bx, by, tx, ty);
                if (InTileMap(tx, ty))
                    ground->MarkSight(tx, ty, 8);
            }
            if (draw)
                DrawSegment(dst, s, bx, by, ox, oy, pass, age);
        }
    }
    if (!live)
        m_active = 0;
    m_tick = 0;
    ++m_step;
}
