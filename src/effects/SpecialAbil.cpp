#include "effects/SpecialAbil.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "audio/SoundManager.h"
#include "effects/AbilityCaster.h"
#include "effects/AbilityHooks.h"
#include "effects/AreaHit.h"
#include "effects/EffectManager.h"
#include "rules/AbilityTable.h"
#include "rules/CalcData.h"
#include "windows/UiService.h"
#include "world/BGLayer.h"
#include "world/ObjLayer.h"
#include "world/TileGeometry.h"

namespace {

using Caster = CAbilityCaster;

void Sound(const char* name) { g_soundManager.PlayAt(name, 0, 0); }

void TurnTowards(CCreature& c, int px, int py)
{
    c.SetDirection(GetDirection16(c.GetPixelX(), c.GetPixelY(), px, py) / 2);
}

bool Alive(const CCreature* t) { return t && t->IsAlive(); }
bool AliveAndActive(const CCreature* t) { return t && t->IsAlive() && t->IsActive(); }

// Radius 6, dropping to 4 for the second half of every 6 frames.
void LightCaster(CCreature& c, int counter)
{
    CObjLayer* layer = c.GetLayer();
    CBGLayer* ground = layer ? layer->GetBackground() : nullptr;
    if (ground && InTileMap(c.GetTileX(), c.GetTileY()))
        ground->MarkSight(c.GetTileX(), c.GetTileY(), counter % 6 >= 3 ? 4 : 6);
}

// A changed record of my character is copied to the layer, shown and
// reported.
void CommitMine(CCreature& c)
{
    if (!c.IsMine())
        return;
    c.GetLayer()->SetMyCharRecord(c.GetCharRecord());
    Ui().RefreshWindows();
    if (AbilityHooks().sendMyStatus)
        AbilityHooks().sendMyStatus();
}

int64_t ISqrt(int64_t v)
{
    if (v <= 0)
        return 0;
    auto r = static_cast<int64_t>(std::sqrt(static_cast<double>(v)));
    while (r * r > v)
        --r;
    while ((r + 1) * (r + 1) <= v)
        ++r;
    return r;
}

}  // namespace

// How a cast plays: the animation code, the sight flicker, the end rule
// and whether the turn ends with it.
struct CSpecialAbil::Cast {
    enum End { playedThrough, counterGuard, maximumForce };
    int id = 0;
    int code = kCodeHealCast;
    bool light = false;
    End end = playedThrough;
    bool turnOffAtEnd = false;
};

int CSpecialAbil::Run(int id, CCreature& c)
{
    using C = Cast;
    switch (id) {
    case kAbilityEscape: return RunEscape(c);
    case kAbilityPowerBreak:
    case kAbilityGuardBreak:
    case kAbilityPowerBreakII: return RunDash(c, id);
    case kAbilityCounterGuard:
    case kAbilityEvation:
    case kAbilityAirOn: return RunCast(c, C{kAbilityCounterGuard, kCodeHealCast, false, C::counterGuard, true});
    case kAbilityCounterBreak: return RunCounterBreak(c);
    case kAbilityMaximumForce: return RunCast(c, C{id, kCodeHealCast, false, C::maximumForce, false});
    case kAbilityWarriorHealing: return RunCast(c, C{id, kCodeHealCast, false, C::playedThrough, false});
    case kAbilityFireStorm:
    case kAbilityEarthQuake: return RunSpell(c, id);
    case kAbilityHealing:
    case kAbilityMagicHealing:
    case kAbilityHealingII:
    case kAbilityCure:
    case kAbilityFreeze:
    case kAbilityHide: return RunCast(c, C{id, kCodeHealCast, true, C::playedThrough, false});
    case kAbilityDevilHealing: return RunCast(c, C{id, kCodeHealCast, false, C::playedThrough, false});
    case kAbilityElectricEye:
    case kAbilityThunderBolt:
    case kAbilityLighting:
    case kAbilityElectricEyeII: return RunCast(c, C{id, kCodeAttackCast, false, C::playedThrough, false});
    case kAbilityPsychicforce: return RunCast(c, C{id, kCodeAttackCast, false, C::playedThrough, true});
    default: return 1;
    }
}

