// The ability order of a creature: entering it, the first step of the
// ability action (my own character pays and tells the other clients) and
// the per-frame routine through the effects.
#include <algorithm>
#include <cstdint>

#include "effects/EffectsService.h"
#include "rules/AbilityTable.h"
#include "rules/CalcData.h"
#include "windows/UiService.h"
#include "world/AbilityCommands.h"
#include "world/Creature.h"
#include "world/ObjLayer.h"

int32_t g_psychicforceInProgress;

namespace {

// Ability ids whose target must be another creature, and those that need
// any target.
bool NeedsOther(int id)
{
    switch (id) {
    case 1: case 3: case 6: case 14: case 16: case 18: case 20: case 21: case 23: return true;
    default: return false;
    }
}

bool NeedsTarget(int id) { return id == 12 || id == 13 || id == 15 || id == 22; }

// What AbilityDriver copies for the routine, by id.
bool CopiesCasterCell(int id)
{
    switch (id) {
    case 0: case 1: case 2: case 3: case 6: case 8: case 9: case 11: case 14: case 17: case 23: return true;
    default: return false;
    }
}

bool CopiesGoal(int id) { return id != 2 && id != 4 && id != 7 && id != 9 && id != 10 && id != 17; }
bool CopiesTarget(int id) { return id != 7 && id != 8 && id != 10 && id != 11 && id != 19; }

// Ids paid and sent only with a target.
bool NeedsTargetToPay(int id) { return id == 1 || id == 3 || id == 4 || id == 14 || id == 23; }

int32_t ClampHp(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, 0, INT32_MAX)); }

}  // namespace

void CCreature::StartAbility(int id, CCreature* target, int x, int y, int value, int fromNetwork,
                             CCreature* areaCaster)
{
    if (id < 0 || id >= kAbilityCount)
        return;
    if (!m_alive || (IsFrozen() && !(m_pLayer && m_pLayer->m_cureReceived)))
        return;
    if (fromNetwork && !m_actionDone)
        PlaceAt(m_tileX, m_tileY);
    if (!fromNetwork && !m_orderAccepts)
        return;
    if (NeedsOther(id) && (!target || target == this))
        return;
    if (NeedsTarget(id) && !target)
        return;
    m_order = orderAbility;
    m_abilityId = id;
    m_orderFresh = 1;
    switch (id) {
    case 0: case 8: case 11:
        m_abilityGoalX = x;
        m_abilityGoalY = y;
        break;
    case 19:
        m_abilityGoalX = x;
        m_abilityGoalY = y;
        m_pAbilityTarget = nullptr;
        break;
    case 5:
        m_abilityGoalX = x;
        m_abilityGoalY = y;
        m_pAbilityTarget = areaCaster;
        break;
    case 12:
        m_abilityGoalX = target->GetTileX();
        m_abilityGoalY = target->GetTileY();
        m_pAbilityTarget = target;
        m_abilityValue = x;
        break;
    case 4:
        m_pAbilityTarget = target;
        m_abilityValue = value;
        break;
    case 2: case 7: case 9: case 13: case 15: case 17:
        m_pAbilityTarget = target;
        break;
    case 10:
        break;
    default:
        m_abilityGoalX = target->GetTileX();
        m_abilityGoalY = target->GetTileY();
        m_pAbilityTarget = target;
        break;
    }
    m_orderAccepts = 0;
}

int CCreature::GetCounterBreakState() const
{
    return (m_order == orderAbility && m_action == orderAbility && m_abilityId == kAbilityCounterBreak &&
            m_effectValue == 0)
               ? 4
               : -1;
}

