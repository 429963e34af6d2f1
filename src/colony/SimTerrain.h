// The colony ground: 24 x 24 tiles of 50 pixels from "SimMap.slr" under a
// camera, and the conversion between colony map units and screen pixels.
// One map unit is 16 pixels across and 8 down; the headquarters stands at
// (0, 0), ground pixel (600, 600).
#pragma once
#include <array>
#include <cstdint>

#include "core/SlrList.h"

struct ScreenPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

class CSimTerrain {
public:
    static constexpr int kTilesPerSide = 24;
    static constexpr int kTileSize = 50;
    static constexpr int kGroundSize = kTilesPerSide * kTileSize;
    static constexpr int kViewHeight = 448;
    static constexpr int kScrollStep = 5;

    struct Tile {
        int32_t frame = 0;
        int32_t column = 0;
        int32_t row = 0;
    };

    CSimTerrain();

    // Clamps the camera to the ground and draws the tiles the view of
    // GetFieldViewRight() x 448 pixels shows.
    void Draw(uint8_t* pixels);
    void ScrollLeft() { m_cameraX -= kScrollStep; }
    void ScrollRight() { m_cameraX += kScrollStep; }
    void ScrollUp() { m_cameraY -= kScrollStep; }
    void ScrollDown() { m_cameraY += kScrollStep; }

    ScreenPoint MapToScreen(int x, int y) const;
    // Truncating toward zero, as the picking always has.
    ScreenPoint ScreenToMap(int sx, int sy) const;

    int LoadSprites() { return m_sprites.Load("SimMap.slr"); }
    void UnloadSprites() { m_sprites.Free(); }
    // The tiles and the camera of a new ground.
    void Reset();

    CSlrList& Sprites() { return m_sprites; }

    // The ground pixel at the centre of the view.
    int32_t m_cameraX = kGroundSize / 2;
    int32_t m_cameraY = kGroundSize / 2;

private:
    // Column by column.
    std::array<Tile, kTilesPerSide * kTilesPerSide> m_tiles{};
    CSlrList m_sprites;
};

extern CSimTerrain g_simTerrain;
