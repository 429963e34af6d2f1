#include "colony/SimMapObject.h"

#include "colony/SimBuildingTable.h"
#include "core/Blit.h"

bool CSimMapObject::IsFeature() const { return m_type >= kSimRock && m_type <= kSimLava; }

void CSimMapObject::DrawAnimated(const SimBuildingType& type, uint8_t* pixels, int32_t& counter, bool advance,
                                 int sx, int sy)
{
    const int tpf = type.ticksPerFrame > 0 ? type.ticksPerFrame : 1;
    const int64_t span = static_cast<int64_t>(type.frames > 0 ? type.frames : 1) * tpf;
    int64_t c = counter;
    if (advance)
        ++c;
    c %= span;
    if (c < 0)
        c += span;
    counter = static_cast<int32_t>(c);
    DrawAnchored(type, type.firstFrame + counter / tpf, pixels, sx, sy);
}

void CSimMapObject::DrawAnchored(const SimBuildingType& type, int frame, uint8_t* pixels, int sx, int sy)
{
    if (!pixels)
        return;
    g_simBuildingTable.Sprites().Draw(frame, sx - type.anchorX, sy - type.anchorY, ScreenTarget(pixels));
    // The marker takes the colour of the pixel to its left; column 0 has
    // none in its row.
    if (sx >= 1 && sx < kScreenWidth && sy >= 0 && sy < kScreenHeight) {
        uint8_t* p = pixels + static_cast<size_t>(sy) * kScreenWidth + static_cast<size_t>(sx);
        p[0] = p[-1];
    }
}
