// The light wave of an item use: a one-shot animation at (x - 7, y - 107).
#pragma once
#include "effects/TlrEffect.h"

class CUseItemWave : public CTlrEffect {
public:
    CUseItemWave() { SetName("Used Item Wave Effect"); }
    void Init(CEffectManager* manager, const CEffectSpriteSet* set, int x, int y)
    {
        InitTlr(manager, set, x - 7, y - 107);
    }
    void Draw(uint8_t* dst) override { RunFrame(dst); }
};
