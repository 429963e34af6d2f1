// The abilities that run in phases: Escape's flashing retreat, the
// CounterBreak stance and counter, and the fire storm and earthquake casts
// (raise, hold, lower) under the MAGICBALL overlay.
#include <algorithm>

#include "core/EffectSpriteSet.h"
#include "effects/AbilityCaster.h"
#include "effects/EffectManager.h"
#include "effects/SpecialAbil.h"
#include "rules/AbilityTable.h"
#include "rules/GameData.h"
#include "world/BGLayer.h"
#include "world/ObjLayer.h"
#include "world/StageChange.h"
#include "world/TileGeometry.h"

namespace {

using Caster = CAbilityCaster;

// Escape flashes 10 frames of every 20, drawn at this blend level.
constexpr int kFlashFade = 3;
// The quake of an EarthQuake cast.
constexpr int kQuakeAmplitude = 16;
constexpr int kQuakeDuration = 30;
// CounterBreak shows its first steps once each, then holds the fifth.
constexpr int kCounterHeldStep = 4;
// The overlay is drawn this much lower than the caster's frame.
constexpr int kOverlayDrop = 60;

constexpr int kPhaseRaise = 0;
constexpr int kPhaseHold = 1;
constexpr int kPhaseLower = 2;

void DrawStep(CCreature& c, int anim, int step, int fade = -1)
{
    c.Draw(c.GetPixelX(), c.GetPixelY(), 0, Caster::StepFrame(c, anim, step), fade);
}

}  // namespace

int CSpecialAbil::RunEscape(CCreature& c)
{
    int32_t& counter = Caster::FrameCounter(c);
    int32_t& phase = Caster::Phase(c);
    if (counter == 0) {
        c.SetMyTurn(0);
        Caster::Animation(c) = Caster::AnimOf(c, kCodeStand + c.GetDirection());
        phase = 0;
    }
    const int anim = Caster::Animation(c);
    const int steps = Caster::StepCount(c, anim);
    if (anim < 0 || steps <= 0)
        return 1;
    DrawStep(c, anim, (counter / kLoopFramesPerStep) % steps, phase % 20 < 10 ? kFlashFade : -1);
    ++phase;
    if (++counter < kEscapeFrames)
        return 0;
    c.SetMyTurn(0);
    if (c.IsMine()) {
        CObjLayer* layer = c.GetLayer();
        layer->StageChange().Init(CStageChange::kLeaveBattle, 0, c.GetTileX(), c.GetTileY());
        layer->m_battleOver = 0;
    }
    return 1;
}

void CSpecialAbil::StanceLoop(CCreature& c)
{
    const int anim = Caster::Animation(c);
    const int steps = Caster::StepCount(c, anim);
    if (steps > 0)
        DrawStep(c, anim, (Caster::FrameCounter(c) / kLoopFramesPerStep) % steps);
    ++Caster::FrameCounter(c);
}

int CSpecialAbil::RunCounterBreak(CCreature& c)
{
    int32_t& counter = Caster::FrameCounter(c);
    CCreature* target = Caster::Target(c);
    if (Caster::Phase(c) == 0) {
        // The stance: held while it is the caster's turn.
        if (counter == 0)
            Caster::Animation(c) = Caster::AnimOf(c, kCodeCounter + c.GetDirection());
        if (Caster::Animation(c) < 0 || !c.GetMyTurn())
            return 1;
        StanceLoop(c);
        return 0;
    }
    if (counter == 0) {
        if (!target || !target->IsAlive())
            return 1;
        const int dir =
            GetDirection16(c.GetPixelX(), c.GetPixelY(), target->GetPixelX(), target->GetPixelY()) / 2;
        const int turned = Caster::AnimOf(c, kCodeCounter + dir);
        if (turned < 0 || Caster::FramesPerStep(c, turned) <= 0 || Caster::StepCount(c, turned) <= 0)
            return 1;
        Hit(c, target, kAbilityCounterBreak);
        c.SetDirection(dir);
        Caster::Animation(c) = turned;
    }
    const int anim = Caster::Animation(c);
    const int k = Caster::FramesPerStep(c, anim);
    const int steps = Caster::StepCount(c, anim);
    if (anim < 0 || k <= 0 || steps <= 0) {
        c.SetMyTurn(0);
        return 1;
    }
    DrawStep(c, anim, std::min({counter, kCounterHeldStep, steps - 1}));
    if (++counter < static_cast<int64_t>(steps) * k)
        return 0;
    c.SetMyTurn(0);
    return 1;
}

