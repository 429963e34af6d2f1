// A recording stand-in for the effects: installed while it exists (the
// default comes back when it is destroyed); logs every call with its
// arguments in order and returns scripted values.
#pragma once
#include <cstdint>
#include <map>

#include "effects/EffectsService.h"
#include "support/CallLog.h"

class CObjLayer;

class FakeEffects : public IEffects {
public:
    FakeEffects() { SetEffects(this); }
    ~FakeEffects() override { SetEffects(nullptr); }
    FakeEffects(const FakeEffects&) = delete;
    FakeEffects& operator=(const FakeEffects&) = delete;

    void LoadResources() override;
    void DrawAll(uint8_t* target) override;
    void ClearAll() override;
    CEffect* StartDamage(int x, int y, int value, int kind, CCreature* owner) override;
    CEffect* StartDeathMan(int x, int y, int a) override;
    // Logged with the layer's current death-mark pair (-1 without a layer).
    void ResetDeathMan() override;
    CEffect* StartFireStomMain(int x, int y, CCreature* caster) override;
    CEffect* StartUseItem(int x, int y, int hidden) override;
    CEffect* StartUsedItem(int x, int y) override;
    CEffect* StartPoseidon(int x, int y, int id) override;
    CEffect* StartDeathManSub(int x, int y, int amplitude, int duration, CCreature* caster) override;
    void PsychicforceTick(CCreature* caster, CCreature* target) override;
    int RunAbilityRoutine(int id, CCreature* caster) override;
    void StartChatBalloon(uint16_t charId, const char* text, int colour) override;

    CCallLog log;
    // What every Start... gives back.
    CEffect* startResult = nullptr;
    // What RunAbilityRoutine gives back, by ability id; 1 (finished) for an
    // id not listed. DrawAll is not logged unless logDraws is set.
    std::map<int, int> routineResult;
    bool logDraws = false;
    // The object layer whose current death-mark pair ResetDeathMan logs.
    const CObjLayer* layer = nullptr;
};