int CSpecialAbil::RunCast(CCreature& c, const Cast& cast)
{
    int32_t& counter = Caster::FrameCounter(c);
    CCreature* target = Caster::Target(c);
    if (counter == 0) {
        if (cast.id == kAbilityMaximumForce) {
            int gx = 0, gy = 0;
            Caster::GoalCentre(c, gx, gy);
            TurnTowards(c, gx, gy);
        } else if ((cast.id == kAbilityFreeze || cast.id == kAbilityPsychicforce) && target) {
            TurnTowards(c, target->GetPixelX(), target->GetPixelY());
        }
    }
    const int anim = Caster::AnimOf(c, cast.code + c.GetDirection());
    const int k = Caster::FramesPerStep(c, anim);
    if (anim < 0 || k <= 0)
        return 1;
    if (counter == 0)
        FirstFrame(c, cast.id);
    if (counter % k == 0 && Caster::IsHitStep(c, anim, counter / k))
        HitStep(c, cast.id);
    c.Draw(c.GetPixelX(), c.GetPixelY(), 0, Caster::StepFrame(c, anim, counter / k), -1);
    if (cast.light)
        LightCaster(c, counter);
    ++counter;
    const int steps = Caster::StepCount(c, anim);
    int64_t end = static_cast<int64_t>(steps) * k;
    if (cast.end == Cast::counterGuard)
        end = static_cast<int64_t>(steps - 2) * (k - 6);
    else if (cast.end == Cast::maximumForce)
        end = static_cast<int64_t>(steps - 2) * (k - 4);
    if (counter < end)
        return 0;
    if (cast.turnOffAtEnd)
        c.SetMyTurn(0);
    return 1;
}

void CSpecialAbil::FirstFrame(CCreature& c, int id)
{
    using M = CEffectManager;
    const int x = c.GetPixelX(), y = c.GetPixelY();
    CCreature* target = Caster::Target(c);
    const int tx = target ? target->GetPixelX() : x, ty = target ? target->GetPixelY() : y;
    switch (id) {
    case kAbilityCounterGuard:
        for (int up : {0, 40, 80})
            m_fx.StartUseItemColor(M::colourBlue, x, y - up);
        Sound("healother.wav");
        break;
    case kAbilityMaximumForce: {
        int gx = 0, gy = 0;
        Caster::GoalCentre(c, gx, gy);
        m_fx.StartPoseidon(gx, gy, target ? target->GetServerId() : 0);
        c.SetMyTurn(0);
        break;
    }
    case kAbilityWarriorHealing:
        m_fx.StartUseItemColor(M::colourRed, x, y);
        m_fx.StartUseItemColor(M::colourBlue, x, y - 40);
        m_fx.StartUseItemColor(M::colourGreen, x, y - 80);
        Sound("healother.wav");
        break;
    case kAbilityHealing:
        m_fx.StartUseItem(x, y, 0);
        Sound("healself.wav");
        break;
    case kAbilityMagicHealing: {
        m_fx.StartUseItem(x, y, 0);
        int gx = 0, gy = 0;
        Caster::GoalCentre(c, gx, gy);
        m_fx.StartUseItemColor(M::colourRed, gx, gy);
        const int64_t amount = std::max<int64_t>(Caster::CastValue(c), 0);
        Heal(target, static_cast<int>(std::min<int64_t>(ISqrt(700 * amount), INT32_MAX)), false);
        c.SetMyTurn(0);
        Sound("healself.wav");
        break;
    }
    case kAbilityHealingII:
        m_fx.StartUseItem(x, y, 0);
        if (AliveAndActive(target)) {
            Heal(target, c.CalcAbilityDamage(id, *target), true);
            m_fx.StartUsedItemColor(M::usedBlue, tx, ty);
        }
        if (!(c.GetStatusFlags() & 8))
            c.SetMyTurn(0);
        Sound("healself.wav");
        break;
    case kAbilityCure:
        m_fx.StartUseItem(x, y, 1);
        m_fx.StartUseItemColor(M::colourBlue, x, y);
        CureTarget(c, target);
        Sound("healself.wav");
        break;
    case kAbilityFreeze:
        m_fx.StartUseItemColor(M::colourGreen, x, y);
        if (AliveAndActive(target)) {
            m_fx.StartUsedItemColor(M::usedGreen1, tx, ty);
            target->SetFrozen(true);
        }
        c.SetMyTurn(0);
        Sound("freeze.wav");
        break;
    case kAbilityHide:
        // Everything of Hide happens at the target: a dead or missing one
        // (or the next occupant of its slot) is not marked hidden.
        if (AliveAndActive(target)) {
            m_fx.StartUseItemColor(M::colourYellow, tx, ty);
            m_fx.StartUsedItemColor(M::usedYellow1, tx, ty);
            target->SetHidden(true);
            CObjLayer* layer = c.GetLayer();
            if (layer)
                layer->SendStatusFlags(static_cast<int>(layer->m_battleNumber), target->GetServerId(),
                                       target->GetStatusFlags());
        }
        c.SetMyTurn(0);
        Sound("hide.wav");
        break;
    default: break;
    }
}

