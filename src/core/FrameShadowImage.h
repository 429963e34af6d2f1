// The second image of an effect frame: its pixels are {blend level, colour}
// pairs, drawn blended into what is already on the screen.
#pragma once
#include "core/FrameImage.h"

class CFrameShadowImage : public CFrameImage {
public:
    int Read(CByteReader& r) override;

    // Copies the colours, ignoring the levels; clipped like the other draws.
    void Draw(int x, int y, const BlitTarget& target) override;
    // These draws do not apply to two-byte pixels and draw nothing.
    void DrawRemap(int x, int y, const BlitTarget& target, const uint8_t* table) override;
    void DrawBlend(int x, int y, const BlitTarget& target, const uint8_t* table) override;
    void DrawStipple(int x, int y, const BlitTarget& target, uint32_t phase) override;
    void DrawChecker(int x, int y, const BlitTarget& target, uint32_t phase) override;
    // Each pixel through the whole 8 x 256 x 256 blend table.
    virtual void DrawBlendLevels(int x, int y, const BlitTarget& target, const uint8_t* table);
};
