// Hellion: a composite animation at its point, with its cry at the start.
#pragma once
#include "effects/SprEffect.h"

class CHellion : public CSprEffect {
public:
    CHellion() { SetName("Hellion"); }
    void Init(CEffectManager* manager, int x, int y, const CSprSpriteSet* set, int anim);
    void Draw(uint8_t* dst) override
    {
        DrawStep(dst);
        NextStep();
    }
};
