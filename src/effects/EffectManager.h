// The effect manager with its fixed pools per kind. Minimal form: the pools
// are empty; starting an effect does nothing and gives null.
#pragma once
#include <cstdint>

#include "effects/EffectsService.h"

class CObjLayer;

class CEffectManager : public IEffects {
public:
    static constexpr int kPoolSize = 12;

    explicit CEffectManager(CObjLayer* objLayer) : m_pObjLayer(objLayer) {}
    void LoadResources() override {}
    void DrawAll(uint8_t* /*target*/) override {}
    void ClearAll() override {}
    CEffect* StartDamage(int, int, int, int, CCreature*) override { return nullptr; }
    CEffect* StartDeathMan(int, int, int) override { return nullptr; }
    void ResetDeathMan(int) override {}
    CEffect* StartFireStomMain(int, int, CCreature*) override { return nullptr; }
    CEffect* StartUseItem(int, int, int) override { return nullptr; }
    CEffect* StartUsedItem(int, int) override { return nullptr; }
    void PsychicforceTick(CCreature*, CCreature*) override {}
    // No routine yet: every ability ends at once.
    int RunAbilityRoutine(int, CCreature*) override { return 1; }
    void StartChatBalloon(uint16_t, const char*, int) override {}

private:
    [[maybe_unused]] CObjLayer* m_pObjLayer;
};
