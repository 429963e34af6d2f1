// The dash abilities: PowerBreak, GuardBreak (through the target) and
// PowerBreakII (three missiles). The caster flies as a missile to the tile
// before (or past) the target, reappears there and strikes.
#include <algorithm>
#include <cstdlib>

#include "audio/SoundManager.h"
#include "core/EffectSpriteSet.h"
#include "effects/AbilityCaster.h"
#include "effects/EffectManager.h"
#include "effects/SpecialAbil.h"
#include "rules/AbilityTable.h"
#include "rules/CalcData.h"
#include "rules/GameData.h"
#include "world/BGLayer.h"
#include "world/ObjLayer.h"
#include "world/TileGeometry.h"

namespace {

using Caster = CAbilityCaster;

// The phase counter of a dash: the walk's result.
constexpr int kWalkFree = 1;
constexpr int kWalkBlocked = 2;
// The caster stays hidden while its missile flies, then the shared set's
// trail follows it; PowerBreak and GuardBreak strike at frame 25,
// PowerBreakII at frame 5, and GuardBreak ends at frame 30.
constexpr int kHiddenFrames = 16;
constexpr int kTrailFrame = 24;
constexpr int kStrikeFrame = 25;
constexpr int kStrikeFrameII = 5;
constexpr int kGuardBreakEnd = 30;

int Sign(long long v) { return (v > 0) - (v < 0); }

// Tiles off the map count as taken.
bool OnMap(const CObjLayer* layer, int x, int y)
{
    const CBGLayer* ground = layer ? layer->GetBackground() : nullptr;
    return ground ? ground->IsOnMap(x, y) : InTileMap(x, y);
}

}  // namespace

int CSpecialAbil::WalkDashLine(const CCreature& caster, int x0, int y0, int x1, int y1, int& outX, int& outY)
{
    const CObjLayer* layer = caster.GetLayer();
    return ::TraceLine(x0, y0, x1, y1, &outX, &outY, [layer](int x, int y) {
        return !OnMap(layer, x, y) || (layer && layer->GetObjectCell(x, y) != kCellEmpty);
    });
}

int CSpecialAbil::WalkThroughLine(const CCreature& caster, int x0, int y0, int x1, int y1, int& outX, int& outY)
{
    if (!WalkDashLine(caster, x0, y0, x1, y1, outX, outY))
        return 0;
    const long long lx = static_cast<long long>(x1) + Sign(static_cast<long long>(x1) - x0),
                    ly = static_cast<long long>(y1) + Sign(static_cast<long long>(y1) - y0);
    const CObjLayer* layer = caster.GetLayer();
    if ((lx != x1 || ly != y1) && InTileMap(static_cast<int>(std::clamp(lx, -1LL, 512LL)),
                                            static_cast<int>(std::clamp(ly, -1LL, 512LL))) &&
        layer && OnMap(layer, static_cast<int>(lx), static_cast<int>(ly)) &&
        layer->GetObjectCell(static_cast<int>(lx), static_cast<int>(ly)) == kCellEmpty) {
        outX = static_cast<int>(lx);
        outY = static_cast<int>(ly);
    }
    return 1;
}

void CSpecialAbil::DashMissiles(CCreature& c, int id, int dir16, int stopPx, int stopPy, int targetPx, int targetPy)
{
    const int cx = c.GetPixelX(), cy = c.GetPixelY();
    const int dashAnim = Caster::AnimOf(c, kCodeDashImage);
    CRleImage* image = Caster::StepFrame(c, dashAnim, dir16);
    CMissileEffect* missile = nullptr;
    if (id == kAbilityGuardBreak) {
        CRleImage* after = Caster::StepFrame(c, Caster::AnimOf(c, kCodeDashImageB), dir16);
        const int split = GetChebyshevDistance(cx, cy, targetPx, targetPy);
        missile = m_fx.StartGeneric108b(cx, cy, stopPx, stopPy, split, image, after);
    } else {
        if (id == kAbilityPowerBreakII) {
            // Two more from either side of the line, into the target.
            const int dx = targetPx - cx, dy = targetPy - cy;
            for (int side : {1, -1}) {
                const int fx = targetPx + side * dy, fy = targetPy - side * dx;
                CRleImage* own = Caster::StepFrame(c, dashAnim, GetDirection16(fx, fy, targetPx, targetPy));
                if (CMissileEffect* m = m_fx.StartGeneric108(fx, fy, targetPx, targetPy, own))
                    m->SetOwner(&c);
            }
        }
        missile = m_fx.StartGeneric108(cx, cy, stopPx, stopPy, image);
    }
    if (missile)
        missile->SetOwner(&c);
}

