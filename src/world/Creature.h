// The creature base of the player's own character, the other players and
// the monsters: the server id, the character record, the group key and the
// sprite-set entry that draws it, and the two machines its Update runs once
// a frame: the ORDER (what it has been told to do) and the ACTION (what its
// body does this tick). Walking goes one cell at a time through PathStep.
#pragma once
#include <array>
#include <cstdint>

#include "rules/AbilitySet.h"
#include "rules/CalcData.h"
#include "rules/CreatureStatus.h"
#include "world/CharacterRecord.h"
#include "world/DrawMode.h"
#include "world/Obj.h"

class CAnimSpriteSet;
class CEffect;
class CObrCharEntry;
class CRleImage;

// 1 while the running ability is Psychicforce.
extern int32_t g_psychicforceInProgress;

class CCreature : public CObj {
public:
    // The group key: the leader's id and six member ids (the group header).
    static constexpr int kGroupWords = 7;
    using GroupKey = std::array<uint16_t, kGroupWords>;

    enum Order : int32_t {
        orderStand = 0,
        orderMove = 1,
        orderAttack = 2,
        orderChallenge = 3,
        orderPickUp = 4,
        orderCast = 5,
        orderHit = 6,
        orderDie = 7,
        orderAbility = 8,
    };
    // The actions carry the same numbers.
    using Action = Order;

    // Animation codes of the character sets' selected table.
    static constexpr int kAnimWalk = 0;     // + direction
    static constexpr int kAnimStand = 8;    // + direction
    static constexpr int kAnimHit = 43;     // the hit and dying frames, by direction
    static constexpr int kAnimAttack = 44;  // + direction
    static constexpr int kAnimCast = 76;    // + direction
    // Outside battle a creature this many cells from mine leaves the map.
    static constexpr int kFarCells = 14;
    // The turn gauge is full at this many points.
    static constexpr int kTurnFull = 1800;

    CCreature() { m_kind = kindCreature; }

    // Puts the creature on the map at (x, y) with its server id, entry and a
    // copy of the record: active and alive, on the grids, standing with no
    // order, no group, no status bits, no turn, its class's abilities
    // learned up to its level.
    void Spawn(CObjLayer* layer, int id, int x, int y, const CObrCharEntry* entry, const CharacterRecord& record);
    // Snaps the creature to the centre of (x, y), standing, facing 0.
    void PlaceAt(int x, int y);
    // On: the object grid at its cell holds it and the id grid at its
    // server cell its id. Off: the object grid is cleared at its cell and at
    // the cell being left where it holds it.
    void SetOnGrid(int on) override;
    // Off the map; the speech balloon and the entry are forgotten.
    void RemoveFromMap() override;
    // Regeneration and the turn gauge (mine), status timers (in battle),
    // the order handler, and far removal.
    void Update() override;

    int GetServerId() const { return m_serverId; }
    int IsMonster() const { return m_serverId >= 1000 ? 1 : 0; }
    CharacterRecord& GetCharRecord() { return m_record; }
    const CharacterRecord& GetCharRecord() const { return m_record; }
    const CObrCharEntry* GetEntry() const { return m_pEntry; }
    CAnimSpriteSet* GetSpriteSet() const;
    CAbilitySet& GetAbilitySet() { return m_abilities; }
    uint16_t GetGroupId() const { return m_groupKey[0]; }
    const GroupKey& GetGroupKey() const { return m_groupKey; }
    void SetGroupKey(const GroupKey& key) { m_groupKey = key; }
    // Mine, or sharing a non-zero group id with my character.
    bool IsAllyOfMine() const;
    uint32_t GetStatusFlags() const { return m_status.bits; }
    void SetStatusFlags(uint32_t flags) { m_status.bits = flags; }
    CreatureStatusBits& GetStatus() { return m_status; }
    void SetFrozen(bool on);
    void SetHidden(bool on);
    bool IsFrozen() const { return ::IsFrozen(m_status); }
    bool IsHidden() const { return ::IsHidden(m_status); }
    int GetFieldsRequested() const { return m_fieldsRequested; }
    void SetFieldsRequested(int on) { m_fieldsRequested = static_cast<uint8_t>(on ? 1 : 0); }
    int GetMyTurn() const { return m_myTurn; }
    int GetDirection() const { return m_direction; }
    void SetDirection(int d) { m_direction = d & 7; }
    int GetOrder() const { return m_order; }
    int GetOrderAccepts() const { return m_orderAccepts; }
    int GetOrderFresh() const { return m_orderFresh; }
    int GetAction() const { return m_action; }
    int GetActionDone() const { return m_actionDone; }
    int GetHitAmount() const { return m_hitAmount; }
    int GetPathMode() const { return m_pathMode; }
    int GetGoalX() const { return m_goalX; }
    int GetGoalY() const { return m_goalY; }
    int GetLeavingX() const { return m_leavingX; }
    int GetLeavingY() const { return m_leavingY; }
    int GetBattleSteps() const { return m_battleSteps; }
    int GetTurnStartX() const { return m_turnStartX; }
    int GetTurnStartY() const { return m_turnStartY; }
    int GetAbilityState() const { return m_abilityState; }
    void SetAbilityState(int v) { m_abilityState = v; }
    int GetPendingAmount() const { return m_pendingAmount; }
    // This creature is the object layer's player character.
    bool IsMine() const;
    // Speed class 0..12 from the record (values beyond are clamped).
    int GetSpeedClass() const;

