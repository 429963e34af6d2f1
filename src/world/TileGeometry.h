// Directions, distances and straight lines on tile coordinates (x grows
// down-right on the screen, y down-left).
#pragma once
#include <array>

struct TileDelta {
    int dx;
    int dy;
};
// The step of each of the creatures' 8 directions: 0 = (-1, 0) up-left,
// then clockwise.
constexpr std::array<TileDelta, 8> kDirectionDelta = {{
    {-1, 0}, {-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1},
}};

// 0..15: 0 toward (-1, -1), clockwise by 22.5 degrees; 10 when both
// points are the same.
int GetDirection16(int x0, int y0, int x1, int y1);
// 0..7 from the signs of the deltas: the creatures' direction of that step
// (0 when both points are the same).
int GetDirection8(int x0, int y0, int x1, int y1);
int GetChebyshevDistance(int x0, int y0, int x1, int y1);
// The Euclidean distance rounded to the nearest tile.
int GetDistance(int x0, int y0, int x1, int y1);
// The point d tiles from (x0, y0) toward (x1, y1): 0, or -1 when d exceeds
// the Chebyshev distance (outX/outY untouched then).
int GetPointAlongLine(int x0, int y0, int x1, int y1, int d, int* outX, int* outY);
// The point reached after frame k of an n-frame slowing move over distance
// d; the distance covered, or -1 when k >= n (or n < 1).
int GetEasedLinePoint(int x0, int y0, int x1, int y1, int d, int n, int k, int* outX, int* outY);

inline bool InTileMap(int x, int y) { return x >= 0 && x <= 511 && y >= 0 && y <= 511; }

// Visits the cells of the tile line from (x0, y0) to (x1, y1), the start
// left out and the end included: the major axis steps every cell, the other
// when its error, growing by its delta, reaches the major delta. visit(x, y)
// returns false to stop there; WalkLine returns whether it went to the end.
template <class Visit>
bool WalkLine(int x0, int y0, int x1, int y1, Visit&& visit)
{
    const long long dx = static_cast<long long>(x1) - x0;
    const long long dy = static_cast<long long>(y1) - y0;
    const long long adx = dx < 0 ? -dx : dx;
    const long long ady = dy < 0 ? -dy : dy;
    const bool yMajor = adx < ady;
    const long long major = yMajor ? ady : adx;
    const long long minor = yMajor ? adx : ady;
    const int sx = dx < 0 ? -1 : (dx > 0 ? 1 : 0);
    const int sy = dy < 0 ? -1 : (dy > 0 ? 1 : 0);
    long long x = x0;
    long long y = y0;
    long long error = 0;
    for (long long step = 0; step < major; ++step) {
        if (yMajor)
            y += sy;
        else
            x += sx;
        error += minor;
        if (error >= major) {
            if (yMajor)
                x += sx;
            else
                y += sy;
            error -= major;
        }
        // Every cell lies between the two ends: within int.
        if (!visit(static_cast<int>(x), static_cast<int>(y)))
            return false;
    }
    return true;
}

// Walks the tile line from (x0, y0) toward (x1, y1) without testing the
// target: 1 when every cell is free (out = the cell before the target),
// 0 at the first blocked one (out = the cell before it). An adjacent or
// equal target gives 1 and out = (x0, y0) without a look at the grid.
// blocked(x, y) tells whether a cell on the map holds something; cells off
// the map count as blocked.
template <class Blocked>
int TraceLine(int x0, int y0, int x1, int y1, int* outX, int* outY, Blocked&& blocked)
{
    int px = x0, py = y0;
    const long long adx = x1 > x0 ? static_cast<long long>(x1) - x0 : static_cast<long long>(x0) - x1;
    const long long ady = y1 > y0 ? static_cast<long long>(y1) - y0 : static_cast<long long>(y0) - y1;
    bool hit = false;
    if (adx > 1 || ady > 1) {
        WalkLine(x0, y0, x1, y1, [&](int x, int y) {
            if (x == x1 && y == y1)
                return false;
            if (!InTileMap(x, y) || blocked(x, y)) {
                hit = true;
                return false;
            }
            px = x;
            py = y;
            return true;
        });
    }
    *outX = px;
    *outY = py;
    return hit ? 0 : 1;
}
