// The fire storm's controller: starts the flames, lights the sight map
// around its tile and hits the characters within two tiles at frame 15;
// 32 frames in all. It draws nothing.
#pragma once
#include "effects/Effect.h"

class CCreature;

class CFireStomMain : public CEffect {
public:
    static constexpr int kHitFrame = 15;
    static constexpr int kFrames = 32;

    void Init(CEffectManager* manager, int x, int y, CCreature* caster);
    void Draw(uint8_t* dst) override;

private:
    int32_t m_tileX = 0;
    int32_t m_tileY = 0;
    CCreature* m_pCaster = nullptr;
};
