// The creature's frame: my regeneration and turn gauge, the status timers,
// the order machine, the action machine and far removal.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/ReceiveDispatch.h"
#include "app/StringTable.h"
#include "audio/SoundManager.h"
#include "core/AnimSpriteSet.h"
#include "core/RleImage.h"
#include "effects/EffectsService.h"
#include "platform/Crt.h"
#include "rules/CalcData.h"
#include "windows/DaradirUzedo.h"
#include "windows/UiService.h"
#include "world/BGLayer.h"
#include "world/Creature.h"
#include "world/Character.h"
#include "world/ObjLayer.h"
#include "world/StageLoader.h"
#include "world/TileGeometry.h"
#include "world/WalkTable.h"

namespace {

constexpr int kStringNoMp = 26;
constexpr int kStringSanctuary = 37;
constexpr int kStringExitLevel = 83;
constexpr int kDeathMatchFirst = 20001;
constexpr int kRegenTicks = 30;
constexpr int kDecayPeriod = 360;
constexpr int kPsychicforceMp = 20;
// Maps whose battles regenerate one of HP and MP.
constexpr int kHpBattleMap = 85;
constexpr int kMpBattleMap = 86;
constexpr int kFastRegenMap = 95;
constexpr int kStandTicks = 6;
constexpr int kChallengeTicks = 3;
constexpr int kChallengeSteps = 3;
constexpr int kPickUpTicks = 3;
constexpr int kHitTicks = 15;
constexpr int kDyingTicks = 40;
constexpr int kCastOutOfRangeTicks = 3;
// The monsters with a special of their own: Poseidon, and the quake.
constexpr int kPoseidonClass = 1401;
constexpr int kQuakeClass = 2801;
constexpr int kSpecialChance = 50;
constexpr int kQuakeAmplitude = 16;
constexpr int kQuakeDuration = 30;

struct TravelTarget {
    int map, x, y;
};
constexpr TravelTarget kTravel[3] = {{1, 177, 366}, {4, 28, 216}, {5, 219, 183}};

}  // namespace

void CCreature::Update()
{
    if (!m_active || !m_pLayer)
        return;
    CObjLayer& layer = *m_pLayer;
    const bool mine = IsMine();
    if (mine)
        UpdateMine();
    if (layer.m_inBattle)
        UpdateStatusTimers(m_status, mine);
    RunOrder();
    if (!m_active)
        return;
    const CCreature* me = layer.GetMyCharacter();
    if (IsOnline() && !layer.m_inBattle && me && me != this &&
        (std::abs(m_tileX - me->GetTileX()) >= kFarCells || std::abs(m_tileY - me->GetTileY()) >= kFarCells))
        RemoveFromMap();
}

void CCreature::Regenerate(size_t off, int max)
{
    const int v = m_record.I32(off);
    if (v >= max)
        return;
    const int64_t next = std::min<int64_t>(static_cast<int64_t>(v) + std::max(max / 25, 1), max);
    m_record.SetU32(off, static_cast<uint32_t>(next));
    m_pLayer->SetMyCharRecord(m_record);
    Ui().RefreshWindows();
}

