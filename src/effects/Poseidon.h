// Poseidon: a composite animation, one step per frame, drawn 80 pixels up;
// at step 11 it starts its wave and the area hit once per cast.
#pragma once
#include "effects/Effect.h"

class CSprSpriteSet;

class CPoseidon : public CEffect {
public:
    static constexpr int kStrikeStep = 11;

    CPoseidon() { SetName("Poseidon"); }
    void Init(CEffectManager* manager, int x, int y, const CSprSpriteSet* set, int id);
    void Draw(uint8_t* dst) override;

private:
    const CSprSpriteSet* m_pSet = nullptr;
    int32_t m_anim = 0;
    int32_t m_id = 0;
};
