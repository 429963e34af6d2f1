// Hinotori, the fire bird: a composite animation that cries at its step 1
// and, once its step 10 is drawn, lets a rain of fire birds fall over my
// character's screen.
#pragma once
#include "effects/SprEffect.h"

class CHinotori : public CSprEffect {
public:
    static constexpr int kCryStep = 1;
    static constexpr int kRainStep = 10;

    CHinotori() { SetName("Hinotori"); }
    void Init(CEffectManager* manager, int x, int y, const CSprSpriteSet* set, int anim)
    {
        InitSpr(manager, x, y, set, anim);
    }
    void Draw(uint8_t* dst) override;
};
