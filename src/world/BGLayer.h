// The background map layer: the isometric ground of the field. It owns the
// stage map's planes, the tile sets they draw from, the camera, the
// conversions between tile, world-pixel and screen coordinates, and the
// sight map that darkens what the player cannot see during a battle.
//
// A tile (x, y) is a 64 x 32 diamond whose box has its left-top corner at
// world pixel ((x - y) * 32 - 32, (x + y) * 16); x grows down-right, y
// down-left.
//
// Map file (little-endian): 20-byte header ("BGL", 0, u32 256, 12 zero bytes;
// not checked), i32 width W, i32 height H (1..512 each), 256 tile-set names
// of 32 bytes, then four planes of H rows of W cells: flags (u8), tile set
// (u8), image (u16), area (u8). Each file row lands at the start of its
// 512-cell row. The object section follows (CObjLayer::LoadMapObjects).
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "core/Layer.h"
#include "world/MapGrid.h"

class CByteReader;
class CObjLayer;
class CRFile;
class CTileSet;

// One cell offset of the sight table and its ring (0 = the centre).
struct SightOffset {
    int8_t dx = 0;
    int8_t dy = 0;
    uint8_t ring = 0;
};

class CBGLayer : public CLayer {
public:
    static constexpr int kTileSlots = 256;
    static constexpr size_t kNameSize = 32;
    static constexpr size_t kMapHeader = 20;
    // Where the planes start: header, width, height and the names.
    static constexpr size_t kPlanesStart = kMapHeader + 8 + kTileSlots * kNameSize;
    static constexpr int kTileWidth = 64;
    static constexpr int kTileHeight = 32;
    static constexpr int kViewBottom = 448;
    // Sight levels: 0 unseen (black) .. 8 full light.
    static constexpr uint8_t kFullSight = 8;
    static constexpr int kSightRings = 23;
    static constexpr int kSightOffsets = 1597;
    static constexpr int kMaxSightRadius = 19;

    // surfaceOwner: the layer whose GetBits is the surface Draw draws into
    // (the display).
    explicit CBGLayer(CLayer* surfaceOwner);
    ~CBGLayer() override;

    // The camera far off, the view rectangle empty, the flag, tile-set and
    // image planes, the tile-set slots and names cleared. The area plane and
    // the sight map stay.
    void Reset();
    void SetViewRect(int left, int top, int right, int bottom);
    void SetMapBounds(int x0, int y0, int x1, int y1);

    // A .tle file into the tile-set list: 0, or -1 for a missing entry, a
    // header other than "TLE" / version 256 / count >= 0, or a damaged set
    // (the list is then unchanged).
    int LoadTileFile(const char* file);
    // Deletes every tile set; 0.
    int FreeTileSets();
    // The first tile set whose name equals name exactly (case counts), both
    // taken within 32 bytes; null when none.
    CTileSet* FindTileSet(std::string_view name) const;
    int GetTileSetCount() const { return static_cast<int>(m_tileSets.size()); }

    // Reads the map part of an open map file at its cursor, which is left
    // after the planes: 0, or -1. A failed map is cleared whole (planes,
    // names, slots, bounds): nothing of it is ever drawn.
    int LoadMap(CRFile& file);
    // The same over bytes; r is left after the planes on success.
    int ReadMap(CByteReader& r);
    // No map at all: every plane but the sight map, the names, the slots
    // and the bounds cleared.
    void ClearMap();

    // Coordinates; results through the out-parameters.
    static void TileToPixel(int x, int y, int& px, int& py);
    void TileToScreen(int x, int y, int& sx, int& sy) const;
    void WorldToScreen(int px, int py, int& sx, int& sy) const;
    void ScreenToWorld(int sx, int sy, int& px, int& py) const;
    // The tile whose diamond holds world pixel (px, py).
    static void PixelToTile(int px, int py, int& x, int& y);
    void ScreenToTile(int sx, int sy, int& x, int& y) const;
    void GetViewCentre(int& px, int& py) const;

    // Makes world pixel (px, py) the centre of the view.
    void ScrollTo(int px, int py);
    // Turns parallax on (nothing in the game does).
    void SetParallax(int multiplier, int divisor);
    int GetScrollX() const { return m_scrollX; }
    int GetScrollY() const { return m_scrollY; }
    int GetCameraTileX() const { return m_cameraTileX; }
    int GetCameraTileY() const { return m_cameraTileY; }

    // The sight map. The window is inclusive, in tiles; every write is
    // clipped to the window grown by 3 and to the map.
    void SetSightWindow(int x0, int y0, int x1, int y1);
    void ClearSightAroundWindow();
    // Lights the cells around (x, y): the centre gets min(radius + 4, 8) and
    // each ring one less; radius is taken within 0..19.
    void MarkSight(int x, int y, int radius);
    // Caps the borders of the window grown by 1, 2, 3 at 6, 4, 2.
    void FadeSightEdges();
    void SetSightMode(int on) { m_sightMode = on; }
    int GetSightMode() const { return m_sightMode; }
    // The sight table: every offset with dx^2 + dy^2 <= 505, ring by ring.
    static const std::array<SightOffset, kSightOffsets>& SightTable();