void CCreature::UpdateMine()
{
    CObjLayer& layer = *m_pLayer;
    const int maxHp = CalcMaxHp(m_record);
    const int maxMp = CalcMaxMp(m_record);
    if (layer.m_inBattle) {
        int timer = m_record.I32(CharacterRecord::kTurnTimer);
        if (timer == kTurnFull && layer.m_deathMarkFlag) {
            for (const CObjLayer::DeathMarkPair& pair : layer.m_deathMarks) {
                if (pair.second != this || !pair.first)
                    continue;
                if (m_record.I32(CharacterRecord::kMp) >= kPsychicforceMp) {
                    Effects().PsychicforceTick(this, pair.first);
                } else {
                    m_abilities.ClearSelectedCategory();
                    Ui().AddLine(GetGameString(kStringNoMp));
                }
                break;
            }
        }
        if (m_myTurn) {
            timer -= CalcTurnGaugeDrain(m_record);
            if (timer < 0)
                SetMyTurn(0);
            else
                m_record.SetU32(CharacterRecord::kTurnTimer, static_cast<uint32_t>(timer));
        } else {
            timer = static_cast<int>(std::min<int64_t>(static_cast<int64_t>(timer) + CalcTurnGaugeFill(m_record),
                                                       kTurnFull + 1));
            if (timer > kTurnFull) {
                SetMyTurn(1);
                ClearTurnStances(m_status);
            } else {
                m_record.SetU32(CharacterRecord::kTurnTimer, static_cast<uint32_t>(std::max(timer, 0)));
            }
        }
        if (m_myTurn)
            layer.SetRangeCircle(m_pixelX, m_pixelY, GetRangeRadius(m_record));
        if (layer.m_battleNumber < kDeathMatchFirst && g_frameClock % (12 * kRegenTicks) == 0) {
            if (g_currentMapId == kHpBattleMap)
                Regenerate(CharacterRecord::kHp, maxHp);
            else if (g_currentMapId == kMpBattleMap)
                Regenerate(CharacterRecord::kMp, maxMp);
        }
        return;
    }

    if (CDaradirUzedo* ui = g_layerHolder.GetLayer()) {
        for (size_t i = 0; i < ui->m_travelRequest.size(); ++i) {
            if (!ui->m_travelRequest[i])
                continue;
            ui->m_travelRequest[i] = 0;
            layer.StageChange().Init(CStageChange::kMove, kTravel[i].map, kTravel[i].x, kTravel[i].y);
            break;
        }
    }
    int k = 24;
    const int inSanctuary = IsInSanctuary(g_currentMapId, m_tileX, m_tileY);
    if (inSanctuary) {
        k = 8;
        if (!m_inSanctuary)
            Ui().AddLine(GetGameString(kStringSanctuary));
    }
    m_inSanctuary = inSanctuary;
    if (g_currentMapId == kFastRegenMap)
        k = 8;
    if (g_frameClock % static_cast<uint32_t>(k * kRegenTicks) == 0) {
        Regenerate(CharacterRecord::kHp, maxHp);
        Regenerate(CharacterRecord::kMp, maxMp);
    }
    if (g_frameClock % kDecayPeriod == 0) {
        for (auto [off, max] : {std::pair{size_t{CharacterRecord::kHp}, maxHp}, {size_t{CharacterRecord::kMp}, maxMp}}) {
            const int v = m_record.I32(off);
            if (v <= max)
                continue;
            m_record.SetU32(off, static_cast<uint32_t>(std::max({v - v / 25, max, 0})));
            m_pLayer->SetMyCharRecord(m_record);
            Ui().RefreshWindows();
        }
    }
}

// ---- the order machine -----------------------------------------------------------

void CCreature::BeginAction(int action)
{
    m_action = action;
    m_actionDone = 0;
    m_stepTick = 0;
    if (action >= orderAttack && action <= orderCast)
        m_orderAccepts = 0;
    if (action == orderAttack)
        g_psychicforceInProgress = 0;
}

void CCreature::RunOrder()
{
    switch (m_order) {
    case orderStand:
        if (RunAction() || (m_action != orderStand && m_actionDone))
            EndAction();
        return;
    case orderMove:
    case orderAttack:
    case orderChallenge:
    case orderPickUp:
    case orderCast:
        RunApproachOrder();
        return;
    case orderHit: {
        if (m_orderFresh) {
            m_orderFresh = 0;
            CCreature* me = m_pLayer->GetMyCharacter();
            if (m_pLayer->m_inBattle && m_pLayer->m_deathMarkFlag && me == this) {
                for (int i = 0; i < CObjLayer::kDeathMarkPairs; ++i) {
                    if (m_pLayer->m_deathMarks[static_cast<size_t>(i)].first == this) {
                        m_pLayer->m_deathMarkIndex = i;
                        Effects().ResetDeathMan();
                        break;
                    }
                }
            }
            m_actionValue = m_hitAmount;
            m_pActionTarget = m_pOrderTarget;
            BeginAction(orderHit);
        }
        if (RunAction() && m_order == orderHit) {
            Stop();
            EndAction();
        }
        return;
    }
    case orderDie:
        if (m_orderFresh) {
            m_orderFresh = 0;
            m_pActionTarget = m_pOrderTarget;
            BeginAction(orderDie);
        }
        if (RunAction()) {
            if (!IsOnline()) {
                RemoveFromMap();
                return;
            }
            Stop();
            EndAction();
        }
        return;
    case orderAbility:
        if (m_orderFresh && m_actionDone) {
            m_orderFresh = 0;
            AbilityDriver();
        }
        if (m_action != orderAbility) {
            RunAction();
            return;
        }
        if (RunAction()) {
            m_abilities.ClearSelectedCategory();
            Stop();
            EndAction();
        }
        return;
    default:
        Stop();
        return;
    }
}