void CSpecialAbil::DrawOverlay(CCreature& c, const char* name, int counter)
{
    CObjLayer* layer = c.GetLayer();
    const int anim = g_magicBallSet.FindAnimation(name);
    const AnimStep* s = layer && anim >= 0 ? g_magicBallSet.GetStep(anim, counter / kSpellFramesPerStep) : nullptr;
    if (!s)
        return;
    const int frame = static_cast<int>(s->frame);
    int sx = c.GetPixelX(), sy = c.GetPixelY();
    if (const CBGLayer* ground = layer->GetBackground())
        ground->WorldToScreen(c.GetPixelX(), c.GetPixelY(), sx, sy);
    if (CRleImage* image = g_magicBallSet.GetFrame(frame))
        layer->AddDrawItem(&c, sx, sy + kOverlayDrop, 0, image, 0, 0);
    if (CRleImage* second = g_magicBallSet.GetSecondFrame(frame))
        layer->AddDrawItem(&c, sx, sy + kOverlayDrop, 0, second, 5, 0);
}

int CSpecialAbil::RunSpell(CCreature& c, int id)
{
    int32_t& counter = Caster::FrameCounter(c);
    int32_t& phase = Caster::Phase(c);
    int gx = 0, gy = 0;
    Caster::TileCentre(Caster::GoalX(c), Caster::GoalY(c), gx, gy);
    if (counter == 0 && phase == kPhaseRaise) {
        c.SetDirection(GetDirection16(c.GetPixelX(), c.GetPixelY(), gx, gy) / 2);
        Caster::Animation(c) = Caster::AnimOf(c, kCodeRaise + c.GetDirection());
    }
    const int anim = Caster::Animation(c);
    const int steps = Caster::StepCount(c, anim);
    if (anim < 0 || steps <= 0)
        return 1;
    const int64_t length = static_cast<int64_t>(steps) * kSpellFramesPerStep;
    switch (phase) {
    case kPhaseRaise:
        DrawOverlay(c, "MAGICUP_0", counter);
        DrawStep(c, anim, counter / kSpellFramesPerStep);
        if (++counter >= length) {
            phase = kPhaseHold;
            counter = 0;
            Caster::Animation(c) = Caster::AnimOf(c, kCodeHold + c.GetDirection());
        }
        return 0;
    case kPhaseHold:
        if (counter == 0) {
            if (id == kAbilityEarthQuake)
                m_fx.StartDeathManSub(gx, gy, kQuakeAmplitude, kQuakeDuration, &c);
            else
                m_fx.StartFireStomMain(gx, gy, &c);
            c.SetMyTurn(0);
        }
        DrawOverlay(c, "MAGICEFFECT_0", counter);
        DrawStep(c, anim, static_cast<int>((counter / kSpellFramesPerStep) % steps));
        if (++counter >= kSpellHoldFrames) {
            phase = kPhaseLower;
            counter = 0;
            Caster::Animation(c) = Caster::AnimOf(c, kCodeLower + c.GetDirection());
        }
        return 0;
    default:
        DrawOverlay(c, "MAGICDOWN_0", counter);
        DrawStep(c, anim, counter / kSpellFramesPerStep);
        return ++counter >= length ? 1 : 0;
    }
}
