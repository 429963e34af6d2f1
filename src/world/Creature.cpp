#include "world/Creature.h"

#include <array>

#include "app/StringTable.h"
#include "core/AnimSpriteSet.h"
#include "effects/Effect.h"
#include "effects/EffectsService.h"
#include "rules/AbilityTable.h"
#include "rules/CalcData.h"
#include "windows/MouseCursor.h"
#include "windows/UiService.h"
#include "world/BGLayer.h"
#include "world/AbilityCommands.h"
#include "world/Character.h"
#include "world/ObjLayer.h"
#include "world/ObrEntry.h"
#include "world/WalkTable.h"

int32_t g_gmOverlayMode;

namespace {

constexpr int kStringTurnCame = 92;
constexpr int kStringTurnKeys = 93;
constexpr int kStringNoBattleInJail = 176;
// Below this level the turn messages explain the battle.
constexpr int kTurnHelpLevel = 4;

}  // namespace

void CCreature::Spawn(CObjLayer* layer, int id, int x, int y, const CObrCharEntry* entry,
                      const CharacterRecord& record)
{
    Place(layer, record.Name(), x, y);
    m_active = 1;
    m_alive = 1;
    m_serverId = id;
    m_serverTileX = x;
    m_serverTileY = y;
    m_groupKey.fill(0);
    m_pEntry = entry;
    m_fieldsRequested = 1;
    m_direction = 0;
    m_order = orderStand;
    m_orderAccepts = 1;
    m_orderFresh = 1;
    m_orderTileX = x;
    m_orderTileY = y;
    m_hitAmount = 0;
    m_pOrderTarget = nullptr;
    m_action = orderStand;
    m_actionDone = 1;
    m_stepTick = 0;
    m_walkTick = 0;
    m_pathMode = 0;
    m_lineStartX = m_goalX = m_leavingX = x;
    m_lineStartY = m_goalY = m_leavingY = y;
    m_pActionTarget = nullptr;
    m_wallX = m_wallY = m_errorX = m_errorY = 0;
    m_actionValue = 0;
    m_castValue = 0;
    m_battleSteps = 0;
    m_abilityId = 0;
    m_abilityValue = 0;
    m_pAbilityTarget = nullptr;
    m_effectValue = 0;
    m_effectGeometry = EffectGeometry{};
    m_relayedSums.Clear();
    m_psychicforceMark = 0;
    m_inSanctuary = 0;
    SetOnGrid(1);
    m_abilityState = 0;
    m_record = record;
    ResetPendingHit();
    EndAction();
    Stop();
    // The set is learned afresh from the record, but the current ability of
    // each category stays where the new set still owns it: my character is
    // spawned again at every entry of the field or a battle and keeps what
    // the player chose, which the battle bar and its keys arm.
    std::array<int, CAbilitySet::kCategories> chosen{};
    for (int category = 1; category <= CAbilitySet::kCategories; ++category)
        chosen[static_cast<size_t>(category - 1)] = m_abilities.GetCurrentId(category);
    m_abilities = CAbilitySet(&m_record, this);
    LearnAbilities(m_abilities, m_record);
    for (int id : chosen)
        if (id >= 0)
            m_abilities.Select(id);
    m_record.SetU32(CharacterRecord::kTurnTimer, 0);
    m_status = CreatureStatusBits{};
    SetMyTurn(0);
}

void CCreature::PlaceAt(int x, int y)
{
    if (!InMap(x, y))
        return;
    SetOnGrid(0);
    Place(m_pLayer, GetName(), x, y);
    m_stepTick = 0;
    m_pathMode = 0;
    m_lineStartX = m_goalX = m_leavingX = x;
    m_lineStartY = m_goalY = m_leavingY = y;
    m_wallX = m_wallY = m_errorX = m_errorY = 0;
    m_direction = 0;
    SetOnGrid(1);
    m_abilityState = 0;
    EndAction();
    Stop();
}

void CCreature::RemoveFromMap()
{
    CObj::RemoveFromMap();
    ClearBalloon();
    m_pEntry = nullptr;
}

void CCreature::SetOnGrid(int on)
{
    if (!m_pLayer)
        return;
    if (on) {
        m_pLayer->SetObjectCell(m_tileX, m_tileY, m_handle);
        m_pLayer->SetIdCell(m_serverTileX, m_serverTileY, static_cast<uint32_t>(m_serverId));
        return;
    }
    m_pLayer->ClearObjectCellOf(m_tileX, m_tileY, m_handle);
    m_pLayer->ClearObjectCellOf(m_leavingX, m_leavingY, m_handle);
}

