// One cell of a walk: the straight line to the goal, and around what blocks
// it by following the obstacle's outline. The obstacle is found by a flood
// fill of the object grid's occupied cells inside a 27 x 27 window of the
// path grid, marked with this creature's handle; the window is cleared
// again before PathStep returns.
#include <algorithm>
#include <array>
#include <cstdlib>

#include "windows/UiService.h"
#include "world/BGLayer.h"
#include "world/Creature.h"
#include "world/Character.h"
#include "world/ObjLayer.h"
#include "world/StageLoader.h"
#include "world/TileGeometry.h"

namespace {

constexpr int kRegionHalf = 13;
constexpr int kRegionSide = 2 * kRegionHalf + 1;
constexpr int kTracerLimit = 500;
constexpr int kBattleReach = 16;
constexpr uint32_t kRegionBorder = 0xFFFFFFFFu;
// While one of these windows is open nobody walks.
constexpr int kStopWindows[] = {71, 72, 73};

struct Passage {
    int map, x0, x1, y0, y1, toX, toY;
};
constexpr Passage kPassages[] = {{0, 318, 320, 291, 293, 315, 292}, {1, 263, 265, 389, 391, 262, 390}};

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

}  // namespace

void CCreature::RestartLine()
{
    m_pathMode = 0;
    m_lineStartX = m_tileX;
    m_lineStartY = m_tileY;
    m_errorX = m_errorY = 0;
}

bool CCreature::InStepBounds(int x, int y) const
{
    const CBGLayer* bg = m_pLayer->GetBackground();
    const int w = bg ? bg->GetMapWidth() : kMapSize;
    const int h = bg ? bg->GetMapHeight() : kMapSize;
    if (x < 1 || x > w - 2 || y < 1 || y > h - 2)
        return false;
    return !m_pLayer->m_inBattle ||
           GetChebyshevDistance(x, y, m_pLayer->m_battleCentreX, m_pLayer->m_battleCentreY) <= kBattleReach;
}

bool CCreature::Marked(int x, int y) const
{
    return InMap(x, y) && m_pLayer->GetPathCell(x, y) == m_handle;
}

bool CCreature::Free(int x, int y) const
{
    const ObjHandle h = m_pLayer->GetObjectCell(x, y);
    return InMap(x, y) && (h == kCellEmpty || h == m_handle);
}

void CCreature::TakeStep(int x, int y, int dir)
{
    m_tileX = x;
    m_tileY = y;
    m_direction = dir;
}

int CCreature::StopHere()
{
    m_goalX = m_tileX;
    m_goalY = m_tileY;
    return 0;
}

int CCreature::PathStep()
{
    if (!m_pLayer)
        return 0;
    CObjLayer& layer = *m_pLayer;
    const int startX = m_tileX, startY = m_tileY;
    const int result = DecidePathStep();
    ClearRegion();
    if (result != 1)
        layer.ClearObjectCellOf(startX, startY, m_handle);
    m_leavingX = startX;
    m_leavingY = startY;
    layer.SetObjectCell(m_tileX, m_tileY, m_handle);
    if (IsMine() && (m_tileX != startX || m_tileY != startY)) {
        if (layer.m_inBattle)
            layer.SendBattleMove(m_tileX, m_tileY);
        else
            layer.SendMove(m_tileX, m_tileY);
    }
    return result;
}

