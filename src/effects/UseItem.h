// The sparkle of an item use or a healing spell: a one-shot animation at
// (x, y - 5), not drawn while hidden. On its frames 1, 5 and 15 the green
// one starts green bursts and the base one light waves at its point.
#pragma once
#include "effects/TlrEffect.h"

class CUseItem : public CTlrEffect {
public:
    CUseItem() { SetName("Used Item Effect"); }
    void Init(CEffectManager* manager, const CEffectSpriteSet* set, int x, int y, int colour, int hidden);
    void Draw(uint8_t* dst) override;

private:
    int32_t m_colour = 0;
    int32_t m_hidden = 0;
    int32_t m_plainX = 0;
    int32_t m_plainY = 0;
};