int CSpecialAbil::RunDash(CCreature& c, int id)
{
    int32_t& counter = Caster::FrameCounter(c);
    int32_t& walk = Caster::Phase(c);
    CCreature* target = Caster::Target(c);
    if (counter == 0) {
        const int gx = Caster::GoalX(c), gy = Caster::GoalY(c);
        int sx = c.GetTileX(), sy = c.GetTileY();
        const int free = id == kAbilityGuardBreak ? WalkThroughLine(c, c.GetTileX(), c.GetTileY(), gx, gy, sx, sy)
                                                   : WalkDashLine(c, c.GetTileX(), c.GetTileY(), gx, gy, sx, sy);
        if (!InTileMap(sx, sy))
            return 1;
        int stopPx = 0, stopPy = 0, targetPx = 0, targetPy = 0;
        Caster::TileCentre(sx, sy, stopPx, stopPy);
        Caster::TileCentre(gx, gy, targetPx, targetPy);
        if (id == kAbilityPowerBreakII && target && target->IsActive() && target->IsAlive()) {
            targetPx = target->GetPixelX();
            targetPy = target->GetPixelY();
        }
        const bool onStop = sx == c.GetTileX() && sy == c.GetTileY();
        const int dir16 = onStop ? 2 * GetDirection8(c.GetTileX(), c.GetTileY(), gx, gy)
                                 : GetDirection16(c.GetPixelX(), c.GetPixelY(), stopPx, stopPy);
        // Without the dash image of that direction there is nothing to
        // fly, and without the dash itself nothing to play: nothing starts.
        if (!Caster::StepFrame(c, Caster::AnimOf(c, kCodeDashImage), dir16))
            return 1;
        const int dir = free ? dir16 / 2 : GetDirection16(c.GetPixelX(), c.GetPixelY(), targetPx, targetPy) / 2;
        const int anim = Caster::AnimOf(c, kCodeDash + (dir & 7));
        if (anim < 0 || (free && Caster::FramesPerStep(c, anim) <= 0))
            return 1;
        g_soundManager.PlayAt("powerbreak.wav", 0, 0);
        DashMissiles(c, id, dir16, stopPx, stopPy, targetPx, targetPy);
        c.SetDirection(dir);
        Caster::Animation(c) = anim;
        Caster::MoveTo(c, sx, sy, stopPx, stopPy);
        walk = free ? kWalkFree : kWalkBlocked;
    }
    const int anim = Caster::Animation(c);
    if (walk != kWalkFree) {
        c.Draw(c.GetPixelX(), c.GetPixelY(), 0, Caster::StepFrame(c, anim, 0), -1);
        c.SetMyTurn(0);
        return 1;
    }
    const int k = Caster::FramesPerStep(c, anim);
    if (k <= 0) {
        c.SetMyTurn(0);
        return 1;
    }
    if (counter > kHiddenFrames)
        c.Draw(c.GetPixelX(), c.GetPixelY(), 0, Caster::StepFrame(c, anim, counter / k), -1);
    if (c.IsMine()) {
        // The camera rides this caster's own missile while it flies.
        CObjLayer* layer = c.GetLayer();
        if (const CMissileEffect* m = m_fx.GetMissileOf(&c); m && layer) {
            int mx = 0, my = 0;
            m->GetPos(mx, my);
            layer->SetFocusPixel(mx, my);
        }
    }
    if (counter >= kTrailFrame)
        DrawDashTrail(c, k);
    const bool slotLive = target && target->IsActive() && target->IsAlive();
    if ((id == kAbilityPowerBreak && counter == kStrikeFrame && target && target->IsAlive()) ||
        (id == kAbilityGuardBreak && counter == kStrikeFrame && slotLive) ||
        (id == kAbilityPowerBreakII && counter == kStrikeFrameII && slotLive))
        Hit(c, target, id);
    ++counter;
    const int64_t end =
        id == kAbilityGuardBreak ? kGuardBreakEnd : static_cast<int64_t>(Caster::StepCount(c, anim)) * k;
    if (counter < end)
        return 0;
    c.SetMyTurn(0);
    return 1;
}

void CSpecialAbil::DrawDashTrail(CCreature& c, int k)
{
    CObjLayer* layer = c.GetLayer();
    if (!layer)
        return;
    const int step = (Caster::FrameCounter(c) - kTrailFrame) / k;
    const AnimStep* s = g_powerBrakeSet.GetStep(c.GetDirection(), step);
    if (!s)
        return;
    const int frame = static_cast<int>(s->frame);
    CRleImage* image = g_powerBrakeSet.GetFrame(frame);
    if (!image)
        return;
    int sx = c.GetPixelX(), sy = c.GetPixelY();
    if (const CBGLayer* ground = layer->GetBackground())
        ground->WorldToScreen(c.GetPixelX(), c.GetPixelY(), sx, sy);
    // Only while the frame meets the view.
    const int left = sx - image->GetHotSpot().x, top = sy - image->GetHotSpot().y;
    if (left >= layer->GetViewRight() || top >= layer->GetViewBottom() ||
        left + static_cast<int>(image->GetDataWidth()) <= layer->GetViewLeft() ||
        top + static_cast<int>(image->GetDataHeight()) <= layer->GetViewTop())
        return;
    layer->AddDrawItem(&c, sx, sy, 80, image, 0, 0);
    if (CRleImage* second = g_powerBrakeSet.GetSecondFrame(frame))
        layer->AddDrawItem(&c, sx, sy, 80, second, 5, 0);
}