int CCreature::DecidePathStep()
{
    for (int id : kStopWindows)
        if (Ui().IsWindowOpen(id))
            return 0;
    for (const Passage& p : kPassages) {
        if (g_currentMapId == p.map && m_tileX >= p.x0 && m_tileX <= p.x1 && m_tileY >= p.y0 && m_tileY <= p.y1) {
            PlaceAt(p.toX, p.toY);
            return 0;
        }
    }
    if (m_tileX == m_goalX && m_tileY == m_goalY)
        return 0;
    if (m_pathMode == 1 || m_pathMode == 2) {
        if (m_pLayer->m_inBattle)
            PrepareRegion(m_turnStartX, m_turnStartY);
        else
            PrepareRegion(m_wallX, m_wallY);
        FloodFill(m_wallX, m_wallY);
        if (Marked(m_goalX, m_goalY))
            return StopHere();
        if (Marked(m_wallX, m_wallY) && !LineClear(m_tileX, m_tileY, m_goalX, m_goalY)) {
            int wx = 0, wy = 0;
            const int m = TracerMove(m_tileX, m_tileY, m_direction, m_pathMode == 2, wx, wy);
            if (m >= 0) {
                const int nx = m_tileX + kDirectionDelta[static_cast<size_t>(m)].dx;
                const int ny = m_tileY + kDirectionDelta[static_cast<size_t>(m)].dy;
                if (!InStepBounds(nx, ny))
                    return StopHere();
                TakeStep(nx, ny, m);
                m_wallX = wx;
                m_wallY = wy;
                return 1;
            }
        }
        RestartLine();
    }
    return StraightStep();
}

int CCreature::StraightStep()
{
    const int adx = std::abs(m_goalX - m_lineStartX), ady = std::abs(m_goalY - m_lineStartY);
    const int sx = Sign(m_goalX - m_tileX), sy = Sign(m_goalY - m_tileY);
    // Off the line's major axis end (knocked back, or the line was left):
    // the line starts again here, so every step comes closer.
    if ((adx >= ady && sx == 0) || (adx < ady && sy == 0)) {
        RestartLine();
        return StraightStep();
    }
    int nx = m_tileX, ny = m_tileY, errorX = m_errorX, errorY = m_errorY;
    if (adx >= ady) {
        nx += sx;
        errorY += ady;
        if (errorY >= adx) {
            ny += sy;
            errorY -= adx;
        }
    } else {
        ny += sy;
        errorX += adx;
        if (errorX >= ady) {
            nx += sx;
            errorX -= ady;
        }
    }
    const int dir = GetDirection8(m_tileX, m_tileY, nx, ny);
    m_direction = dir;
    if (!InStepBounds(nx, ny))
        return StopHere();
    if (!Free(nx, ny))
        return BlockedStep(nx, ny);
    m_errorX = errorX;
    m_errorY = errorY;
    TakeStep(nx, ny, dir);
    return 1;
}

int CCreature::BlockedStep(int bx, int by)
{
    if (m_pLayer->m_inBattle)
        PrepareRegion(m_turnStartX, m_turnStartY);
    else
        PrepareRegion(bx, by);
    FloodFill(bx, by);
    if (Marked(m_goalX, m_goalY))
        return StopHere();
    int countA = 0, countB = 0;
    const int a = RunTracer(false, countA);
    const int b = RunTracer(true, countB);
    if (a != 1 && b != 1) {
        m_goalX = m_tileX;
        m_goalY = m_tileY;
        return (a < 0 || b < 0) ? 0 : 2;
    }
    const bool useB = b == 1 && (a != 1 || countB <= countA);
    int wx = 0, wy = 0;
    const int m = TracerMove(m_tileX, m_tileY, m_direction, useB, wx, wy);
    if (m < 0)
        return 2;  // a run that succeeded has made its first move
    m_pathMode = useB ? 2 : 1;
    TakeStep(m_tileX + kDirectionDelta[static_cast<size_t>(m)].dx, m_tileY + kDirectionDelta[static_cast<size_t>(m)].dy,
             m);
    m_wallX = wx;
    m_wallY = wy;
    return 1;
}

int CCreature::TracerMove(int x, int y, int dir, bool tracerB, int& wallX, int& wallY) const
{
    int w = tracerB ? (dir + 3) & 7 : (dir + 5) & 7;
    int m = tracerB ? (w + 7) & 7 : (w + 1) & 7;
    for (int turn = 0; turn < 8; ++turn) {
        const TileDelta dw = kDirectionDelta[static_cast<size_t>(w)];
        const TileDelta dm = kDirectionDelta[static_cast<size_t>(m)];
        if (Marked(x + dw.dx, y + dw.dy) && Free(x + dm.dx, y + dm.dy)) {
            wallX = x + dw.dx;
            wallY = y + dw.dy;
            return m;
        }
        const int turnBy = tracerB ? 7 : 1;
        w = (w + turnBy) & 7;
        m = (m + turnBy) & 7;
    }
    return -1;
}

