// Maximum Force's bursts: up to three plays of an effect set, each 6 pixels
// further along one of eight directions than the one before and released
// one image later, at three frames per image. Nothing in the game makes
// one; it ends when its last burst has played.
#pragma once
#include "effects/Effect.h"

class CMaximumForce : public CEffect {
public:
    static constexpr int kMaxBursts = 3;
    static constexpr int kBurstStep = 6;
    static constexpr int kFramesPerImage = 3;

    CMaximumForce() { SetName("Maximum Force"); }
    // direction: 0..7 as the cell steps (0 = up and left on the screen,
    // then clockwise); bursts: 1..3.
    void Init(CEffectManager* manager, int x, int y, int direction, int bursts, const CEffectSpriteSet* set);
    void Draw(uint8_t* dst) override;

private:
    const CEffectSpriteSet* m_pSet = nullptr;
    int32_t m_direction = 0;
    int32_t m_bursts = 0;
};
