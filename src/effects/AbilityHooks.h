// What the ability routines need of the battle that the battle code
// installs: the Psychicforce repeat flag and its packet, the marks a
// repeated hit sets, and my status report. Without a hook nothing happens
// (the repeat flag reads as off).
#pragma once

struct SAbilityHooks {
    // The Psychicforce repeat flag is set.
    int (*psychicforceRepeat)() = nullptr;
    // The battle flags of a Psychicforce hit that landed.
    void (*markPsychicforceHit)() = nullptr;
    void (*sendPsychicforce)(int targetId) = nullptr;
    // My HP, MP, constitution and wisdom to the battle.
    void (*sendMyStatus)() = nullptr;
};

// The hooks in use; SetAbilityHooks({}) takes them away again.
const SAbilityHooks& AbilityHooks();
void SetAbilityHooks(const SAbilityHooks& hooks);
