#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "world/BGLayer.h"
#include "support/CreatureBed.h"
#include "world/ObjLayer.h"
#include "world/StageLoader.h"
#include "world/TileGeometry.h"

namespace {

struct Cell {
    int x, y;
    bool operator==(const Cell&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Cell& c) { return os << "(" << c.x << "," << c.y << ")"; }

// The straight line as the walk steps it: the major axis every step, the
// other when its error reaches the major delta.
std::vector<Cell> Bresenham(int x0, int y0, int x1, int y1)
{
    std::vector<Cell> out;
    const int adx = std::abs(x1 - x0), ady = std::abs(y1 - y0);
    const int sx = x1 > x0 ? 1 : (x1 < x0 ? -1 : 0), sy = y1 > y0 ? 1 : (y1 < y0 ? -1 : 0);
    int x = x0, y = y0, e = 0;
    while (x != x1 || y != y1) {
        if (adx >= ady) {
            x += sx;
            if ((e += ady) >= adx) {
                y += sy;
                e -= adx;
            }
        } else {
            y += sy;
            if ((e += adx) >= ady) {
                x += sx;
                e -= ady;
            }
        }
        out.push_back({x, y});
    }
    return out;
}

class PathStepTest : public testing::Test {
protected:
    explicit PathStepTest(int mapSize = 64) : bed(mapSize) {}

    bool PathGridClean()
    {
        for (int y = 0; y < kMapSize; ++y)
            for (int x = 0; x < kMapSize; ++x)
                if (bed.Layer().GetPathCell(x, y) != 0)
                    return false;
        return true;
    }
    // Steps c towards (gx, gy) one PathStep at a time, ending each step as
    // the walk would: the cells entered and the last result.
    int Walk(CCharacter& c, int gx, int gy, std::vector<Cell>* cells = nullptr, bool checkGrid = false)
    {
        c.EndAction();
        c.MoveTo(gx, gy, 1);
        c.StartWalk();
        for (int i = 0; i < 400; ++i) {
            const int r = c.PathStep();
            if (checkGrid) {
                EXPECT_TRUE(PathGridClean()) << "after step " << i;
            }
            EXPECT_EQ(bed.Layer().GetObjectCell(c.GetTileX(), c.GetTileY()), c.GetHandle());
            if (r != 1)
                return r;
            bed.Layer().ClearObjectCellOf(c.GetLeavingX(), c.GetLeavingY(), c.GetHandle());
            if (cells)
                cells->push_back({c.GetTileX(), c.GetTileY()});
        }
        ADD_FAILURE() << "the walk never ended";
        return -1;
    }
    void WallLine(int x0, int y0, int x1, int y1)
    {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                bed.Wall(x, y);
    }

