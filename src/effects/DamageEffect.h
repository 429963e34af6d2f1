// The number over a creature hit: "-12", "+5", or "miss". It waits by its
// digit class, shows 52 pixels above its anchor and drops towards it.
#pragma once
#include "effects/Effect.h"

class CCreature;

class CDamageEffect : public CEffect {
public:
    static constexpr int kTextSize = 20;
    static constexpr int kRiseLimit = 52;

    CDamageEffect() { SetName("Damage Effect"); }
    void Init(CEffectManager* manager, int x, int y, int value, CCreature* target);
    void Draw(uint8_t* dst) override;

    // The wait width of a magnitude: 36 for up to 10, then 8 more per digit
    // class, 84 above 1,000,000 (and for any larger magnitude).
    static int WidthOf(int64_t magnitude);
    int GetWidth() const { return m_width; }
    const char* GetDisplayText() const { return m_display; }
    int GetValue() const { return m_value; }
    const CCreature* GetTarget() const { return m_pTarget; }

private:
    void Restart();

    int32_t m_anchorY = 0;
    int32_t m_value = 0;
    int64_t m_magnitude = 0;
    int64_t m_shown = 0;
    int32_t m_reload = 0;
    int32_t m_slide = 0;
    int32_t m_width = 84;
    int32_t m_cycles = 0;
    int32_t m_cycleTarget = 1;
    int32_t m_rolling = 0;
    int32_t m_endCounter = 0;
    int32_t m_riseStarted = 0;
    int32_t m_riseFrames = 0;
    int32_t m_rise = 0;
    CCreature* m_pTarget = nullptr;
    char m_text[kTextSize] = {};
    char m_display[kTextSize] = {};
};