void CSpecialAbil::HitStep(CCreature& c, int id)
{
    CCreature* target = Caster::Target(c);
    const int cx = c.GetPixelX(), cy = c.GetPixelY();
    const int tx = target ? target->GetPixelX() : cx, ty = target ? target->GetPixelY() : cy;
    if (id == kAbilityThunderBolt) {
        // Nine bolts from 400 pixels up onto a 3 x 3 pattern around the
        // target tile's centre.
        int gx = 0, gy = 0;
        Caster::GoalCentre(c, gx, gy);
        static constexpr struct {
            int fromX, toX, toY, blend;
        } kBolts[9] = {{0, 0, -32, 0},   {-64, -32, -16, 0}, {64, 32, -16, 0},
                       {-128, -64, 0, 1}, {0, 0, 0, 1},       {128, 64, 0, 1},
                       {-64, -32, 16, 2}, {64, 32, 16, 2},    {0, 0, 32, 2}};
        for (int i = 0; i < 9; ++i) {
            const auto& b = kBolts[i];
            m_fx.StartBigEffect(i + 1, gx + b.fromX, gy - 400, gx + b.toX, gy + b.toY, b.blend, 0);
        }
        c.SetMyTurn(0);
        Sound("thunder3.wav");
        Sound("thunder1.wav");
        ApplyThunderBoltAreaHit(c.GetLayer(), Caster::GoalX(c), Caster::GoalY(c), c.GetServerId());
        return;
    }
    if (!Alive(target))
        return;
    switch (id) {
    case kAbilityDevilHealing:
        // The next hit report of my character raises its skill value A.
        if (CObjLayer* layer = c.GetLayer())
            layer->m_hitStatFlag = 1;
        Hit(c, target, id);
        m_fx.StartGhostCalling(tx, ty, 0);
        break;
    case kAbilityElectricEye:
        Hit(c, target, id);
        m_fx.StartBigEffect(1, cx, cy - 80, tx, ty - 40, 0, 0);
        m_fx.StartBigEffect(2, cx, cy - 80, tx, ty - 40, 1, 0);
        Sound("thunder1.wav");
        break;
    case kAbilityLighting:
        Hit(c, target, id);
        m_fx.StartBigEffect(7, cx, cy - 80, tx, ty - 40, 2, 2);
        m_fx.StartBigEffect(8, tx - 128, ty - 440, tx, ty - 40, 0, 1);
        m_fx.StartBigEffect(9, tx, ty - 440, tx, ty - 40, 0, 1);
        m_fx.StartBigEffect(2, tx + 128, ty - 440, tx, ty - 40, 0, 1);
        c.SetMyTurn(0);
        Sound("thunder3.wav");
        Sound("thunder1.wav");
        break;
    case kAbilityElectricEyeII:
        Hit(c, target, id);
        m_fx.StartBigEffect(4, cx, cy - 90, tx, ty - 40, 0, 0);
        m_fx.StartBigEffect(5, cx, cy - 80, tx, ty - 40, 0, 1);
        m_fx.StartBigEffect(6, cx, cy - 70, tx, ty - 40, 0, 2);
        Sound("thunder3.wav");
        break;
    case kAbilityPsychicforce:
        if (CObjLayer* layer = c.GetLayer())
            layer->m_deathMarkFlag = 1;
        Sound("18.wav");
        Hit(c, target, id);
        break;
    default: break;
    }
}

