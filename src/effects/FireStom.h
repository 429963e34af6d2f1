// The fire storm's flames: a one-shot animation 160 pixels above its point.
#pragma once
#include "effects/TlrEffect.h"

class CFireStom : public CTlrEffect {
public:
    CFireStom() { SetName("FireStom"); }
    void Init(CEffectManager* manager, int x, int y, const CEffectSpriteSet* set, int a)
    {
        InitTlr(manager, set, x, y - 160);
        m_value1 = a;
    }
    void Draw(uint8_t* dst) override { RunFrame(dst); }
};