    // The speech balloon; the effect sets and reads it.
    CEffect* GetBalloon() const { return m_pBalloon; }
    void SetBalloon(CEffect* balloon) { m_pBalloon = balloon; }
    // Stops the balloon if it is still active and forgets it.
    void ClearBalloon();

    // Adds the frame to the object layer's draw list at world pixel (x, y)
    // with the creature's draw mode, its name label, HP/MP bar and the GM
    // overlay; fade 0..7 draws blended at that level, -1 as the creature
    // is. 0 when the frame lies outside the view.
    int Draw(int x, int y, int z, CRleImage* frame, int fade);
    void SetMyTurn(int on);
    void ToggleMyTurn() { SetMyTurn(m_myTurn ? 0 : 1); }

    // ---- orders -----------------------------------------------------------
    void Stop();
    void MoveTo(int x, int y, int force);
    void OrderAttack(CCreature* target, int force);
    void OrderChallenge(CCreature* target, int force);
    void OrderPickUp(int x, int y, int force);
    void OrderHit(CCreature* attacker, int x, int y, int amount);
    void OrderDie(CCreature* killer);
    // A hit delivered by another creature, applied by ProcessPendingHit on
    // this creature's next frame. Amounts add up; a hit that is not plain
    // keeps the pending hit not plain.
    void SetPendingHit(CCreature* attacker, int x, int y, int amount, int plain);
    void SetPendingSkill(CCreature* attacker, int x, int y, int amount, int plain)
    {
        SetPendingHit(attacker, x, y, amount, plain);
    }
    // Reports a pending hit and turns it into the hit order (or, not plain
    // in the counter stance, into the counter).
    void ProcessPendingHit();
    void ResetPendingHit();
    void EndAction();
    // The walk towards the order tile begins (nothing while an action runs).
    void StartWalk();
    // One cell of the path to the goal: 1 a step was taken (tile and
    // direction changed), 0 stop (arrived, refused or cut off), 2 blocked.
    int PathStep();

    // ---- special abilities ----------------------------------------------------
    // Enters the ability order; fromNetwork: started by another client's
    // report. areaCaster: the target of an area ability.
    void StartAbility(int id, CCreature* target, int x, int y, int value, int fromNetwork, CCreature* areaCaster);
    // 4 while the creature stands in the CounterBreak stance, else -1.
    int GetCounterBreakState() const;
    int GetAbilityId() const { return m_abilityId; }
    CCreature* GetAbilityTarget() const { return m_pAbilityTarget; }
    int GetAbilityGoalX() const { return m_abilityGoalX; }
    int GetAbilityGoalY() const { return m_abilityGoalY; }
    int GetAbilityValue() const { return m_abilityValue; }
    // The copies AbilityDriver takes for the per-frame routine.
    struct EffectGeometry {
        int casterX = 0, casterY = 0, goalX = 0, goalY = 0;
        CCreature* target = nullptr;
    };
    const EffectGeometry& GetEffectGeometry() const { return m_effectGeometry; }
    // The stat sums another client relayed for this creature; they stand
    // for record value + equipment bonus in the ability damage.
    StatSums& GetRelayedSums() { return m_relayedSums; }
    const StatSums& GetRelayedSums() const { return m_relayedSums; }
    // CalcDamage of ability id (or -1) by this creature on the target.
    int CalcAbilityDamage(int id, const CCreature& target) const;
    // Set on a caster whose Psychicforce hit my character.
    int GetPsychicforceMark() const { return m_psychicforceMark; }
    void SetPsychicforceMark(int on) { m_psychicforceMark = on ? 1 : 0; }

protected:
    // ---- the order machine ----------------------------------------------------
    void RunOrder();
    // Orders 1..5: walk until the reach test allows the order's own action.
    void RunApproachOrder();
    // 0 impossible, 1 must walk, 2 ready.
    int ReachTest() const;
    void BeginAction(int action);
    // The action dispatch: 1 when the action has ended.
    int RunAction();
    int ActStand();
    int ActWalk();
    int ActAttack();
    int ActChallenge();
    int ActPickUp();
    int ActCast();
    int ActHit();
    int ActDying();
    void FinishCell();
    // One tick of an attack or cast animation: the step shown, its frame,
    // whether a hit-marked step begins now, and the animation's ticks;
    // false when the animation is missing or over.
    struct Swing {
        int step = 0;
        int ticks = 0;
        CRleImage* frame = nullptr;
        bool strike = false;
    };
    bool SwingTick(int code, Swing& swing);
    // Over an attack's frame: the pieces fixed to its attachment point and
    // the charge of classes 2 and 3.
    void DrawAttackPieces(int step, const CRleImage* frame);
    // How a frame of this creature is drawn now; fade as Draw's.
    DrawModeChoice ChooseMode(int fade) const;
    void StrikeTarget();
    // A tick of an attack on my character in battle: a monster of class
    // 1401 or 2801 starts its special one time in 50.
    void MonsterSpecial();
    void AbilityDriver();
    // My own character's payment and packets of the ability begun.
    void PayAndAnnounceAbility();
    int DrawAbilityEffect();
    // My defeat: jail, losses, the battle end.
    void RunDefeatRules(CCreature* killer);
    void LoseItems(uint16_t* lost, int& count);
    void LoseFame(const CCreature* killer);
    void UpdateMine();
    void Regenerate(size_t off, int max);
    // The record change to the layer's own record, then the field sent.
    void CommitField(int field);