int CCreature::ReachTest() const
{
    const CCreature* t = m_pActionTarget;
    const int dx = std::abs(m_goalX - m_tileX), dy = std::abs(m_goalY - m_tileY);
    switch (m_order) {
    case orderAttack:
        if (!t || !t->IsAlive() || std::abs(t->GetTileX() - m_goalX) > 1 || std::abs(t->GetTileY() - m_goalY) >= 2)
            return 0;
        return (dx > 1 || dy >= 2) ? 1 : 2;
    case orderChallenge: {
        if (!t || !t->IsAlive())
            return 0;
        const int rx = t->IsMonster() ? 3 : 4;
        const auto within = [rx](int ax, int ay) { return ax <= rx && ay <= rx; };
        if (!within(std::abs(t->GetTileX() - m_goalX), std::abs(t->GetTileY() - m_goalY)))
            return 0;
        return within(dx, dy) ? 2 : 1;
    }
    case orderPickUp:
        return (dx == 0 && dy == 0) ? 2 : 1;
    case orderCast:
        return (t && t->IsAlive()) ? 2 : 0;
    default:
        return 1;
    }
}

void CCreature::RunApproachOrder()
{
    bool finished = false;
    if (m_actionDone) {
        if (m_orderFresh) {
            m_orderFresh = 0;
            m_goalX = m_orderTileX;
            m_goalY = m_orderTileY;
            m_pActionTarget = m_pOrderTarget;
            if (ReachTest() == 1)
                StartWalk();
        }
        switch (ReachTest()) {
        case 2:
            BeginAction(m_order);
            break;
        case 1:
            if (m_pLayer->m_inBattle && m_battleSteps <= 0) {
                BeginAction(orderStand);
                finished = true;
            } else if (PathStep() == 1) {
                if (m_pLayer->m_inBattle)
                    --m_battleSteps;
                BeginAction(orderMove);
            } else {
                BeginAction(orderStand);
                finished = true;
            }
            break;
        default:
            BeginAction(orderStand);
            finished = true;
            break;
        }
    }
    const int action = m_action;
    if (RunAction() && action != orderMove && action != orderStand)
        finished = true;
    if (finished) {
        Stop();
        EndAction();
    }
}

// ---- the action machine ------------------------------------------------------------

int CCreature::RunAction()
{
    switch (m_action) {
    case orderStand: return ActStand();
    case orderMove: return ActWalk();
    case orderAttack: return ActAttack();
    case orderChallenge: return ActChallenge();
    case orderPickUp: return ActPickUp();
    case orderCast: return ActCast();
    case orderHit: return ActHit();
    case orderDie: return ActDying();
    case orderAbility: return DrawAbilityEffect() ? 1 : 0;
    default:
        EndAction();
        return 1;
    }
}

int CCreature::ActStand()
{
    // The dead stay where they faded out: nothing of them is drawn.
    if (!m_alive)
        return 0;
    const int anim = AnimIndex(kAnimStand + m_direction);
    const int len = AnimLength(anim);
    if (len <= 0)
        return 0;
    m_stepTick %= kStandTicks * len;
    Draw(m_pixelX, m_pixelY, 0, StepFrame(anim, m_stepTick / kStandTicks), -1);
    ++m_stepTick;
    return 0;
}