    // 1: drawn; 0: Draw does nothing (a stage change in progress).
    void SetVisible(int on) { m_visible = on; }
    int IsVisible() const { return m_visible; }
    // Two diamond passes over the view; 0 when not visible, else 1.
    int Draw() override;
    // Calls f(x, y, sx, sy) for every tile the view's two diamond passes
    // cover, with the screen position of its box (tiles off the map too).
    template <class F>
    void ForEachViewTile(F&& f) const;

    // The planes. Reads outside the map's 512 x 512 give 0.
    uint8_t GetCellFlags(int x, int y) const;
    void SetCellFlags(int x, int y, uint8_t flags);
    uint16_t GetImage(int x, int y) const;
    uint8_t GetTileSetIndex(int x, int y) const;
    uint8_t GetArea(int x, int y) const;
    uint8_t GetSight(int x, int y) const;
    void SetSight(int x, int y, uint8_t value);
    // Tile-set slot i (null when empty or out of range) and its name.
    CTileSet* GetSlot(int i) const;
    std::string_view GetTileName(int i) const;
    int GetMapWidth() const { return m_mapWidth; }
    int GetMapHeight() const { return m_mapHeight; }
    // Inside the loaded map (0..W-1, 0..H-1).
    bool IsOnMap(int x, int y) const { return InMap(x, y) && x < m_mapWidth && y < m_mapHeight; }

    void SetObjLayer(CObjLayer* layer) { m_pObjLayer = layer; }
    CObjLayer* GetObjLayer() const { return m_pObjLayer; }
    int GetViewLeft() const { return m_viewLeft; }
    int GetViewTop() const { return m_viewTop; }
    int GetViewRight() const { return m_viewRight; }
    int GetViewBottom() const { return m_viewBottom; }

private:
    // The flag, tile-set and image planes, the slots and the names.
    void ClearPlanes();
    template <class F>
    void ViewPass(int tx, int ty, F& f) const;
    void DrawCell(int x, int y, int sx, int sy, uint8_t* bits);
    // The window grown by k, clipped to the map; false when nothing is left.
    bool GrownWindow(int k, int& x0, int& y0, int& x1, int& y1) const;

    std::array<std::array<char, kNameSize>, kTileSlots> m_tileNames{};
    std::array<CTileSet*, kTileSlots> m_slots{};
    std::array<uint8_t, kMapCellCount> m_flags{};
    std::array<uint16_t, kMapCellCount> m_image{};
    std::array<uint8_t, kMapCellCount> m_tileSet{};
    std::array<uint8_t, kMapCellCount> m_area{};
    std::array<uint8_t, kMapCellCount> m_sight{};
    CObjLayer* m_pObjLayer = nullptr;
    int32_t m_viewHeight = 0;
    int32_t m_viewWidth = 0;
    int32_t m_boundX0 = 0, m_boundY0 = 0, m_boundX1 = 0, m_boundY1 = 0;
    int32_t m_mapWidth = 0;
    int32_t m_mapHeight = 0;
    int32_t m_viewLeft = 0, m_viewTop = 0, m_viewRight = 0, m_viewBottom = 0;
    int32_t m_mapCentreX = 0, m_mapCentreY = 0;
    int32_t m_parallaxOn = 0;
    int32_t m_parallaxDivisor = 1;
    int32_t m_parallaxMultiplier = 1;
    int32_t m_scrollX = -1000, m_scrollY = -1000;
    int32_t m_cameraTileX = 0, m_cameraTileY = 0;
    int32_t m_visible = 1;
    int32_t m_sightMode = 0;
    int32_t m_sightX0 = 0, m_sightY0 = 0, m_sightX1 = 0, m_sightY1 = 0;
    int32_t m_clipLeft = 0, m_clipTop = 0, m_clipRight = 800, m_clipBottom = kViewBottom;
    std::vector<std::unique_ptr<CTileSet>> m_tileSets;
    CLayer* m_pSurfaceOwner;
};

template <class F>
void CBGLayer::ViewPass(int tx, int ty, F& f) const
{
    int sx0 = 0, sy0 = 0;
    TileToScreen(tx, ty, sx0, sy0);
    for (int j = 0;; ++j) {
        const int64_t sy = static_cast<int64_t>(sy0) + m_viewTop + static_cast<int64_t>(kTileHeight) * j;
        if (sy >= m_viewBottom)
            break;
        for (int i = 0;; ++i) {
            const int64_t sx = static_cast<int64_t>(sx0) + m_viewLeft + static_cast<int64_t>(kTileWidth) * i;
            if (sx >= m_viewRight)
                break;
            f(tx + j + i, ty + j - i, static_cast<int>(sx), static_cast<int>(sy));
        }
    }
}

template <class F>
void CBGLayer::ForEachViewTile(F&& f) const
{
    int tx = 0, ty = 0;
    PixelToTile(m_scrollX, m_scrollY, tx, ty);
    ViewPass(tx, ty, f);
    // The tiles between: the origin tile's neighbour on the side the scroll
    // origin lies towards.
    int sx0 = 0, sy0 = 0;
    TileToScreen(tx, ty, sx0, sy0);
    const int64_t a = ((16384 - static_cast<int64_t>(sy0)) % kTileHeight + kTileHeight) % kTileHeight;
    const int64_t b = ((32768 - static_cast<int64_t>(sx0)) % kTileWidth + kTileWidth) % kTileWidth;
    if (a < 16)
        (b < 32) ? --tx : --ty;
    else
        (b < 32) ? ++ty : ++tx;
    ViewPass(tx, ty, f);
}
