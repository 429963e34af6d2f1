#include "world/TileGeometry.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <numbers>

namespace {

using i64 = long long;

int Sat(i64 v)
{
    if (v > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

int Sign(i64 v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

}  // namespace

int GetDirection16(int x0, int y0, int x1, int y1)
{
    const i64 dx = static_cast<i64>(x1) - x0;
    const i64 dy = static_cast<i64>(y1) - y0;
    if (dx == 0)
        return dy < 0 ? 2 : 10;
    const double a = std::atan2(static_cast<double>(dy), static_cast<double>(dx));
    const int n = static_cast<int>((a + std::numbers::pi) * 16 / std::numbers::pi);
    return ((n + 1) / 2 + 14) % 16;
}

int GetDirection8(int x0, int y0, int x1, int y1)
{
    static constexpr int kBySign[3][3] = {
        {1, 0, 7},  // sx -1; sy -1, 0, 1
        {2, 0, 6},  // sx 0
        {3, 4, 5},  // sx 1
    };
    const int sx = Sign(static_cast<i64>(x1) - x0);
    const int sy = Sign(static_cast<i64>(y1) - y0);
    return kBySign[sx + 1][sy + 1];
}

int GetChebyshevDistance(int x0, int y0, int x1, int y1)
{
    const i64 dx = std::llabs(static_cast<i64>(x1) - x0);
    const i64 dy = std::llabs(static_cast<i64>(y1) - y0);
    return Sat(dx > dy ? dx : dy);
}

int GetDistance(int x0, int y0, int x1, int y1)
{
    const double dx = static_cast<double>(static_cast<i64>(x1) - x0);
    const double dy = static_cast<double>(static_cast<i64>(y1) - y0);
    return Sat(static_cast<i64>(std::sqrt(dx * dx + dy * dy) + 0.5));
}

int GetPointAlongLine(int x0, int y0, int x1, int y1, int d, int* outX, int* outY)
{
    const i64 dx = static_cast<i64>(x1) - x0;
    const i64 dy = static_cast<i64>(y1) - y0;
    const i64 adx = std::llabs(dx);
    const i64 ady = std::llabs(dy);
    if (d > (adx > ady ? adx : ady))
        return -1;
    i64 x = x0;
    i64 y = y0;
    if (dx == 0) {
        y += dy < 0 ? -d : d;
    } else if (dy == 0) {
        x += dx < 0 ? -d : d;
    } else if (adx <= ady) {
        const i64 t = dy < 0 ? -static_cast<i64>(d) : d;
        x += t * dx / dy;
        y += t;
    } else {
        const i64 t = dx < 0 ? -static_cast<i64>(d) : d;
        x += t;
        y += t * dy / dx;
    }
    *outX = Sat(x);
    *outY = Sat(y);
    return 0;
}

int GetEasedLinePoint(int x0, int y0, int x1, int y1, int d, int n, int k, int* outX, int* outY)
{
    if (k >= n || n < 1)
        return -1;
    const i64 total = static_cast<i64>(n) * (static_cast<i64>(n) + 1) / 2;
    // k may be negative: the frames not yet played can exceed n.
    const __int128 left = static_cast<i64>(n) - k;
    const __int128 covered = total - left * (left + 1) / 2;
    const __int128 scaled = static_cast<__int128>(d) * covered / total;
    const int distance = Sat(scaled > INT64_MAX ? INT64_MAX : (scaled < INT64_MIN ? INT64_MIN : static_cast<i64>(scaled)));
    GetPointAlongLine(x0, y0, x1, y1, distance, outX, outY);
    return distance;
}