CAnimSpriteSet* CCreature::GetSpriteSet() const
{
    return m_pEntry ? m_pEntry->GetSpriteSet() : nullptr;
}

bool CCreature::IsMine() const
{
    return m_pLayer && m_pLayer->GetMyCharacter() == this;
}

bool CCreature::IsAllyOfMine() const
{
    if (IsMine())
        return true;
    const CCreature* me = m_pLayer ? m_pLayer->GetMyCharacter() : nullptr;
    return me && GetGroupId() != 0 && GetGroupId() == me->GetGroupId();
}

void CCreature::SetFrozen(bool on) { ::SetFrozen(m_status, on, IsMine()); }
void CCreature::SetHidden(bool on) { ::SetHidden(m_status, on, IsMine()); }

int CCreature::GetSpeedClass() const
{
    return ClampSpeedClass(m_record.I32(CharacterRecord::kSpeedClass));
}

void CCreature::ClearBalloon()
{
    if (m_pBalloon && m_pBalloon->IsActive())
        m_pBalloon->Stop();
    m_pBalloon = nullptr;
}

void CCreature::SetMyTurn(int on)
{
    m_myTurn = on ? 1 : 0;
    const bool mine = IsMine();
    if (m_myTurn) {
        if (mine && m_pLayer->m_battleOver == 0 && m_record.I32(CharacterRecord::kLevel) < kTurnHelpLevel) {
            Ui().AddLine(GetGameString(kStringTurnCame));
            Ui().AddLine(GetGameString(kStringTurnKeys));
        }
        m_record.SetU32(CharacterRecord::kTurnTimer, kTurnFull);
        if (mine) {
            m_pLayer->SetRangeCircle(m_pixelX, m_pixelY, GetRangeRadius(m_record));
            m_pLayer->ShowRangeCircle(1);
        }
    } else {
        m_record.SetU32(CharacterRecord::kTurnTimer, 0);
        if (mine)
            m_pLayer->ShowRangeCircle(0);
    }
    m_turnStartX = m_tileX;
    m_turnStartY = m_tileY;
}

// ---- order givers ----------------------------------------------------------

void CCreature::Stop()
{
    m_order = orderStand;
    m_orderFresh = 1;
    m_orderAccepts = 1;
}

void CCreature::MoveTo(int x, int y, int force)
{
    if (!m_alive || (IsFrozen() && IsMine()) || (!force && !m_orderAccepts))
        return;
    m_order = orderMove;
    m_orderAccepts = m_orderFresh = 1;
    m_orderTileX = x;
    m_orderTileY = y;
}

void CCreature::OrderAttack(CCreature* target, int force)
{
    if (!m_alive || !target || (IsFrozen() && IsMine()) || (!force && !m_orderAccepts))
        return;
    if (force && !m_actionDone)
        PlaceAt(m_tileX, m_tileY);
    m_order = orderAttack;
    m_orderAccepts = m_orderFresh = 1;
    m_orderTileX = target->GetTileX();
    m_orderTileY = target->GetTileY();
    m_pOrderTarget = target;
}

void CCreature::OrderChallenge(CCreature* target, int force)
{
    if (!m_alive || !target)
        return;
    if (IsMine() && g_inJail) {
        Ui().AddLine(GetGameString(kStringNoBattleInJail));
        return;
    }
    if (!force && !m_orderAccepts)
        return;
    m_order = orderChallenge;
    m_orderAccepts = m_orderFresh = 1;
    m_orderTileX = target->GetTileX();
    m_orderTileY = target->GetTileY();
    m_pOrderTarget = target;
}

void CCreature::OrderPickUp(int x, int y, int force)
{
    if (!m_alive || (!force && !m_orderAccepts))
        return;
    m_order = orderPickUp;
    m_orderAccepts = m_orderFresh = 1;
    m_orderTileX = x;
    m_orderTileY = y;
}

void CCreature::OrderHit(CCreature* attacker, int x, int y, int amount)
{
    if (!m_alive)
        return;
    if (!m_pLayer || !m_pLayer->m_inBattle)
        amount = -1;
    if (m_order == orderHit && m_orderFresh)
        m_hitAmount += amount;
    else
        m_hitAmount = amount;
    m_order = orderHit;
    m_orderFresh = 1;
    m_orderAccepts = 0;
    m_orderTileX = x;
    m_orderTileY = y;
    m_pOrderTarget = attacker;
}

void CCreature::OrderDie(CCreature* killer)
{
    if (IsMine())
        Ui().ReturnCarried(g_mouseCursor);
    if (!m_alive)
        return;
    m_order = orderDie;
    m_orderAccepts = 0;
    m_orderFresh = 1;
    m_alive = 0;
    m_pOrderTarget = killer;
}

