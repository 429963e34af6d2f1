// The earthquake spell's controller: shakes the camera while its point is
// on screen, starts the earthquake's fire at frame 1 and hits the
// characters within 8 tiles at frame 80. Its steps advance every third
// frame, on screen or not, and it ends when they reach the duration.
#pragma once
#include "effects/Effect.h"

class CCreature;

class CQuakeController : public CEffect {
public:
    static constexpr int kHitFrame = 80;
    static constexpr int kHitRadius = 8;

    void Init(CEffectManager* manager, int x, int y, int amplitude, int duration, CCreature* caster);
    void Draw(uint8_t* dst) override;
    int GetFrame() const { return m_frame; }

private:
    int32_t m_amplitude = 0;
    int32_t m_duration = 0;
    int32_t m_tileX = 0;
    int32_t m_tileY = 0;
    CCreature* m_pCaster = nullptr;
    int32_t m_frame = 0;
};

// The screen centre lies within the 800 x 480 box around world (x, y).
bool CentreSeesPoint(const CBGLayer* ground, int x, int y);
