#include "effects/EffectsService.h"

#include "app/QuillonView.h"
#include "effects/EffectManager.h"

namespace {

// Before the view has its effect manager nothing is started.
CEffectManager g_noEffects(nullptr);
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
