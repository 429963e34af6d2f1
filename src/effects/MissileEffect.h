// A trail of up to eight copies of a sprite image flying from one world point
// to another on a slowing path: the head takes the next of 8 path points
// every 3 frames.
#pragma once
#include "effects/Effect.h"

class CMissileEffect : public CEffect {
public:
    static constexpr int kTrail = 8;
    static constexpr int kFramesPerPoint = 3;

    // mode 1: image A only, through blend level 3; mode 5: image A blended
    // before split pixels of the path, image B plainly after.
    void Init(CEffectManager* manager, int mode, int x0, int y0, int x1, int y1, int split, CRleImage* imageA,
              CRleImage* imageB);
    void Draw(uint8_t* dst) override;
    // The caster a routine started it for (the camera follows only its own).
    void SetOwner(const void* owner) { m_pOwner = owner; }
    const void* GetOwner() const { return m_pOwner; }

private:
    int32_t m_mode = 1;
    int32_t m_x0 = 0, m_y0 = 0, m_x1 = 0, m_y1 = 0;
    int32_t m_trail = kTrail;
    int32_t m_split = 0;
    CRleImage* m_pImageA = nullptr;
    CRleImage* m_pImageB = nullptr;
    const void* m_pOwner = nullptr;
};
