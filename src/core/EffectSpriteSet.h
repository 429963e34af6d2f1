// An effect set (.TLR): every frame is a picture plus a second image of
// {blend level, colour} pixels drawn blended over it.
#pragma once
#include "core/AnimSpriteSet.h"
#include "core/FrameShadowImage.h"

class CEffectSpriteSet : public CAnimSpriteSet {
public:
    using CSpriteSet::Read;
    // name (32), u32 frame count, per frame a picture record then a second
    // image record, u32 animation count (0: none), animations without the
    // flag byte.
    int Read(CByteReader& r) override;
    // A whole .TLR entry, which is the set from its first byte.
    int Load(const char* name) override { return CSpriteSet::Load(name); }
    void FreeFrames() override;

    // Second image i, or null outside 0..count-1.
    CFrameShadowImage* GetSecondFrame(int i) const;

protected:
    void Reset() override;

    std::vector<std::unique_ptr<CFrameShadowImage>> m_second;
};
