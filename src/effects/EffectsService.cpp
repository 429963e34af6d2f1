#include "effects/EffectsService.h"

#include "app/QuillonView.h"
#include "effects/EffectManager.h"

namespace {

// Before the view has its effect manager nothing is started.
class CNoEffects : public IEffects {
public:
    void LoadResources() override {}
    void DrawAll(uint8_t*) override {}
    void ClearAll() override {}
    CEffect* StartDamage(int, int, int, int, CCreature*) override { return nullptr; }
    CEffect* StartDeathMan(int, int, int) override { return nullptr; }
    void ResetDeathMan() override {}
    CEffect* StartFireStomMain(int, int, CCreature*) override { return nullptr; }
    CEffect* StartUseItem(int, int, int) override { return nullptr; }
    CEffect* StartUsedItem(int, int) override { return nullptr; }
    CEffect* StartPoseidon(int, int, int) override { return nullptr; }
    CEffect* StartDeathManSub(int, int, int, int, CCreature*) override { return nullptr; }
    void PsychicforceTick(CCreature*, CCreature*) override {}
    int RunAbilityRoutine(int, CCreature*) override { return 1; }
    void StartChatBalloon(uint16_t, const char*, int) override {}
};
CNoEffects g_noEffects;
IEffects* g_pEffects = nullptr;

}  // namespace

IEffects& Effects()
{
    if (g_pEffects)
        return *g_pEffects;
    if (g_pView && g_pView->m_pEffectManager)
        return *g_pView->m_pEffectManager;
    return g_noEffects;
}

void SetEffects(IEffects* effects) { g_pEffects = effects; }
