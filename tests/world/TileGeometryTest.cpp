#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <utility>

#include "world/TileGeometry.h"

namespace {

TEST(TileGeometry, NeighbourDirectionsMatchTheCreatureSteps)
{
    // 16-step direction of each neighbour: 0 toward (-1, -1), clockwise.
    const int d16[3][3] = {
        {0, 14, 12},  // dx -1; dy -1, 0, 1
        {2, 10, 10},  // dx 0 (the same cell reads 10)
        {4, 6, 8},    // dx 1
    };
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            EXPECT_EQ(GetDirection16(5, 5, 5 + dx, 5 + dy), d16[dx + 1][dy + 1]) << dx << "," << dy;
    for (int dir = 0; dir < 8; ++dir) {
        const TileDelta step = kDirectionDelta[static_cast<size_t>(dir)];
        EXPECT_EQ(GetDirection8(100, 100, 100 + step.dx, 100 + step.dy), dir);
        // Far along the same signs it is still that direction; the 16-step
        // one of a diagonal or axis step is 2 * ((dir + 7) % 8).
        EXPECT_EQ(GetDirection8(100, 100, 100 + 9 * step.dx, 100 + 3 * step.dy), dir);
        EXPECT_EQ(GetDirection16(0, 0, step.dx, step.dy), (2 * ((dir + 7) % 8) + 16) % 16) << dir;
    }
    EXPECT_EQ(GetDirection8(3, 3, 3, 3), 0);
}

TEST(TileGeometry, SixteenStepsBetweenTheAxes)
{
    EXPECT_EQ(GetDirection16(0, 0, 2, -1), 5);
    EXPECT_EQ(GetDirection16(0, 0, 2, 1), 7);
    EXPECT_EQ(GetDirection16(0, 0, -2, 1), 13);
    EXPECT_EQ(GetDirection16(0, 0, -2, -1), 15);
    EXPECT_EQ(GetDirection16(0, 0, 0, -5), 2);
    std::set<int> seen;
    for (int dx = -40; dx <= 40; ++dx)
        for (int dy = -40; dy <= 40; ++dy)
            seen.insert(GetDirection16(0, 0, dx, dy));
    EXPECT_EQ(seen.size(), 16u);
    EXPECT_EQ(*seen.begin(), 0);
    EXPECT_EQ(*seen.rbegin(), 15);
}

TEST(TileGeometry, Distances)
{
    EXPECT_EQ(GetDistance(0, 0, 1, 1), 1);
    EXPECT_EQ(GetDistance(0, 0, 2, 1), 2);
    EXPECT_EQ(GetDistance(0, 0, 3, 4), 5);
    EXPECT_EQ(GetDistance(0, 0, 1, 2), 2);  // 2.236
    EXPECT_EQ(GetChebyshevDistance(0, 0, 3, -5), 5);
    EXPECT_EQ(GetChebyshevDistance(INT_MIN, 0, INT_MAX, 0), INT_MAX);
    EXPECT_EQ(GetDistance(INT_MIN, INT_MIN, INT_MAX, INT_MAX), INT_MAX);
}

TEST(TileGeometry, PointsAlongALine)
{
    struct Case {
        int x0, y0, x1, y1, d;
        int result, x, y;
    };
    const Case cases[] = {
        {0, 0, 4, 2, 2, 0, 2, 1},   {0, 0, 4, 2, 4, 0, 4, 2},   {0, 0, 4, 2, 5, -1, 9, 9},
        {0, 0, -4, 2, 3, 0, -3, 1},  // -3 * 2 / -4: toward zero
        {0, 0, 2, -6, 3, 0, 1, -3},   {5, 5, 5, 1, 2, 0, 5, 3},  {5, 5, 1, 5, 4, 0, 1, 5},
        {5, 5, 5, 5, 0, 0, 5, 5},     {5, 5, 5, 5, 1, -1, 9, 9},
    };
    for (const Case& c : cases) {
        int x = 9, y = 9;
        EXPECT_EQ(GetPointAlongLine(c.x0, c.y0, c.x1, c.y1, c.d, &x, &y), c.result) << c.x1 << "," << c.y1 << " d " << c.d;
        EXPECT_EQ(std::make_pair(x, y), std::make_pair(c.x, c.y)) << c.x1 << "," << c.y1 << " d " << c.d;
    }
}

TEST(TileGeometry, EasedMoveSlowsDown)
{
    int x = 0, y = 0;
    const int covered[] = {0, 4, 7, 9};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(GetEasedLinePoint(0, 0, 10, 0, 10, 4, k, &x, &y), covered[k]);
        EXPECT_EQ(x, covered[k]);
    }
    EXPECT_EQ(GetEasedLinePoint(0, 0, 10, 0, 10, 4, 4, &x, &y), -1);
    EXPECT_EQ(GetEasedLinePoint(0, 0, 10, 0, 10, 0, -1, &x, &y), -1);
    EXPECT_EQ(GetEasedLinePoint(0, 0, 10, 0, INT_MAX, INT_MAX, INT_MAX - 1, &x, &y), INT_MAX - 1);
}

TEST(TileGeometry, TraceLineStopsBeforeTheFirstBlockedCell)
{
    std::set<std::pair<int, int>> blocked;
    std::vector<std::pair<int, int>> looked;
    auto query = [&](int x, int y) {
        looked.emplace_back(x, y);
        return blocked.count({x, y}) > 0;
    };
    int x = -1, y = -1;
    // Adjacent: success without a look at the grid.
    EXPECT_EQ(TraceLine(10, 10, 11, 9, &x, &y, query), 1);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(10, 10));
    EXPECT_TRUE(looked.empty());
    // Free: the cells from the start up to the one before the target.
    EXPECT_EQ(TraceLine(10, 10, 14, 12, &x, &y, query), 1);
    EXPECT_EQ(looked, (std::vector<std::pair<int, int>>{{11, 10}, {12, 11}, {13, 11}}));
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(13, 11));
    // The target itself is never tested.
    blocked = {{14, 12}};
    EXPECT_EQ(TraceLine(10, 10, 14, 12, &x, &y, query), 1);
    // Blocked mid-line: 0 and the cell before it.
    blocked = {{12, 11}};
    looked.clear();
    EXPECT_EQ(TraceLine(10, 10, 14, 12, &x, &y, query), 0);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(11, 10));
    EXPECT_EQ(looked.size(), 2u);
    // Y-major lines step y every cell.
    blocked.clear();
    looked.clear();
    EXPECT_EQ(TraceLine(10, 10, 8, 5, &x, &y, query), 1);
    EXPECT_EQ(looked, (std::vector<std::pair<int, int>>{{10, 9}, {10, 8}, {9, 7}, {9, 6}}));
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(9, 6));
}

TEST(TileGeometry, TraceLineTreatsCellsOffTheMapAsBlocked)
{
    int looks = 0;
    auto query = [&](int x, int y) {
        ++looks;
        EXPECT_TRUE(InTileMap(x, y));
        return false;
    };
    int x = 0, y = 0;
    EXPECT_EQ(TraceLine(509, 5, 600, 5, &x, &y, query), 0);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(511, 5));
    EXPECT_EQ(looks, 2);
    EXPECT_EQ(TraceLine(-50, -50, INT_MAX, INT_MIN, &x, &y, query), 0);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(-50, -50));
    EXPECT_EQ(TraceLine(0, 0, 511, 511, &x, &y, query), 1);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(510, 510));
}

}  // namespace
