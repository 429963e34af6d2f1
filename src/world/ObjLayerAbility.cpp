// The special abilities on the object layer: the player's choice, the
// ability sub-commands received from the other clients and the area hits.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "app/ReceiveDispatch.h"
#include "app/StringTable.h"
#include "effects/AbilityHooks.h"
#include "effects/AreaHit.h"
#include "effects/EffectsService.h"
#include "rules/AbilityTable.h"
#include "rules/CalcData.h"
#include "windows/UiService.h"
#include "world/AbilityCommands.h"
#include "world/Character.h"
#include "world/MapGrid.h"
#include "world/ObjLayer.h"

namespace {

constexpr int kStrNotNow = 79;
constexpr int kStrNeedsTarget = 87;
constexpr int kStrSelfOnly = 49;
constexpr int kStrGroupOnly = 78;
constexpr int kStrCounterGuard = 46;
constexpr int kStrCounterBreak = 25;
constexpr int kStrWarriorHealing = 1092;
constexpr int kStrEvation = 47;
constexpr int kStrHealing = 68;
constexpr int kStrCure = 1096;
constexpr int kStrAirOn = 48;
constexpr int kFirstPlayerClassAbove = 7;
constexpr int kModeRepeat = 11;
constexpr int kBattleSlots = 24;
constexpr int kMaximumForcePercent[] = {120, 100, 100, 80};
constexpr int kThunderBoltPercent[] = {110, 100, 90};

void Say(int id) { Ui().AddLine(GetGameString(id)); }

}  // namespace

int CObjLayer::UseAbility(int id, CCreature* target, int x, int y)
{
    CCharacter* me = m_pMyChar;
    if (!me || id < 0 || id >= kAbilityCount)
        return 0;
    CharacterRecord& rec = me->GetCharRecord();
    if (rec.U32(CharacterRecord::kClass) >= kFirstPlayerClassAbove)
        return 0;
    if ((me->IsHidden() || me->IsFrozen()) && !m_cureReceived) {
        Say(kStrNotNow);
        return 0;
    }
    auto start = [me](int i, CCreature* t, int sx = 0, int sy = 0, CCreature* area = nullptr) {
        me->StartAbility(i, t, sx, sy, 0, 0, area);
    };
    // A refusal names its message; false stops.
    auto needs = [&](bool ok, int message) {
        if (!ok)
            Say(message);
        return ok;
    };
    const bool other = target && target != me, self = target == me;
    switch (id) {
    case kAbilityEscape: start(id, nullptr, x, y); break;
    case kAbilityPowerBreak: case kAbilityGuardBreak: case kAbilityPowerBreakII: case kAbilityDevilHealing:
    case kAbilityElectricEye: case kAbilityLighting: case kAbilityElectricEyeII: case kAbilityPsychicforce:
        if (needs(other, kStrNeedsTarget))
            start(id, target);
        break;
    case kAbilityCounterGuard: case kAbilityWarriorHealing: case kAbilityEvation: case kAbilityHealing:
    case kAbilityAirOn: {
        if (!needs(self, kStrSelfOnly))
            break;
        const int said = id == kAbilityCounterGuard     ? kStrCounterGuard
                         : id == kAbilityWarriorHealing ? kStrWarriorHealing
                         : id == kAbilityEvation        ? kStrEvation
                         : id == kAbilityHealing        ? kStrHealing
                                                        : kStrAirOn;
        Say(said);
        start(id, me);
        break;
    }
    case kAbilityCounterBreak: {
        if (me->GetCounterBreakState() != -1)
            break;
        Say(kStrCounterBreak);
        start(id, nullptr);
        const int mp = std::max(rec.I32(CharacterRecord::kMp) - GetAbilityMpCost(id, rec), 0);
        rec.SetU32(CharacterRecord::kMp, static_cast<uint32_t>(mp));
        CommitPlayerRecord();
        SendBattleStatus(rec.I32(CharacterRecord::kHp), mp, rec.I32(CharacterRecord::kConstitution),
                         rec.I32(CharacterRecord::kWisdom));
        break;
    }
    case kAbilityMaximumForce: start(id, target, x, y, me); break;
    case kAbilityFireStorm: case kAbilityEarthQuake: case kAbilityThunderBolt: start(id, nullptr, x, y); break;
    case kAbilityMagicHealing:
        if (needs(target != nullptr, kStrNeedsTarget))
            start(id, target, x);
        break;
    case kAbilityHealingII: case kAbilityCure:
        if (!needs(target != nullptr, kStrNeedsTarget))
            break;
        start(id, target);
        if (id == kAbilityCure)
            Say(kStrCure);
        break;
    case kAbilityFreeze:
        if (!other)
            break;
        if (target->IsMonster())
            SendAbilityCommand(201, *me, target->GetServerId());
        start(id, target);
        break;
    case kAbilityHide:
        if (!target)
            break;
        if (needs(me->GetGroupId() == 0 || target->GetGroupId() == me->GetGroupId(), kStrGroupOnly))
            start(id, target);
        break;
    default: break;
    }
    return 0;
}

