// Shared parts of the sprite loaders' fuzz targets: every frame of a set
// that loaded is drawn with each of its draws, near the screen's corners.
#pragma once
#include <cstdint>
#include <vector>

#include "core/Blit.h"
#include "core/SpriteSet.h"

inline void DrawEveryFrame(const CSpriteSet& set, uint32_t seed)
{
    static std::vector<uint8_t> screen(kScreenWidth * kScreenHeight);
    static std::vector<uint8_t> table(256 * 256);
    const BlitTarget target = ScreenTarget(screen.data());
    SetSpriteClipRect(0, 0, kScreenWidth, kScreenHeight);
    const int x = static_cast<int>(seed % 900) - 50;
    const int y = static_cast<int>((seed / 900) % 700) - 50;
    for (int i = 0; i < set.GetFrameCount(); ++i) {
        CRleImage* f = set.GetFrame(i);
        f->Draw(x, y, target);
        f->DrawRemap(x, y, target, table.data());
        f->DrawBlend(-x, y, target, table.data());
        f->DrawStipple(x, -y, target, seed);
        f->DrawChecker(x + 400, y + 300, target, seed);
    }
}
