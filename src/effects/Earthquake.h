// The earthquake's fire: up to 40 cells lit at random around fixed screen
// anchors for its first 130 frames; it ends when none is left burning.
#pragma once
#include <array>

#include "effects/Effect.h"

class CEarthquake : public CEffect {
public:
    static constexpr int kCells = 40;

    CEarthquake() { SetName("Earthquake Fire"); }
    // Builds the anchors and idles the effect.
    int Reset() override;
    void Init(CEffectManager* manager, int x, int y, const CEffectSpriteSet* set);
    void Draw(uint8_t* dst) override;
    const CEffectSpriteSet* GetSet() const { return m_pSet; }

private:
    struct Cell {
        int32_t on = 0;
        int32_t x = 0;
        int32_t y = 0;
        int32_t counter = 0;
    };
    std::array<Cell, kCells> m_cells{};
    int32_t m_counter = 0;
    int32_t m_frameCount = 0;
    const CEffectSpriteSet* m_pSet = nullptr;
};
