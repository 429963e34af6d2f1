// The composite animation that Poseidon, Hinotori and Hellion share: each
// frame every part of the current step of one animation of a .spr set,
// then the next step; the effect ends after the animation's last step.
#pragma once
#include "effects/Effect.h"

class CSprSpriteSet;
struct SprEntry;

class CSprEffect : public CEffect {
public:
    const CSprSpriteSet* GetSet() const { return m_pSet; }
    int GetAnim() const { return m_anim; }
    int GetStep() const { return m_step; }

protected:
    void InitSpr(CEffectManager* manager, int x, int y, const CSprSpriteSet* set, int anim);
    // The parts of the current step drawn at the screen position of
    // (x + dx, y + dy + lift) while the frame is presented; the step, or
    // null once the animation is over (or absent).
    const SprEntry* DrawStep(uint8_t* dst, int lift = 0);
    // One step on; the effect ends after the last.
    void NextStep();

    const CSprSpriteSet* m_pSet = nullptr;
    int32_t m_anim = 0;
};