void CCreature::FinishCell()
{
    m_stepTick = 0;
    m_actionDone = 1;
    if (m_pLayer)
        m_pLayer->ClearObjectCellOf(m_leavingX, m_leavingY, m_handle);
    CBGLayer::TileToPixel(m_tileX, m_tileY, m_pixelX, m_pixelY);
    m_pixelX += CBGLayer::kTileWidth / 2;
    m_pixelY += CBGLayer::kTileHeight / 2;
    if (!IsMine() || m_pLayer->m_inBattle)
        return;
    int map = 0, x = 0, y = 0;
    if (FindMapExit(g_currentMapId, m_tileX, m_tileY, &map, &x, &y) != 1)
        return;
    const int minLevel = GetMapMinLevel(map);
    if (m_record.I32(CharacterRecord::kLevel) >= minLevel) {
        m_pLayer->StageChange().Init(CStageChange::kMove, map, x, y);
    } else {
        char text[160];
        std::snprintf(text, sizeof text, GetGameString(kStringExitLevel), minLevel);
        Ui().AddLine(text);
    }
}

int CCreature::ActWalk()
{
    const int anim = AnimIndex(kAnimWalk + m_direction);
    const int len = AnimLength(anim);
    const int s = GetSpeedClass();
    const int steps = WalkStepCount(s, m_direction);
    if (len > 0) {
        Draw(m_pixelX, m_pixelY, 0, StepFrame(anim, (m_walkTick / TicksPerStep(anim)) % len), -1);
        int dx = 0, dy = 0;
        WalkDelta(s, m_direction, m_stepTick, dx, dy);
        m_pixelX += dx;
        m_pixelY += dy;
        ++m_stepTick;
        m_walkTick = (m_walkTick + 1) % (TicksPerStep(anim) * len);
    } else {
        // Without the animation the step ends at once.
        m_stepTick = steps;
    }
    if (m_stepTick < steps)
        return 0;
    FinishCell();
    return (m_tileX == m_goalX && m_tileY == m_goalY) ? 1 : 0;
}

bool CCreature::SwingTick(int code, Swing& swing)
{
    const int anim = AnimIndex(code);
    const int len = AnimLength(anim);
    const int tps = TicksPerStep(anim);
    swing.step = m_stepTick / tps;
    swing.ticks = len * tps;
    if (len <= 0 || swing.step >= len)
        return false;
    swing.frame = StepFrame(anim, swing.step);
    swing.strike = false;
    if (m_stepTick % tps == 0) {
        PlayStepSound(anim, swing.step);
        // A frame's first point after its hot spot marks the hit.
        const RlePoint* mark = swing.frame ? swing.frame->GetPoint(1) : nullptr;
        swing.strike = mark && (mark->x != 0 || mark->y != 0);
    }
    return true;
}

void CCreature::StrikeTarget()
{
    CCreature* target = m_pActionTarget;
    if (!target || !target->IsAlive())
        return;
    CObjLayer& layer = *m_pLayer;
    int damage = 1;
    if (layer.m_inBattle) {
        damage = CalcDamage(-1, m_record, target->GetCharRecord());
        const int targetAgility = target->GetCharRecord().I32(CharacterRecord::kAgility);
        if (target->IsMine() && !RollHit(m_record, targetAgility)) {
            if (!IsAllyOfMine())
                layer.SendBattleHit(m_serverId, m_tileX, m_tileY, 0);
            Effects().StartDamage(target->GetPixelX(), target->GetPixelY(), 0, 0, target);
            damage = 0;
        } else if (IsMine() && target->IsMonster() && !RollHit(m_record, targetAgility)) {
            // A miss is reported as no damage and hands the monster none.
            if (IsOnline())
                layer.SendDamage(target->GetServerId(), 0);
            damage = 0;
        }
    }
    if (damage != 0)
        target->SetPendingHit(this, m_tileX, m_tileY, -damage, 1);
}