    // ---- animation ------------------------------------------------------------
    // The animation index of a code (-1 when the set lacks it).
    int AnimIndex(int code) const;
    int AnimLength(int anim) const;
    int TicksPerStep(int anim) const;
    CRleImage* StepFrame(int anim, int step) const;
    // The hit animation's first frame plus the direction.
    CRleImage* HitFrame() const;
    // The sound a step names, with ".WAV" appended.
    void PlayStepSound(int anim, int step) const;
    // "<species>att.wav" and the like for a monster species.
    void PlaySpeciesSound(const char* suffix) const;
    void PlayHitVoice() const;

    // ---- path stepping --------------------------------------------------------
    struct Window {
        int x0 = 0, y0 = 0, x1 = -1, y1 = -1;  // inclusive; empty when x1 < x0
    };
    int DecidePathStep();
    // The goal becomes the cell it stands on: 0.
    int StopHere();
    int StraightStep();
    int BlockedStep(int bx, int by);
    int TracerMove(int x, int y, int dir, bool tracerB, int& wallX, int& wallY) const;
    // 0 stuck, 1 found (count set), -1 out of bounds.
    int RunTracer(bool tracerB, int& count) const;
    bool LineClear(int x0, int y0, int x1, int y1) const;
    bool InStepBounds(int x, int y) const;
    void PrepareRegion(int cx, int cy);
    void FloodFill(int x, int y);
    void ClearRegion();
    bool Marked(int x, int y) const;
    bool Free(int x, int y) const;
    void TakeStep(int x, int y, int dir);
    void RestartLine();

    int32_t m_serverId = 0;
    int32_t m_serverTileX = 0;
    int32_t m_serverTileY = 0;
    CharacterRecord m_record;
    CAbilitySet m_abilities{&m_record, this};
    CEffect* m_pBalloon = nullptr;
    uint8_t m_fieldsRequested = 1;
    int32_t m_direction = 0;
    int32_t m_order = orderStand;
    int32_t m_orderAccepts = 1;
    int32_t m_orderFresh = 1;
    int32_t m_orderTileX = 0;
    int32_t m_orderTileY = 0;
    int32_t m_hitAmount = 0;
    CCreature* m_pOrderTarget = nullptr;
    int32_t m_action = orderStand;
    int32_t m_actionDone = 1;
    int32_t m_stepTick = 0;
    int32_t m_walkTick = 0;
    int32_t m_pathMode = 0;
    int32_t m_lineStartX = 0;
    int32_t m_lineStartY = 0;
    int32_t m_goalX = 0;
    int32_t m_goalY = 0;
    CCreature* m_pActionTarget = nullptr;
    // The cell still held in the object grid while a step ends.
    int32_t m_leavingX = 0;
    int32_t m_leavingY = 0;
    int32_t m_wallX = 0;
    int32_t m_wallY = 0;
    int32_t m_errorX = 0;
    int32_t m_errorY = 0;
    // The HP change while being hit; 1 = out of range while casting.
    int32_t m_actionValue = 0;
    int32_t m_castValue = 0;
    CCreature* m_pPendingAttacker = nullptr;
    int32_t m_pendingX = 0;
    int32_t m_pendingY = 0;
    int32_t m_pendingAmount = 0;
    int32_t m_pendingPlain = 1;
    int32_t m_myTurn = 0;
    GroupKey m_groupKey{};
    const CObrCharEntry* m_pEntry = nullptr;
    int32_t m_battleSteps = 0;
    int32_t m_turnStartX = 0;
    int32_t m_turnStartY = 0;
    int32_t m_abilityState = 0;
    CreatureStatusBits m_status;
    // The ability order.
    int32_t m_abilityId = 0;
    int32_t m_abilityGoalX = 0;
    int32_t m_abilityGoalY = 0;
    int32_t m_abilityValue = 0;
    CCreature* m_pAbilityTarget = nullptr;
    int32_t m_effectValue = 0;
    EffectGeometry m_effectGeometry;
    StatSums m_relayedSums;
    int32_t m_psychicforceMark = 0;
    // My character stood in the sanctuary last frame.
    int32_t m_inSanctuary = 0;
    // The path grid window the last PathStep marked.
    Window m_region;
};

// The game master's overlay under the name labels: 0 none, 1 server ids,
// 2 cells, 3 class and HP/MP.
extern int32_t g_gmOverlayMode;