int CCreature::RunTracer(bool tracerB, int& count) const
{
    int x = m_tileX, y = m_tileY, dir = m_direction;
    for (count = 1; count <= kTracerLimit; ++count) {
        int wx = 0, wy = 0;
        const int m = TracerMove(x, y, dir, tracerB, wx, wy);
        if (m < 0)
            return 0;
        x += kDirectionDelta[static_cast<size_t>(m)].dx;
        y += kDirectionDelta[static_cast<size_t>(m)].dy;
        dir = m;
        if (!InStepBounds(x, y))
            return -1;
        if (LineClear(x, y, m_goalX, m_goalY))
            return 1;
    }
    return 0;
}

bool CCreature::LineClear(int x0, int y0, int x1, int y1) const
{
    bool clear = true;
    WalkLine(x0, y0, x1, y1, [&](int x, int y) {
        // Only cells of the window carry marks, and a straight line that has
        // left the window does not come back.
        if (x < m_region.x0 || x > m_region.x1 || y < m_region.y0 || y > m_region.y1)
            return false;
        clear = !Marked(x, y);
        return clear;
    });
    return clear;
}

void CCreature::PrepareRegion(int cx, int cy)
{
    ClearRegion();
    const CBGLayer* bg = m_pLayer->GetBackground();
    const int w = bg ? bg->GetMapWidth() : kMapSize;
    const int h = bg ? bg->GetMapHeight() : kMapSize;
    Window r;
    r.x0 = std::max(cx - kRegionHalf, 0);
    r.y0 = std::max(cy - kRegionHalf, 0);
    r.x1 = std::min({cx + kRegionHalf, w - 1, kMapSize - 1});
    r.y1 = std::min({cy + kRegionHalf, h - 1, kMapSize - 1});
    if (r.x1 < r.x0 || r.y1 < r.y0)
        return;
    m_region = r;
    for (int y = r.y0; y <= r.y1; ++y)
        for (int x = r.x0; x <= r.x1; ++x) {
            const bool border = x == r.x0 || x == r.x1 || y == r.y0 || y == r.y1;
            m_pLayer->SetPathCell(x, y, border ? kRegionBorder : 0);
        }
}

void CCreature::ClearRegion()
{
    for (int y = m_region.y0; y <= m_region.y1; ++y)
        for (int x = m_region.x0; x <= m_region.x1; ++x)
            m_pLayer->SetPathCell(x, y, 0);
    m_region = Window{};
}

void CCreature::FloodFill(int x, int y)
{
    const Window& r = m_region;
    auto fillable = [&](int cx, int cy) {
        if (cx <= r.x0 || cx >= r.x1 || cy <= r.y0 || cy >= r.y1 || m_pLayer->GetPathCell(cx, cy) != 0)
            return false;
        const ObjHandle h = m_pLayer->GetObjectCell(cx, cy);
        return h != kCellEmpty && h != m_handle;
    };
    struct Seed {
        int16_t x, y;
    };
    // Every interior cell is pushed at most once per row span above and
    // below it, so this many seeds always suffice.
    std::array<Seed, 2 * kRegionSide * kRegionSide> stack;
    size_t top = 0;
    if (!fillable(x, y))
        return;
    stack[top++] = {static_cast<int16_t>(x), static_cast<int16_t>(y)};
    while (top > 0) {
        const Seed s = stack[--top];
        if (!fillable(s.x, s.y))
            continue;
        int left = s.x, right = s.x;
        while (fillable(left - 1, s.y))
            --left;
        while (fillable(right + 1, s.y))
            ++right;
        for (int cx = left; cx <= right; ++cx)
            m_pLayer->SetPathCell(cx, s.y, m_handle);
        for (int ny : {s.y - 1, s.y + 1}) {
            bool inRun = false;
            for (int cx = left; cx <= right; ++cx) {
                const bool f = fillable(cx, ny);
                if (f && !inRun && top < stack.size())
                    stack[top++] = {static_cast<int16_t>(cx), static_cast<int16_t>(ny)};
                inRun = f;
            }
        }
    }
}
