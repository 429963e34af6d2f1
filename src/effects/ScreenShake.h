// A screen shake: while its point is on the screen, the camera's focus
// moves up and down by the amplitude, four frames each way, for its
// duration in frames.
#pragma once
#include "effects/Effect.h"

class CScreenShake : public CEffect {
public:
    void Init(CEffectManager* manager, int x, int y, int amplitude, int duration);
    void Draw(uint8_t* dst) override;
    int GetAmplitude() const { return m_amplitude; }
    int GetDuration() const { return m_duration; }

private:
    int32_t m_amplitude = 0;
    int32_t m_duration = 0;
};