void CCreature::MonsterSpecial()
{
    CObjLayer& layer = *m_pLayer;
    CCreature* target = m_pActionTarget;
    const int cls = m_record.I32(CharacterRecord::kClass);
    if (!layer.m_inBattle || (cls != kPoseidonClass && cls != kQuakeClass) || !target || !target->IsMine() ||
        !target->IsAlive())
        return;
    if (plat::Rand() % kSpecialChance != 0)
        return;
    const int px = target->GetPixelX(), py = target->GetPixelY();
    if (cls == kPoseidonClass)
        Effects().StartPoseidon(px, py, m_serverId);
    else
        Effects().StartDeathManSub(px, py, kQuakeAmplitude, kQuakeDuration, this);
    // The other clients take the monster's sums and play the quake of
    // its cell values at my cell.
    if (IsOnline()) {
        layer.SendAbilityCommand(154, *this, 0, target->GetTileX(), target->GetTileY());
        layer.SendAbilityCommand(20, *this, 0, target->GetTileX(), target->GetTileY());
    }
}

int CCreature::ActAttack()
{
    CObjLayer& layer = *m_pLayer;
    CCreature* target = m_pActionTarget;
    if (m_stepTick == 0) {
        PlaySpeciesSound("att");
        if (target)
            m_direction = GetDirection8(m_tileX, m_tileY, target->GetTileX(), target->GetTileY());
        if (IsMine() && IsOnline() && target) {
            if (layer.m_inBattle)
                layer.SendBattleAttack(target->GetServerId());
            else
                layer.SendAttack(target->GetServerId());
        }
    }
    Swing swing;
    if (!SwingTick(kAnimAttack + m_direction, swing))
        return 1;
    const int step = swing.step;
    if (swing.strike)
        StrikeTarget();
    MonsterSpecial();
    Draw(m_pixelX, m_pixelY, 0, swing.frame, -1);
    // The pieces go with the body: a swing hidden from me shows none.
    if (ChooseMode(-1).draw)
        DrawAttackPieces(step, swing.frame);
    ++m_stepTick;
    return m_stepTick >= swing.ticks ? 1 : 0;
}

int CCreature::ActChallenge()
{
    CCreature* target = m_pActionTarget;
    if (m_stepTick == 0 && target) {
        int tx = 0, ty = 0;
        CBGLayer::TileToPixel(target->GetTileX(), target->GetTileY(), tx, ty);
        m_direction = GetDirection16(m_pixelX, m_pixelY, tx + CBGLayer::kTileWidth / 2,
                                     ty + CBGLayer::kTileHeight / 2) / 2;
        if (IsOnline()) {
            if (IsMine())
                m_pLayer->SendChallenge(target->GetServerId());
            else if (target->IsMine())
                m_pLayer->SendChallengeReply(m_serverId, 0, g_myId);
        }
    }
    const int anim = AnimIndex(kAnimStand + m_direction);
    const int len = AnimLength(anim);
    if (len > 0)
        Draw(m_pixelX, m_pixelY, 0, StepFrame(anim, (m_stepTick / kChallengeTicks) % len), -1);
    ++m_stepTick;
    return m_stepTick >= kChallengeSteps * kChallengeTicks ? 1 : 0;
}

int CCreature::ActPickUp()
{
    if (m_stepTick == 0 && IsMine() && IsOnline())
        m_pLayer->PickUpItem(m_goalX, m_goalY);
    const int anim = AnimIndex(kAnimStand + m_direction);
    if (AnimLength(anim) > 0)
        Draw(m_pixelX, m_pixelY, 0, StepFrame(anim, 0), -1);
    ++m_stepTick;
    return m_stepTick >= kPickUpTicks ? 1 : 0;
}

