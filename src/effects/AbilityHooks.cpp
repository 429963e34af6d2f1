#include "effects/AbilityHooks.h"

namespace {
SAbilityHooks g_abilityHooks;
}

const SAbilityHooks& AbilityHooks() { return g_abilityHooks; }
void SetAbilityHooks(const SAbilityHooks& hooks) { g_abilityHooks = hooks; }
