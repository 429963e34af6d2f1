// A used-item burst: a one-shot animation at (x - 7, y - 107).
#pragma once
#include "effects/TlrEffect.h"

class CUsedItem : public CTlrEffect {
public:
    CUsedItem() { SetName("Used Item Effect"); }
    void Init(CEffectManager* manager, const CEffectSpriteSet* set, int x, int y)
    {
        InitTlr(manager, set, x - 7, y - 107);
    }
    void Draw(uint8_t* dst) override { RunFrame(dst); }
};
