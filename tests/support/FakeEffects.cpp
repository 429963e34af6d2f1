#include "support/FakeEffects.h"

#include "world/ObjLayer.h"

void FakeEffects::LoadResources() { log.Add("LoadResources"); }

void FakeEffects::DrawAll(uint8_t* target)
{
    if (logDraws)
        log.Add("DrawAll", static_cast<const void*>(target));
}

void FakeEffects::ClearAll() { log.Add("ClearAll"); }

CEffect* FakeEffects::StartDamage(int x, int y, int value, int kind, CCreature* owner)
{
    log.Add("StartDamage", x, y, value, kind, static_cast<const void*>(owner));
    return startResult;
}

CEffect* FakeEffects::StartDeathMan(int x, int y, int a)
{
    log.Add("StartDeathMan", x, y, a);
    return startResult;
}

void FakeEffects::ResetDeathMan() { log.Add("ResetDeathMan", layer ? layer->m_deathMarkIndex : -1); }

CEffect* FakeEffects::StartFireStomMain(int x, int y, CCreature* caster)
{
    log.Add("StartFireStomMain", x, y, static_cast<const void*>(caster));
    return startResult;
}

CEffect* FakeEffects::StartUseItem(int x, int y, int hidden)
{
    log.Add("StartUseItem", x, y, hidden);
    return startResult;
}

CEffect* FakeEffects::StartUsedItem(int x, int y)
{
    log.Add("StartUsedItem", x, y);
    return startResult;
}

CEffect* FakeEffects::StartPoseidon(int x, int y, int id)
{
    log.Add("StartPoseidon", x, y, id);
    return startResult;
}

CEffect* FakeEffects::StartDeathManSub(int x, int y, int amplitude, int duration, CCreature* caster)
{
    log.Add("StartDeathManSub", x, y, amplitude, duration, static_cast<const void*>(caster));
    return startResult;
}

void FakeEffects::PsychicforceTick(CCreature* caster, CCreature* target)
{
    log.Add("PsychicforceTick", static_cast<const void*>(caster), static_cast<const void*>(target));
}

int FakeEffects::RunAbilityRoutine(int id, CCreature* caster)
{
    log.Add("RunAbilityRoutine", id, static_cast<const void*>(caster));
    const auto it = routineResult.find(id);
    return it == routineResult.end() ? 1 : it->second;
}

void FakeEffects::StartChatBalloon(uint16_t charId, const char* text, int colour)
{
    log.Add("StartChatBalloon", charId, text, colour);
}
