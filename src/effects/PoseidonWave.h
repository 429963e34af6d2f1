// Poseidon's wave: the second image of one frame per game frame.
#pragma once
#include "effects/Effect.h"

class CPoseidonWave : public CEffect {
public:
    CPoseidonWave() { SetName("PoseidonWave"); }
    void Init(CEffectManager* manager, int x, int y, const CEffectSpriteSet* set, int a);
    void Draw(uint8_t* dst) override;
    const CEffectSpriteSet* GetSet() const { return m_pSet; }

private:
    const CEffectSpriteSet* m_pSet = nullptr;
};