void CSpecialAbil::Hit(CCreature& caster, CCreature* target, int id)
{
    if (!Alive(target))
        return;
    const int amount = caster.CalcAbilityDamage(id, *target);
    target->SetPendingSkill(&caster, caster.GetTileX(), caster.GetTileY(), -amount, 1);
}

void CSpecialAbil::Heal(CCreature* target, int amount, bool capped)
{
    if (!AliveAndActive(target))
        return;
    CharacterRecord& rec = target->GetCharRecord();
    int64_t hp = static_cast<int64_t>(rec.I32(CharacterRecord::kHp)) + std::max(amount, 0);
    if (capped)
        hp = std::min<int64_t>(hp, CalcMaxHp(rec));
    rec.SetU32(CharacterRecord::kHp, static_cast<uint32_t>(std::min<int64_t>(hp, INT32_MAX)));
    CommitMine(*target);
}

void CSpecialAbil::CureTarget(CCreature& /*c*/, CCreature* target)
{
    using M = CEffectManager;
    if (!AliveAndActive(target))
        return;
    if (target->IsFrozen())
        target->SetFrozen(false);
    CObjLayer* layer = target->GetLayer();
    // The Cure has come: frozen and hidden creatures start no abilities
    // again until the next one.
    if (layer)
        layer->m_cureReceived = 0;
    CommitMine(*target);
    m_fx.StartUseItemColor(M::colourBlue, target->GetPixelX(), target->GetPixelY());
    m_fx.StartUseItemColor(M::colourBlue, target->GetPixelX(), target->GetPixelY() - 80);
    if (!layer)
        return;
    for (int i = 0; i < CObjLayer::kDeathMarkPairs; ++i) {
        const CObjLayer::DeathMarkPair& p = layer->m_deathMarks[static_cast<size_t>(i)];
        if (p.first && p.second && (p.first == target || p.second == target)) {
            layer->m_deathMarkIndex = i;
            m_fx.ResetDeathMan();
            break;
        }
    }
}

void CSpecialAbil::PsychicforceTick(CCreature& caster, CCreature* target)
{
    if (Alive(target)) {
        if (AbilityHooks().markPsychicforceHit)
            AbilityHooks().markPsychicforceHit();
        Hit(caster, target, kAbilityPsychicforce);
    }
    // The held target is the next one.
    Caster::Target(caster) = target;
    const SAbilityHooks& hooks = AbilityHooks();
    if (!(hooks.psychicforceRepeat && hooks.psychicforceRepeat()) || !caster.IsMine() || !target)
        return;
    Sound("18.wav");
    CharacterRecord& rec = caster.GetCharRecord();
    const int mp = rec.I32(CharacterRecord::kMp) - GetAbilityMpCost(kAbilityPsychicforce, rec);
    rec.SetU32(CharacterRecord::kMp, static_cast<uint32_t>(std::max(mp, 0)));
    if (hooks.sendPsychicforce)
        hooks.sendPsychicforce(target->GetServerId());
    CommitMine(caster);
}
