// Poseidon: a composite animation drawn 80 pixels up; every part of its
// step 11 starts a wave and the area hit.
#pragma once
#include "effects/SprEffect.h"

class CPoseidon : public CSprEffect {
public:
    static constexpr int kStrikeStep = 11;
    static constexpr int kLift = -80;

    CPoseidon() { SetName("Poseidon"); }
    void Init(CEffectManager* manager, int x, int y, const CSprSpriteSet* set, int id);
    void Draw(uint8_t* dst) override;

private:
    int32_t m_id = 0;
};
