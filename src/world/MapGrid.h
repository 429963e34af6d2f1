// The field's cell grid: 512 x 512 cells, cell (x, y) at index x + y * 512.
// Every coordinate that comes from a file or a packet is tested with InMap
// before it indexes a plane or a grid.
#pragma once
#include <cstddef>

constexpr int kMapSize = 512;
constexpr size_t kMapCellCount = static_cast<size_t>(kMapSize) * kMapSize;

constexpr bool InMap(int x, int y)
{
    return x >= 0 && x < kMapSize && y >= 0 && y < kMapSize;
}

// Only for cells that passed InMap.
constexpr size_t CellIndex(int x, int y)
{
    return static_cast<size_t>(x) + static_cast<size_t>(y) * kMapSize;
}

// Map cell flag values.
enum : unsigned char {
    kFlagGround = 1,   // ground present (from the file)
    kFlagBlocked = 2,  // no walking
    kFlagDrawn = 16,   // ground drawn and clickable
};