void CObjLayer::OnBattleAbilityCommand(int sub, const uint8_t* p, int size)
{
    const AbilityCommandRow* row = FindAbilityCommand(sub);
    if (!row || !m_inBattle || size < row->PayloadSize())
        return;
    const AbilityPacket k = DecodeAbilityPayload(*row, p, static_cast<size_t>(size));
    if (sub == 200 || sub == 201)
        return;
    if (sub == 43)
        TakeHitStat(k.caster == g_myId);
    // My own reports are not taken back from the server.
    CCharacter* caster = FindCharacterById(k.caster);
    if (!caster || caster == m_pMyChar)
        return;
    const bool usesTarget = row->Has(AbilityField::target) && sub != 151 && sub != 152;
    CCharacter* target = usesTarget ? FindCharacterById(k.target) : nullptr;
    if (usesTarget && !target)
        return;
    const bool hasGoal = row->Has(AbilityField::goalX);
    if (hasGoal && row->ability >= 0 && !InMap(static_cast<int>(std::min<uint32_t>(k.goalX, kMapSize)),
                                                 static_cast<int>(std::min<uint32_t>(k.goalY, kMapSize))))
        return;

    CharacterRecord& rec = caster->GetCharRecord();
    StatSums& sums = caster->GetRelayedSums();
    sums.Clear();
    for (int i = 0; i < row->count; ++i) {
        const AbilityFieldDef& f = row->fields[static_cast<size_t>(i)];
        const uint32_t v = k.stat[static_cast<size_t>(f.stat)];
        switch (f.kind) {
        case AbilityField::sum32:
        case AbilityField::sum16: sums.Set(f.stat, v); break;
        case AbilityField::plain32:
            rec.SetU32(StatOffset(f.stat), std::min<uint32_t>(v, StatSums::kMax));
            break;
        case AbilityField::equip:
            for (int s = 0; s < CharacterRecord::kEquipSlots; ++s) {
                const uint16_t item = k.equip[static_cast<size_t>(s)];
                // An id without an item entry equips nothing.
                rec.SetEquip(s, item != 0 && GetItemEntry(item) ? item : 0);
            }
            break;
        case AbilityField::field20: rec.SetU16(CharacterRecord::kInputA, k.field20); break;
        case AbilityField::field26: rec.SetU16(CharacterRecord::kInputB, k.field26); break;
        default: break;
        }
    }
    if (sub == 150) {
        Effects().StartFireStomMain(target->GetPixelX(), target->GetPixelY(), caster);
        return;
    }
    if (row->ability < 0)
        return;
    if (sub == 41 && target == m_pMyChar) {
        m_psychicforcePending = k.byte == kModeRepeat ? 1 : 0;
        caster->SetPsychicforceMark(1);
    }
    if (sub == 44)
        m_cureReceived = 1;
    const int id = row->ability;
    const int gx = static_cast<int>(k.goalX), gy = static_cast<int>(k.goalY);
    switch (id) {
    case kAbilityMaximumForce: caster->StartAbility(id, caster, gx, gy, 0, 0, caster); break;
    case kAbilityFireStorm:
    case kAbilityEarthQuake:
    case kAbilityThunderBolt: caster->StartAbility(id, nullptr, gx, gy, 0, 1, nullptr); break;
    case kAbilityCounterBreak: caster->StartAbility(id, target, 0, 0, k.byte, 1, nullptr); break;
    case kAbilityMagicHealing:
        caster->StartAbility(id, target, static_cast<int>(std::min<uint32_t>(k.amount, StatSums::kMax)), 0, 0, 1,
                             nullptr);
        break;
    default: caster->StartAbility(id, target, 0, 0, 0, 1, nullptr); break;
    }
}