    CCreatureBed bed;
};

class PathStepOnBigMap : public PathStepTest {
protected:
    PathStepOnBigMap() : PathStepTest(512) {}
};

}  // namespace

TEST_F(PathStepTest, StraightCellsAreTheBresenhamLine)
{
    const Cell goals[] = {{30, 17}, {12, 40}, {3, 3}, {45, 20}, {20, 2}, {2, 21}, {33, 33}, {20, 20}};
    for (Cell g : goals) {
        CCharacter& c = bed.Add(1000, 20, 20);
        std::vector<Cell> cells;
        EXPECT_EQ(Walk(c, g.x, g.y, &cells, true), 0) << g;
        EXPECT_EQ(cells, Bresenham(20, 20, g.x, g.y)) << g;
        if (cells.size() >= 2) {
            const Cell a = cells[cells.size() - 2], b = cells.back();
            EXPECT_EQ(c.GetDirection(), GetDirection8(a.x, a.y, b.x, b.y)) << "facing its last step " << g;
        }
        c.RemoveFromMap();
    }
}

TEST_F(PathStepTest, APerpendicularWallIsWalkedAround)
{
    WallLine(20, 8, 20, 22);
    CCharacter& c = bed.Add(1000, 10, 15);
    std::vector<Cell> cells;
    EXPECT_EQ(Walk(c, 30, 15, &cells, true), 0);
    EXPECT_EQ(c.GetTileX(), 30);
    EXPECT_EQ(c.GetTileY(), 15);
    for (Cell k : cells) {
        EXPECT_FALSE(k.x == 20 && k.y >= 8 && k.y <= 22) << "never through the wall " << k;
        EXPECT_LE(std::abs(k.y - 15), 8) << "around its nearer end " << k;
    }
    for (size_t i = 1; i < cells.size(); ++i)
        EXPECT_LE(std::abs(cells[i].x - cells[i - 1].x) + std::abs(cells[i].y - cells[i - 1].y), 2) << "one cell a step";
}

TEST_F(PathStepTest, TheShorterSideIsTakenAndAnEqualOneGoesByTracerB)
{
    // Symmetric about the line: both tracers need as many steps.
    WallLine(15, 7, 15, 13);
    CCharacter& c = bed.Add(1000, 10, 10);
    std::vector<Cell> cells;
    c.MoveTo(20, 10, 1);
    c.StartWalk();
    while (c.GetPathMode() == 0) {
        ASSERT_EQ(c.PathStep(), 1);
        bed.Layer().ClearObjectCellOf(c.GetLeavingX(), c.GetLeavingY(), c.GetHandle());
    }
    EXPECT_EQ(c.GetPathMode(), 2) << "tracer B on a tie";
    EXPECT_EQ(Walk(c, 20, 10), 0);
    EXPECT_EQ(c.GetTileX(), 20);
    c.RemoveFromMap();

    // Longer below: the way over the top end is shorter.
    WallLine(40, 9, 40, 20);
    CCharacter& d = bed.Add(1001, 35, 10);
    cells.clear();
    EXPECT_EQ(Walk(d, 45, 10, &cells), 0);
    EXPECT_EQ(d.GetTileX(), 45);
    for (Cell k : cells)
        EXPECT_LE(k.y, 10) << k;
}

TEST_F(PathStepTest, AnOccupiedGoalStopsNextToIt)
{
    bed.Add(1001, 20, 10);
    CCharacter& c = bed.Add(1000, 10, 10);
    EXPECT_EQ(Walk(c, 20, 10, nullptr, true), 0);
    EXPECT_EQ(c.GetTileX(), 19);
    EXPECT_EQ(c.GetTileY(), 10);
    EXPECT_EQ(c.GetGoalX(), 19) << "the goal became the cell it stands on";
    EXPECT_EQ(c.GetGoalY(), 10);
}

TEST_F(PathStepTest, EnclosedItIsStuckAndAtTheEdgeItIsCutOff)
{
    // A ring round the walker: both tracers circle inside for 500 steps.
    WallLine(28, 28, 32, 28);
    WallLine(28, 32, 32, 32);
    WallLine(28, 29, 28, 31);
    WallLine(32, 29, 32, 31);
    CCharacter& c = bed.Add(1000, 30, 30);
    EXPECT_EQ(Walk(c, 40, 30, nullptr, true), 2);
    EXPECT_EQ(c.GetTileX(), 31);
    EXPECT_EQ(c.GetGoalX(), 31);
    c.RemoveFromMap();

    // A wall across the map but for its outermost row, near its top: one
    // tracer goes round its end into that row, the other to the end of the
    // window.
    WallLine(10, 1, 10, 63);
    CCharacter& d = bed.Add(1001, 5, 5);
    EXPECT_EQ(Walk(d, 15, 5, nullptr, true), 0);
    EXPECT_EQ(d.GetTileX(), 9);
    CCharacter& e = bed.Add(1002, 5, 30);
    EXPECT_EQ(Walk(e, 15, 30, nullptr, true), 2) << "far from the edges both tracers are stuck";
}

TEST_F(PathStepTest, TheOutermostRowIsNeverEntered)
{
    CCharacter& c = bed.Add(1000, 5, 3);
    std::vector<Cell> cells;
    EXPECT_EQ(Walk(c, 5, 0, &cells), 0);
    EXPECT_EQ(cells, (std::vector<Cell>{{5, 2}, {5, 1}}));
    CCharacter& d = bed.Add(1001, 60, 40);
    cells.clear();
    EXPECT_EQ(Walk(d, 70, 40, &cells), 0);
    EXPECT_EQ(d.GetTileX(), 62) << "63 is the last column of the 64-cell map";
}

TEST_F(PathStepTest, NobodyWalksWhileATravelWindowIsOpen)
{
    CCharacter& c = bed.Add(1000, 10, 10);
    for (int id : {71, 72, 73}) {
        bed.ui.windowState = {{id, 2}};
        EXPECT_EQ(Walk(c, 20, 10), 0) << id;
        EXPECT_EQ(c.GetTileX(), 10) << id;
    }
    bed.ui.windowState = {{71, 3}};
    EXPECT_EQ(c.PathStep(), 1) << "closing is not open";
}

TEST_F(PathStepOnBigMap, FixedPassagesPlaceTheWalker)
{
    g_currentMapId = 0;
    CCharacter& c = bed.Add(1000, 319, 293);
    EXPECT_EQ(Walk(c, 330, 293), 0);
    EXPECT_EQ(c.GetTileX(), 315);
    EXPECT_EQ(c.GetTileY(), 292);
    EXPECT_EQ(bed.Layer().GetObjectCell(319, 293), kCellEmpty);

    g_currentMapId = 1;
    CCharacter& d = bed.Add(1001, 263, 389);
    EXPECT_EQ(Walk(d, 250, 389), 0);
    EXPECT_EQ(d.GetTileX(), 262);
    EXPECT_EQ(d.GetTileY(), 390);
    std::vector<Cell> cells;
    EXPECT_EQ(Walk(c, 319, 292, &cells), 0) << "on map 1 map 0's passage is open ground";
    EXPECT_EQ(c.GetTileX(), 319);
}

TEST_F(PathStepTest, InBattleNobodyWalksMoreThanSixteenCellsFromTheCentre)
{
    bed.Layer().m_inBattle = 1;
    bed.Layer().m_battleCentreX = 20;
    bed.Layer().m_battleCentreY = 20;
    CCharacter& c = bed.Add(1000, 30, 20);
    EXPECT_EQ(Walk(c, 45, 20), 0);
    EXPECT_EQ(c.GetTileX(), 36);

    // Round a wall the tracers are bounded by the battle area too: the
    // window is around the turn start, the tracer going down passes 16.
    WallLine(25, 10, 25, 45);
    CCharacter& d = bed.Add(1001, 22, 30);
    EXPECT_EQ(Walk(d, 30, 30, nullptr, true), 0);
    EXPECT_EQ(d.GetTileX(), 24);
    bed.Layer().m_inBattle = 0;
    CCharacter& e = bed.Add(1002, 22, 30);
    e.PlaceAt(22, 31);
    EXPECT_EQ(Walk(e, 30, 31), 2) << "outside battle the same wall only gets them stuck";
}

TEST_F(PathStepTest, MyStepsAreToldToTheServer)
{
    bed.GoOnline();
    CCharacter& me = bed.Me(10, 10);
    EXPECT_EQ(Walk(me, 12, 10), 0);
    bed.Layer().m_inBattle = 1;
    bed.Layer().m_battleCentreX = 10;
    bed.Layer().m_battleCentreY = 10;
    EXPECT_EQ(Walk(me, 12, 11), 0);
    EXPECT_EQ(bed.Received(), (Bytes{10, 11, 0, 10, 0, 10, 12, 0, 10, 0,                  //
                                     32, CCreatureBed::kMyId, 0, 12, 0, 11, 0}));
    CCharacter& other = bed.Add(1000, 20, 20);
    EXPECT_EQ(Walk(other, 25, 20), 0);
    EXPECT_TRUE(bed.Received().empty()) << "only my character's steps";
}
