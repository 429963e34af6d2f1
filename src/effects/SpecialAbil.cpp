// The per-frame routines of the special abilities.
#include "effects/EffectManager.h"

void CEffectManager::PsychicforceTick(CCreature* /*caster*/, CCreature* /*target*/) {}

int CEffectManager::RunAbilityRoutine(int /*id*/, CCreature* /*caster*/) { return 1; }