void CObjLayer::ApplyAreaHit(int id, int x, int y, int casterId, const int* percent, int reach)
{
    CCharacter* caster = FindCharacterById(casterId);
    if (!caster)
        return;
    for (int i = 0; i < kBattleSlots; ++i) {
        CCharacter& c = CharacterSlot(i);
        if (!c.IsActive() || !c.IsAlive() || c.GetGroupId() == caster->GetGroupId())
            continue;
        const int d = std::max(std::abs(x - c.GetTileX()), std::abs(y - c.GetTileY()));
        if (d >= reach)
            continue;
        const int64_t damage = int64_t{caster->CalcAbilityDamage(id, c)} * percent[d] / 100;
        const int amount = damage < 0 ? 1 : static_cast<int>(std::min<int64_t>(damage, INT32_MAX));
        c.SetPendingSkill(caster, caster->GetTileX(), caster->GetTileY(), -amount, 1);
    }
}

void CObjLayer::ApplyMaximumForceArea(int x, int y, int casterId)
{
    ApplyAreaHit(kAbilityMaximumForce, x, y, casterId, kMaximumForcePercent, 4);
}

void CObjLayer::ApplyThunderBoltArea(int x, int y, int casterId)
{
    ApplyAreaHit(kAbilityThunderBolt, x, y, casterId, kThunderBoltPercent, 3);
}

void InstallAbilityHooks()
{
    SetMaximumForceAreaHook([](CObjLayer* layer, int x, int y, int id) {
        if (layer)
            layer->ApplyMaximumForceArea(x, y, id);
    });
    SetThunderBoltAreaHook([](CObjLayer* layer, int x, int y, int id) {
        if (layer)
            layer->ApplyThunderBoltArea(x, y, id);
    });
    SAbilityHooks hooks = AbilityHooks();
    // The repeat step runs while the battle holds its death marks.
    hooks.psychicforceRepeat = [] {
        const CObjLayer* layer = GetObjLayer();
        return layer && layer->m_inBattle && layer->m_deathMarkFlag ? 1 : 0;
    };
    // A repeated Psychicforce hit holds its death mark as the first cast's
    // hit step does.
    hooks.markPsychicforceHit = [] {
        if (CObjLayer* layer = GetObjLayer())
            layer->m_deathMarkFlag = 1;
    };
    hooks.sendPsychicforce = [](int targetId) {
        CObjLayer* layer = GetObjLayer();
        if (layer && layer->GetMyCharacter())
            layer->SendAbilityCommand(41, *layer->GetMyCharacter(), targetId, 0, 0, 0, kModeRepeat);
    };
    hooks.sendMyStatus = [] {
        CObjLayer* layer = GetObjLayer();
        const CCharacter* me = layer ? layer->GetMyCharacter() : nullptr;
        if (!me)
            return;
        const CharacterRecord& rec = me->GetCharRecord();
        layer->SendBattleStatus(rec.I32(CharacterRecord::kHp), rec.I32(CharacterRecord::kMp),
                                rec.I32(CharacterRecord::kConstitution), rec.I32(CharacterRecord::kWisdom));
    };
    SetAbilityHooks(hooks);
}
