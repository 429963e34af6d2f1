// What the field, the creatures and the battle use of the effects. Game code
// calls Effects(); the view's effect manager serves it, a test may install a
// recording stand-in with SetEffects.
#pragma once
#include <cstdint>

class CCreature;
class CEffect;

class IEffects {
public:
    virtual ~IEffects() = default;
    // Loads every effect sprite set and builds the effect parts (stage
    // loading, after the object files).
    virtual void LoadResources() = 0;
    // Draws every active effect and the chat balloons into the target.
    virtual void DrawAll(uint8_t* target) = 0;
    // Stops every pooled effect of every kind (a battle was left).
    virtual void ClearAll() = 0;
    // A damage number 90 pixels above (x, y); value 0 shows a miss.
    virtual CEffect* StartDamage(int x, int y, int value, int kind, CCreature* owner) = 0;
    // The death mark at a pixel position.
    virtual CEffect* StartDeathMan(int x, int y, int a) = 0;
    // Stops the 12 death marks and, when the object layer's death-mark flag
    // is set, clears its current death-mark pair: the caller makes the pair
    // current first.
    virtual void ResetDeathMan() = 0;
    virtual CEffect* StartFireStomMain(int x, int y, CCreature* caster) = 0;
    virtual CEffect* StartUseItem(int x, int y, int hidden) = 0;
    virtual CEffect* StartUsedItem(int x, int y) = 0;
    // Poseidon over a point; its wave hits for the creature of that id.
    virtual CEffect* StartPoseidon(int x, int y, int id) = 0;
    // The quake of a caster around a point.
    virtual CEffect* StartDeathManSub(int x, int y, int amplitude, int duration, CCreature* caster) = 0;
    // The repeat step of Psychicforce at the start of my battle turn.
    virtual void PsychicforceTick(CCreature* caster, CCreature* target) = 0;
    // One frame of the per-frame routine of ability id on the caster; the
    // routine's result (1 when it has finished).
    virtual int RunAbilityRoutine(int id, CCreature* caster) = 0;
    // A chat balloon with the line in its colour over the character with
    // that server id, when the field holds it.
    virtual void StartChatBalloon(uint16_t charId, const char* text, int colour) = 0;
};

// The installed effects: a test's stand-in, else the view's effect manager,
// else one that does nothing and starts nothing.
IEffects& Effects();
// Null puts the default back.
void SetEffects(IEffects* effects);
