#include "colony/SimTerrain.h"

#include <algorithm>

#include "core/Blit.h"
#include "ui/FieldView.h"

CSimTerrain g_simTerrain;

namespace {
constexpr int kHalfHeight = CSimTerrain::kViewHeight / 2;
// The screen row of map row 0 at a camera of 0: the ground's centre row
// plus half the view.
constexpr int kRowOrigin = CSimTerrain::kGroundSize / 2 + kHalfHeight;
}  // namespace

CSimTerrain::CSimTerrain() { Reset(); }

void CSimTerrain::Reset()
{
    for (int i = 0; i < kTilesPerSide; ++i)
        for (int j = 0; j < kTilesPerSide; ++j)
            m_tiles[static_cast<size_t>(i * kTilesPerSide + j)] = Tile{j * kTilesPerSide + i, i, j};
    m_cameraX = kGroundSize / 2;
    m_cameraY = kGroundSize / 2;
}

void CSimTerrain::Draw(uint8_t* pixels)
{
    const int half = GetFieldViewRight() / 2;
    m_cameraX = std::max(m_cameraX, half);
    m_cameraX = std::min(m_cameraX, kGroundSize - half);
    m_cameraY = std::max(m_cameraY, kHalfHeight);
    m_cameraY = std::min(m_cameraY, kGroundSize - kHalfHeight);
    if (!pixels)
        return;
    const BlitTarget target = ScreenTarget(pixels);
    for (const Tile& t : m_tiles) {
        const int left = kTileSize * t.column;
        const int top = kTileSize * t.row;
        if (m_cameraX - half <= left + kTileSize && m_cameraX + half >= left &&
            m_cameraY - kHalfHeight <= top + kTileSize && m_cameraY + kHalfHeight >= top)
            m_sprites.Draw(t.frame, half - (m_cameraX - left), kHalfHeight + (top - m_cameraY), target);
    }
}

ScreenPoint CSimTerrain::MapToScreen(int x, int y) const
{
    const int half = GetFieldViewRight() / 2;
    return ScreenPoint{half + (x - y) * 16 - m_cameraX + kGroundSize / 2, (x + y) * 8 - m_cameraY + kRowOrigin};
}

ScreenPoint CSimTerrain::ScreenToMap(int sx, int sy) const
{
    const int half = GetFieldViewRight() / 2;
    const int gx = m_cameraX + (sx - half) - kGroundSize / 2;
    const int gy = m_cameraY + sy - kRowOrigin;
    return ScreenPoint{(16 * gy + 8 * gx) / 256, (16 * gy - 8 * gx) / 256};
}
