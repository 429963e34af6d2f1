// The rain of fire birds: 80 flames at screen offsets drawn at random once
// per stage load, lit in bands over the first 35 frames; the first frame
// shakes the screen at my character. It ends when no flame burns.
#pragma once
#include <array>
#include <cstddef>

#include "effects/Effect.h"

class CEffectFire : public CEffect {
public:
    static constexpr int kFlames = 80;
    static constexpr int kShakeAmplitude = 8;
    static constexpr int kShakeFrames = 52;

    struct Flame {
        int32_t on = 0;
        int32_t dx = 0;
        int32_t dy = 0;
        int32_t counter = 0;
    };

    CEffectFire() { SetName("Fire"); }
    // Idles the effect and draws the flames' offsets anew.
    int Reset() override;
    void Init(CEffectManager* manager, int x, int y, const CEffectSpriteSet* set);
    void Draw(uint8_t* dst) override;
    const Flame& GetFlame(int i) const { return m_flames[static_cast<size_t>(i)]; }
    const CEffectSpriteSet* GetSet() const { return m_pSet; }

private:
    std::array<Flame, kFlames> m_flames{};
    const CEffectSpriteSet* m_pSet = nullptr;
};