int CCreature::ActCast()
{
    CCreature* target = m_pActionTarget;
    if (m_stepTick == 0) {
        if (target)
            m_direction = GetDirection8(m_tileX, m_tileY, target->GetTileX(), target->GetTileY());
        m_actionValue = (target && GetChebyshevDistance(m_tileX, m_tileY, target->GetTileX(), target->GetTileY()) <=
                                       GetRangeRadius(m_record))
                            ? 0
                            : 1;
    }
    if (m_actionValue == 1) {
        const int anim = AnimIndex(kAnimStand + m_direction);
        if (AnimLength(anim) > 0)
            Draw(m_pixelX, m_pixelY, 0, StepFrame(anim, 0), -1);
        return ++m_stepTick >= kCastOutOfRangeTicks ? 1 : 0;
    }
    Swing swing;
    if (!SwingTick(kAnimCast + m_direction, swing))
        return 1;
    if (swing.strike && target) {
        Effects().StartUsedItem(m_pixelX, m_pixelY);
        Effects().StartUsedItem(target->GetPixelX(), target->GetPixelY());
        target->GetCharRecord().SetU32(CharacterRecord::kHp, static_cast<uint32_t>(CalcMaxHp(target->GetCharRecord())));
    }
    Draw(m_pixelX, m_pixelY, 0, swing.frame, -1);
    ++m_stepTick;
    return m_stepTick >= swing.ticks ? 1 : 0;
}

int CCreature::ActHit()
{
    CObjLayer& layer = *m_pLayer;
    CCreature* attacker = m_pActionTarget;
    const bool mine = IsMine();
    if (m_stepTick == 0) {
        SetHidden(false);
        SetFrozen(false);
        if (attacker)
            m_direction = GetDirection8(m_leavingX, m_leavingY, attacker->GetTileX(), attacker->GetTileY());
        const ObjHandle back = layer.GetObjectCell(m_leavingX, m_leavingY);
        if ((back == kCellEmpty || back == m_handle) && InMap(m_leavingX, m_leavingY)) {
            layer.ClearObjectCellOf(m_tileX, m_tileY, m_handle);
            m_tileX = m_leavingX;
            m_tileY = m_leavingY;
            layer.SetObjectCell(m_tileX, m_tileY, m_handle);
        }
        CBGLayer::TileToPixel(m_tileX, m_tileY, m_pixelX, m_pixelY);
        m_pixelX += CBGLayer::kTileWidth / 2;
        m_pixelY += 4;
        if (IsMonster())
            PlaySpeciesSound("hit");
        else
            PlayHitVoice();
        const bool online = IsOnline();
        if (!online || layer.m_inBattle) {
            const int64_t hp = static_cast<int64_t>(m_record.I32(CharacterRecord::kHp)) + m_actionValue;
            m_record.SetU32(CharacterRecord::kHp, static_cast<uint32_t>(std::clamp<int64_t>(hp, INT32_MIN, INT32_MAX)));
            Effects().StartDamage(m_pixelX, m_pixelY, m_actionValue, 0, this);
            if (hp < 1 && (!online || mine)) {
                m_record.SetU32(CharacterRecord::kHp, 0);
                if (mine)
                    layer.SetMyCharRecord(m_record);
                OrderDie(attacker);
            }
        }
        if (attacker && attacker->IsMine() && IsMonster()) {
            const int cls = m_record.I32(CharacterRecord::kClass);
            if (cls >= 1300 && cls <= 1399 && plat::Rand() % 8 == 0) {
                Effects().StartFireStomMain(attacker->GetPixelX(), attacker->GetPixelY(), this);
                // The other clients start the same fire with its sums.
                layer.SendAbilityCommand(150, *this, attacker->GetServerId());
            }
        }
        if (mine) {
            layer.SetMyCharRecord(m_record);
            Ui().RefreshWindows();
        }
    }
    if (CRleImage* frame = HitFrame())
        Draw(m_pixelX, m_pixelY, 0, frame, -1);
    ++m_stepTick;
    if (m_stepTick < kHitTicks)
        return 0;
    // Back to the foot point of the cell.
    m_pixelY += CBGLayer::kTileHeight / 2 - 4;
    return 1;
}

int CCreature::ActDying()
{
    if (m_stepTick == 0) {
        g_soundManager.PlayAt("0.wav", 0, 0);
        PlaySpeciesSound("die");
        if (IsMine() && IsOnline())
            RunDefeatRules(m_pActionTarget);
    }
    if (CRleImage* frame = HitFrame())
        Draw(m_pixelX, m_pixelY, 0, frame, 7 - std::min(m_stepTick / 5, 7));
    ++m_stepTick;
    return m_stepTick >= kDyingTicks ? 1 : 0;
}
