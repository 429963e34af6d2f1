// The one-shot effect-set animation the fire storm and the item-use kinds
// share: frame counter / 3 of the set each frame, then the counter grows,
// and the effect ends when it reaches 3 times the set's frame count.
#pragma once
#include "effects/Effect.h"

class CTlrEffect : public CEffect {
public:
    static constexpr int kFramesPerImage = 3;

    const CEffectSpriteSet* GetSet() const { return m_pSet; }
    int GetCounter() const { return m_step; }

protected:
    void InitTlr(CEffectManager* manager, const CEffectSpriteSet* set, int x, int y);
    // One frame at world (x, y); visible: drawn at all (while presented).
    void RunFrame(uint8_t* dst, bool visible = true);

    const CEffectSpriteSet* m_pSet = nullptr;
};
