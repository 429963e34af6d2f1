// The per-frame routines of the 24 special abilities: each is a small state
// machine over its caster that plays the caster's animation, starts the
// effects of the ability, plays its sounds, lights the sight map and queues
// the hit or heal on the target. A routine returns 1 when it has finished.
#pragma once

class CCreature;
class CEffectManager;
class CObjLayer;

class CSpecialAbil {
public:
    // Action codes (+ direction) of the caster's animations (the selected
    // table's slots, world/StageHolder.h). Escape flashes the stand.
    static constexpr int kCodeStand = 8;
    static constexpr int kCodeDash = 16;
    static constexpr int kCodeDashImage = 24;
    static constexpr int kCodeCounter = 25;
    static constexpr int kCodeDashImageB = 41;
    static constexpr int kCodeAttackCast = 44;
    static constexpr int kCodeRaise = 52;
    static constexpr int kCodeHold = 60;
    static constexpr int kCodeLower = 68;
    static constexpr int kCodeHealCast = 76;
    // Frames of Escape, and of the stance loop's steps.
    static constexpr int kEscapeFrames = 90;
    static constexpr int kLoopFramesPerStep = 6;
    // The fire storm and the earthquake: frames per step, and the frames
    // held in the middle phase.
    static constexpr int kSpellFramesPerStep = 3;
    static constexpr int kSpellHoldFrames = 30;

    explicit CSpecialAbil(CEffectManager& effects) : m_fx(effects) {}

    // One frame of ability id's routine on the caster: 1 once finished.
    int Run(int id, CCreature& caster);
    // The repeat step of Psychicforce: the held target is hit again.
    void PsychicforceTick(CCreature& caster, CCreature* target);

    // The dash line from (x0, y0) to the target (x1, y1) over the object
    // grid: the tile to stop on and 1 when the way is free (the start when
    // the target is adjacent), else the last free tile and 0.
    static int WalkDashLine(const CCreature& caster, int x0, int y0, int x1, int y1, int& outX, int& outY);
    // The same through the target: the free tile just past it when there
    // is one, else the tile before it.
    static int WalkThroughLine(const CCreature& caster, int x0, int y0, int x1, int y1, int& outX, int& outY);

private:
    struct Cast;

    // The healing-type and attack-type plan: the first frame, then per hit
    // step and per frame, ending when the animation has played through.
    int RunCast(CCreature& c, const Cast& cast);
    int RunEscape(CCreature& c);
    int RunDash(CCreature& c, int id);
    int RunCounterBreak(CCreature& c);
    int RunSpell(CCreature& c, int id);
    // Plays the current animation in a loop, 6 frames a step.
    void StanceLoop(CCreature& c);
    // Frame counter / 3 of the MAGICBALL overlay name over the caster.
    void DrawOverlay(CCreature& c, const char* name, int counter);
    void DrawDashTrail(CCreature& c, int k);

    // The hit of ability id from the caster on the target, when alive.
    void Hit(CCreature& caster, CCreature* target, int id);
    void FirstFrame(CCreature& c, int id);
    void HitStep(CCreature& c, int id);
    // The living target's HP grows by amount; capped: not beyond its
    // maximum HP.
    void Heal(CCreature* target, int amount, bool capped);
    void CureTarget(CCreature& c, CCreature* target);
    void DashMissiles(CCreature& c, int id, int dir16, int stopPx, int stopPy, int targetPx, int targetPy);

    CEffectManager& m_fx;
};
