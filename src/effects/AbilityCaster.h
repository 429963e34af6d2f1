// The caster's side of an ability routine: the fields of the ability order
// that the creature keeps to itself (the frame counter, the effect value
// that doubles as the phase counter, the goal cell, the target, the current
// animation) and the animation look-ups by action code.
#pragma once
#include "world/Creature.h"

class CAnimSpriteSet;
class CRleImage;
struct AnimStep;

class CAbilityCaster : public CCreature {
public:
    // Frames played in the current phase; 0 on the first call.
    static int32_t& FrameCounter(CCreature& c) { return c.*(&CAbilityCaster::m_stepTick); }
    // The second counter of the routines with phases; CounterBreak's 0
    // means its stance.
    static int32_t& Phase(CCreature& c) { return c.*(&CAbilityCaster::m_effectValue); }
    // The value the cast was started with (MagicHealing's MP).
    static int32_t CastValue(const CCreature& c) { return c.*(&CAbilityCaster::m_abilityValue); }
    static int32_t GoalX(const CCreature& c) { return c.*(&CAbilityCaster::m_abilityGoalX); }
    static int32_t GoalY(const CCreature& c) { return c.*(&CAbilityCaster::m_abilityGoalY); }
    static CCreature*& Target(CCreature& c) { return c.*(&CAbilityCaster::m_pAbilityTarget); }
    static int32_t& Animation(CCreature& c) { return c.*(&CAbilityCaster::m_animation); }
    // The centre of a tile in world pixels, and of the caster's goal tile.
    static void TileCentre(int tx, int ty, int& px, int& py);
    static void GoalCentre(const CCreature& c, int& px, int& py) { TileCentre(GoalX(c), GoalY(c), px, py); }
    // Takes the creature off its cell and puts it on (x, y) at that pixel.
    static void MoveTo(CCreature& c, int x, int y, int px, int py);

    // Animation index of code in the caster's set; -1 when it has none.
    static int AnimOf(const CCreature& c, int code);
    static int StepCount(const CCreature& c, int anim);
    // The animation's frames per step (its flag byte; 0 when missing).
    static int FramesPerStep(const CCreature& c, int anim);
    // The frame of a step; null outside the animation.
    static CRleImage* StepFrame(const CCreature& c, int anim, int step);
    // The frame of the step carries a hit rectangle (its first rectangle
    // exists and is not empty).
    static bool IsHitStep(const CCreature& c, int anim, int step);
};