void CCreature::SetPendingHit(CCreature* attacker, int x, int y, int amount, int plain)
{
    m_pendingAmount += amount;
    m_pPendingAttacker = attacker;
    m_pendingX = x;
    m_pendingY = y;
    if (m_pendingPlain == 1)
        m_pendingPlain = plain;
}

void CCreature::ResetPendingHit()
{
    m_pPendingAttacker = nullptr;
    m_pendingX = m_pendingY = 0;
    m_pendingAmount = 0;
    m_pendingPlain = 1;
}

void CCreature::ProcessPendingHit()
{
    CCreature* attacker = m_pPendingAttacker;
    if (!attacker || m_pendingAmount == 0)
        return;
    if (!m_pendingPlain && GetCounterBreakState() == 4) {
        // My strike back from the stance goes to the others first.
        if (IsOnline() && IsMine() && m_pLayer)
            m_pLayer->SendAbilityCommand(AbilitySubCommand(kAbilityCounterBreak), *this, attacker->GetServerId(), 0, 0,
                                         0, 1);
        StartAbility(kAbilityCounterBreak, attacker, m_pendingX, m_pendingY, m_pendingAmount, 1, nullptr);
        return;
    }
    if (IsOnline() && m_pLayer) {
        if (m_pLayer->m_inBattle) {
            if (IsMine() && attacker->GetPsychicforceMark()) {
                // A Psychicforce hit: mode 11 while a repeat is pending.
                const int mode = m_pLayer->m_psychicforcePending ? 11 : 1;
                m_pLayer->SendBattleHitFlagged(attacker->GetServerId(), m_pendingX, m_pendingY, m_pendingAmount,
                                               mode);
                attacker->SetPsychicforceMark(0);
                if (mode == 11)
                    m_pLayer->m_psychicforcePending = 0;
            } else if (IsMine()) {
                m_pLayer->SendBattleHit(attacker->GetServerId(), m_pendingX, m_pendingY, m_pendingAmount);
            }
        } else if (IsMine() || attacker->IsMine()) {
            m_pLayer->SendDamage(m_serverId, m_pendingAmount);
        }
    }
    OrderHit(attacker, m_pendingX, m_pendingY, m_pendingAmount);
}

void CCreature::EndAction()
{
    m_actionDone = 1;
    if (m_action != orderStand) {
        m_action = orderStand;
        m_stepTick = 0;
    }
    m_leavingX = m_tileX;
    m_leavingY = m_tileY;
}

void CCreature::StartWalk()
{
    if (!m_actionDone)
        return;
    m_orderAccepts = 1;
    m_actionDone = 0;
    m_action = orderMove;
    m_stepTick = 0;
    m_lineStartX = m_tileX;
    m_lineStartY = m_tileY;
    m_goalX = m_orderTileX;
    m_goalY = m_orderTileY;
    if (m_pLayer && m_pLayer->m_inBattle) {
        m_battleSteps = CalcMoveSteps(m_record);
        if (!m_myTurn)
            m_battleSteps /= 2;
    } else {
        m_battleSteps = 0;
    }
    m_pathMode = 0;
    m_errorX = m_errorY = 0;
}

// ---- animation ---------------------------------------------------------------

int CCreature::AnimIndex(int code) const
{
    const CAnimSpriteSet* set = GetSpriteSet();
    return set ? set->GetAnimIndex(code) : -1;
}

int CCreature::AnimLength(int anim) const
{
    const CAnimSpriteSet* set = GetSpriteSet();
    return (set && anim >= 0) ? set->GetAnimLength(anim) : 0;
}

int CCreature::TicksPerStep(int anim) const
{
    // An animation's flag byte is its ticks per step.
    const CAnimSpriteSet* set = GetSpriteSet();
    const int t = set ? set->GetAnimFlag(anim) : 0;
    return t > 0 ? t : 1;
}

CRleImage* CCreature::StepFrame(int anim, int step) const
{
    const CAnimSpriteSet* set = GetSpriteSet();
    const AnimStep* s = set ? set->GetStep(anim, step) : nullptr;
    return s ? set->GetFrame(static_cast<int>(s->frame)) : nullptr;
}

CRleImage* CCreature::HitFrame() const
{
    const CAnimSpriteSet* set = GetSpriteSet();
    const int anim = AnimIndex(kAnimHit);
    const AnimStep* s = (set && anim >= 0) ? set->GetStep(anim, 0) : nullptr;
    const int64_t frame = s ? static_cast<int64_t>(s->frame) + m_direction : -1;
    return frame >= 0 && frame < set->GetFrameCount() ? set->GetFrame(static_cast<int>(frame)) : nullptr;
}