void CCreature::AbilityDriver()
{
    m_actionDone = 0;
    m_action = orderAbility;
    m_stepTick = 0;
    m_effectValue = 0;
    m_orderAccepts = 0;
    const int id = m_abilityId;
    if (CopiesCasterCell(id)) {
        m_effectGeometry.casterX = m_tileX;
        m_effectGeometry.casterY = m_tileY;
    }
    if (CopiesGoal(id)) {
        m_effectGeometry.goalX = m_abilityGoalX;
        m_effectGeometry.goalY = m_abilityGoalY;
    }
    if (CopiesTarget(id))
        m_effectGeometry.target = m_pAbilityTarget;
    if (id == kAbilityCounterBreak || id == kAbilityMagicHealing)
        m_effectValue = m_abilityValue;
    if (IsOnline() && IsMine() && m_pLayer)
        PayAndAnnounceAbility();
}

void CCreature::PayAndAnnounceAbility()
{
    CObjLayer& layer = *m_pLayer;
    CharacterRecord& rec = m_record;
    const int id = m_abilityId;
    const int sub = AbilitySubCommand(id);
    CCreature* target = m_pAbilityTarget;
    const int targetId = target ? target->GetServerId() : 0;
    if (sub < 0 || (NeedsTargetToPay(id) && !target))
        return;
    if (id == kAbilityCounterBreak) {
        // Paid when it was chosen; no status. The strike back itself is told
        // by the queued hit with stance value 1.
        layer.SendAbilityCommand(sub, *this, targetId, 0, 0, 0, 0);
        return;
    }
    const int64_t hp = rec.I32(CharacterRecord::kHp), mp = rec.I32(CharacterRecord::kMp);
    auto setMp = [&rec](int64_t v) { rec.SetU32(CharacterRecord::kMp, static_cast<uint32_t>(ClampHp(v))); };
    auto heal = [&](int64_t wisdom) {
        const int64_t healed = std::min<int64_t>(CalcMaxHp(rec), hp + 5 + TruncSqrt(wisdom * 10));
        rec.SetU32(CharacterRecord::kHp, static_cast<uint32_t>(ClampHp(healed)));
        Ui().RefreshWindows();
    };
    uint32_t amount = 0;
    switch (id) {
    case kAbilityEscape:
        rec.SetU32(CharacterRecord::kHp, static_cast<uint32_t>(ClampHp(hp - GetAbilityHpCost(id))));
        break;
    case kAbilityMagicHealing:
        amount = static_cast<uint32_t>(std::max<int64_t>(mp, 0));
        setMp(0);
        break;
    default: setMp(std::max<int64_t>(mp - GetAbilityMpCost(id, rec), 0)); break;
    }
    switch (id) {
    case kAbilityCounterGuard: m_status.bits |= CreatureStatusBits::kCounterGuard; break;
    case kAbilityEvation: m_status.bits |= CreatureStatusBits::kEvation; break;
    case kAbilityAirOn: m_status.bits |= CreatureStatusBits::kAirOn; break;
    case kAbilityWarriorHealing: heal(rec.I32(CharacterRecord::kWisdom)); break;
    case kAbilityHealing: heal(int64_t{rec.I32(CharacterRecord::kWisdom)} + SumWisdomBonus(rec)); break;
    default: break;
    }
    layer.SetMyCharRecord(rec);
    const int byte = id == kAbilityPsychicforce ? 1 : 0;
    layer.SendAbilityCommand(sub, *this, targetId, m_abilityGoalX, m_abilityGoalY, amount, byte);
    if (id == kAbilityHide)
        layer.SendAbilityCommand(200, *this, 0, 0, 0, 0, 0);
    layer.SendBattleStatus(rec.I32(CharacterRecord::kHp), rec.I32(CharacterRecord::kMp),
                           rec.I32(CharacterRecord::kConstitution), rec.I32(CharacterRecord::kWisdom));
}

int CCreature::DrawAbilityEffect()
{
    if (m_abilityId < 0 || m_abilityId >= kAbilityCount)
        return 1;
    g_psychicforceInProgress = m_abilityId == kAbilityPsychicforce ? 1 : 0;
    return Effects().RunAbilityRoutine(m_abilityId, this);
}

int CCreature::CalcAbilityDamage(int id, const CCreature& target) const
{
    return CalcDamage(id, m_record, &m_relayedSums, target.GetCharRecord());
}
