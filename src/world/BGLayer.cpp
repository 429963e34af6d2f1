#include "world/BGLayer.h"

#include <algorithm>
#include <cstring>

#include "app/FrameClock.h"
#include "core/Blit.h"
#include "core/ByteReader.h"
#include "core/PaletteManager.h"
#include "core/ResFile.h"
#include "core/SpriteEntry.h"
#include "core/TextLayer.h"
#include "core/TileSet.h"
#include "ui/FieldView.h"
#include "world/ObjLayer.h"
#include "world/SlotText.h"

namespace {

// Floor division and the matching remainder (0..d-1) for d > 0.
int FloorDiv(int v, int d)
{
    const int q = v / d;
    return (v % d != 0 && v < 0) ? q - 1 : q;
}
int FloorMod(int v, int d) { return static_cast<int>(static_cast<int64_t>(v) - static_cast<int64_t>(FloorDiv(v, d)) * d); }

constexpr std::array<int, CBGLayer::kSightRings> kRingLimit = {
    0, 1, 5, 10, 18, 29, 41, 53, 68, 90, 109, 130, 153, 180, 208, 234, 272, 306, 340, 377, 416, 461, 505};
constexpr int kSightReach = 22;  // 22^2 <= 505 < 23^2

template <class Visit>
constexpr void ForEachSightOffset(Visit visit)
{
    for (int ring = 0; ring < CBGLayer::kSightRings; ++ring) {
        const int lo = ring == 0 ? -1 : kRingLimit[static_cast<size_t>(ring - 1)];
        const int hi = kRingLimit[static_cast<size_t>(ring)];
        for (int dy = -kSightReach; dy <= kSightReach; ++dy)
            for (int dx = -kSightReach; dx <= kSightReach; ++dx) {
                const int d = dx * dx + dy * dy;
                if (d > lo && d <= hi)
                    visit(dx, dy, ring);
            }
    }
}

constexpr int CountSightOffsets()
{
    int n = 0;
    ForEachSightOffset([&n](int, int, int) { ++n; });
    return n;
}
static_assert(CountSightOffsets() == CBGLayer::kSightOffsets);

constexpr std::array<SightOffset, CBGLayer::kSightOffsets> BuildSightTable()
{
    std::array<SightOffset, CBGLayer::kSightOffsets> table{};
    size_t n = 0;
    ForEachSightOffset([&](int dx, int dy, int ring) {
        table[n++] = SightOffset{static_cast<int8_t>(dx), static_cast<int8_t>(dy), static_cast<uint8_t>(ring)};
    });
    return table;
}
constexpr std::array<SightOffset, CBGLayer::kSightOffsets> kSightTable = BuildSightTable();

// Pixels of diamond row r (0..30): columns 32 - 2k .. 32 + 2k - 1 of the
// 64-pixel box.
constexpr int DiamondHalf(int r) { return 2 * (r < 16 ? r + 1 : 31 - r); }

// The black diamond drawn where the view leaves the map: an RLE frame 64
// wide and 31 rows high, all colour 0.
std::vector<uint8_t> BuildBlackDiamond()
{
    std::vector<uint8_t> f;
    auto u32 = [&f](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            f.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    u32(CBGLayer::kTileWidth);
    u32(CBGLayer::kTileHeight - 1);
    for (int r = 0; r < CBGLayer::kTileHeight - 1; ++r) {
        const int half = DiamondHalf(r);
        f.push_back(static_cast<uint8_t>(32 - half));
        f.push_back(static_cast<uint8_t>(2 * half));
        f.insert(f.end(), static_cast<size_t>(2 * half), 0);
        f.push_back(0);
    }
    return f;
}

const std::vector<uint8_t>& BlackDiamond()
{
    static const std::vector<uint8_t> frame = BuildBlackDiamond();
    return frame;
}

}  // namespace

CBGLayer::CBGLayer(CLayer* surfaceOwner) : m_pSurfaceOwner(surfaceOwner)
{
    m_tileSets.reserve(10);
    Reset();
}

CBGLayer::~CBGLayer() = default;

void CBGLayer::Reset()
{
    m_scrollX = -1000;
    m_scrollY = -1000;
    m_parallaxOn = 0;
    m_parallaxMultiplier = 1;
    m_parallaxDivisor = 1;
    SetViewRect(0, 0, 0, 0);
    ClearPlanes();
    m_clipLeft = 0;
    m_clipTop = 0;
    m_clipRight = 800;
    m_clipBottom = kViewBottom;
}

void CBGLayer::ClearPlanes()
{
    m_flags.fill(0);
    m_tileSet.fill(0);
    m_image.fill(0);
    m_slots.fill(nullptr);
    for (auto& name : m_tileNames)
        name.fill(0);
}

void CBGLayer::ClearMap()
{
    ClearPlanes();
    m_area.fill(0);
    m_mapWidth = 0;
    m_mapHeight = 0;
    SetMapBounds(0, 0, 0, 0);
}

void CBGLayer::SetViewRect(int left, int top, int right, int bottom)
{
    m_viewLeft = left;
    m_viewTop = top;
    m_viewRight = right;
    m_viewBottom = bottom;
    m_viewWidth = right - left;
    m_viewHeight = bottom - top;
}

void CBGLayer::SetMapBounds(int x0, int y0, int x1, int y1)
{
    m_boundX0 = x0;
    m_boundY0 = y0;
    m_boundX1 = x1;
    m_boundY1 = y1;
    int px0 = 0, py0 = 0, px1 = 0, py1 = 0;
    TileToPixel(x0, y0, px0, py0);
    TileToPixel(x1, y1, px1, py1);
    m_mapCentreX = (px1 - px0) / 2;
    m_mapCentreY = (py1 - py0) / 2;
}

// ---- files -----------------------------------------------------------------

int CBGLayer::LoadTileFile(const char* file)
{
    std::vector<uint8_t> bytes;
    try {
        CRFile f(file, CRFile::modeRead);
        long start = 0;
        if (!ReadSpriteRest(f, bytes, start))
            return -1;
    } catch (CRFileException& e) {
        e.ReportError();
        return -1;
    }
    CByteReader r(bytes.data(), bytes.size());
    if (bytes.size() < CTileSet::kFileHeader || std::memcmp(bytes.data(), "TLE", 3) != 0)
        return -1;
    r.Seek(4);
    const uint32_t version = r.U32();
    const int32_t count = r.I32();
    if (version != 256 || count < 0 || !r.Seek(CTileSet::kFileHeader))
        return -1;
    auto set = std::make_unique<CTileSet>();
    if (set->Read(r) != 0)
        return -1;
    m_tileSets.push_back(std::move(set));
    return 0;
}

int CBGLayer::FreeTileSets()
{
    m_slots.fill(nullptr);
    m_tileSets.clear();
    return 0;
}

CTileSet* CBGLayer::FindTileSet(std::string_view name) const
{
    const std::string_view want = SlotText(name.data(), std::min(name.size(), kNameSize));
    for (const auto& set : m_tileSets)
        if (set->GetName() == want)
            return set.get();
    return nullptr;
}

int CBGLayer::LoadMap(CRFile& file)
{
    std::vector<uint8_t> bytes;
    long start = 0;
    if (!ReadSpriteRest(file, bytes, start)) {
        ClearMap();
        return -1;
    }
    CByteReader r(bytes.data(), bytes.size());
    if (ReadMap(r) != 0)
        return -1;
    file.Seek(start + static_cast<long>(r.Pos()), 0);
    return 0;
}

int CBGLayer::ReadMap(CByteReader& r)
{
    ClearMap();
    r.Skip(kMapHeader);
    const int32_t w = r.I32();
    const int32_t h = r.I32();
    if (!r.Ok() || w < 1 || w > kMapSize || h < 1 || h > kMapSize) {
        ClearMap();
        return -1;
    }
    const size_t cells = static_cast<size_t>(w) * static_cast<size_t>(h);
    if (r.Remaining() < kTileSlots * kNameSize + 5 * cells) {
        ClearMap();
        return -1;
    }
    for (auto& name : m_tileNames)
        r.Bytes(name.data(), name.size());
    const size_t rowBytes = static_cast<size_t>(w);
    for (int y = 0; y < h; ++y)
        r.Bytes(&m_flags[CellIndex(0, y)], rowBytes);
    for (int y = 0; y < h; ++y)
        r.Bytes(&m_tileSet[CellIndex(0, y)], rowBytes);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            m_image[CellIndex(x, y)] = r.U16();
    for (int y = 0; y < h; ++y)
        r.Bytes(&m_area[CellIndex(0, y)], rowBytes);
    if (!r.Ok()) {
        ClearMap();
        return -1;
    }
    m_mapWidth = w;
    m_mapHeight = h;
    SetMapBounds(0, 0, w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t& f = m_flags[CellIndex(x, y)];
            if (f & kFlagGround)
                f |= kFlagDrawn;
        }
    for (int i = 0; i < kTileSlots; ++i) {
        const auto& name = m_tileNames[static_cast<size_t>(i)];
        if (name[0] != '\0')
            m_slots[static_cast<size_t>(i)] = FindTileSet(std::string_view(name.data(), name.size()));
    }
    return 0;
}

// ---- coordinates -------------------------------------------------------------

void CBGLayer::TileToPixel(int x, int y, int& px, int& py)
{
    px = static_cast<int>((static_cast<int64_t>(x) - y) * 32 - 32);
    py = static_cast<int>((static_cast<int64_t>(x) + y) * 16);
}

void CBGLayer::TileToScreen(int x, int y, int& sx, int& sy) const
{
    int px = 0, py = 0;
    TileToPixel(x, y, px, py);
    WorldToScreen(px, py, sx, sy);
}

void CBGLayer::WorldToScreen(int px, int py, int& sx, int& sy) const
{
    sx = static_cast<int>(static_cast<int64_t>(px) - m_scrollX);
    sy = static_cast<int>(static_cast<int64_t>(py) - m_scrollY);
}

void CBGLayer::ScreenToWorld(int sx, int sy, int& px, int& py) const
{
    px = static_cast<int>(static_cast<int64_t>(sx) + m_scrollX);
    py = static_cast<int>(static_cast<int64_t>(sy) + m_scrollY);
}

void CBGLayer::PixelToTile(int px, int py, int& x, int& y)
{
    const int bx = FloorDiv(px, kTileWidth);
    const int by = FloorDiv(py, kTileHeight);
    const int c = FloorMod(px, kTileWidth);
    const int r = FloorMod(py, kTileHeight);
    // The mouse map: the left diamond, the right one, and the top or the
    // bottom one between them.
    const int half = DiamondHalf(r);
    int dx = 0, dy = 0;
    if (c < half) {
        dx = 0;
        dy = 0;
    } else if (c >= kTileWidth - half) {
        dx = 1;
        dy = -1;
    } else if (r < 16) {
        dx = 0;
        dy = -1;
    } else {
        dx = 1;
        dy = 0;
    }
    x = by + bx + dx;
    y = by - bx + dy;
}

void CBGLayer::ScreenToTile(int sx, int sy, int& x, int& y) const
{
    int px = 0, py = 0;
    ScreenToWorld(sx, sy, px, py);
    PixelToTile(px, py, x, y);
}

void CBGLayer::GetViewCentre(int& px, int& py) const
{
    px = m_scrollX + m_viewWidth / 2;
    py = m_scrollY + m_viewHeight / 2;
}

void CBGLayer::ScrollTo(int px, int py)
{
    int64_t ox = static_cast<int64_t>(px) - m_viewWidth / 2;
    int64_t oy = static_cast<int64_t>(py) - m_viewHeight / 2;
    if (m_parallaxOn && m_parallaxDivisor != 0) {
        ox -= (static_cast<int64_t>(px) - m_mapCentreX) * m_parallaxMultiplier / m_parallaxDivisor;
        oy -= (static_cast<int64_t>(py) - m_mapCentreY) * m_parallaxMultiplier / m_parallaxDivisor;
    }
    m_scrollX = static_cast<int32_t>(ox);
    m_scrollY = static_cast<int32_t>(oy);
    PixelToTile(m_scrollX, m_scrollY, m_cameraTileX, m_cameraTileY);
}

void CBGLayer::SetParallax(int multiplier, int divisor)
{
    m_parallaxOn = 1;
    m_parallaxMultiplier = multiplier;
    m_parallaxDivisor = divisor;
}

// ---- the sight map -------------------------------------------------------------

const std::array<SightOffset, CBGLayer::kSightOffsets>& CBGLayer::SightTable()
{
    return kSightTable;
}

void CBGLayer::SetSightWindow(int x0, int y0, int x1, int y1)
{
    m_sightX0 = x0;
    m_sightY0 = y0;
    m_sightX1 = x1;
    m_sightY1 = y1;
    m_sight.fill(0);
}

bool CBGLayer::GrownWindow(int k, int& x0, int& y0, int& x1, int& y1) const
{
    x0 = static_cast<int>(std::max<int64_t>(static_cast<int64_t>(m_sightX0) - k, 0));
    y0 = static_cast<int>(std::max<int64_t>(static_cast<int64_t>(m_sightY0) - k, 0));
    x1 = static_cast<int>(std::min<int64_t>(static_cast<int64_t>(m_sightX1) + k, m_mapWidth - 1));
    y1 = static_cast<int>(std::min<int64_t>(static_cast<int64_t>(m_sightY1) + k, m_mapHeight - 1));
    return x0 <= x1 && y0 <= y1;
}

void CBGLayer::ClearSightAroundWindow()
{
    int x0, y0, x1, y1;
    if (!GrownWindow(3, x0, y0, x1, y1))
        return;
    for (int y = y0; y <= y1; ++y)
        std::fill_n(&m_sight[CellIndex(x0, y)], x1 - x0 + 1, 0);
}

void CBGLayer::MarkSight(int x, int y, int radius)
{
    int x0, y0, x1, y1;
    if (!GrownWindow(3, x0, y0, x1, y1))
        return;
    const int strength = std::clamp(radius, 0, kMaxSightRadius) + 4;
    for (const SightOffset& o : kSightTable) {
        if (o.ring >= strength)
            break;
        const int64_t cx = static_cast<int64_t>(x) + o.dx;
        const int64_t cy = static_cast<int64_t>(y) + o.dy;
        if (cx < x0 || cx > x1 || cy < y0 || cy > y1)
            continue;
        const uint8_t value = static_cast<uint8_t>(std::min(strength - o.ring, static_cast<int>(kFullSight)));
        uint8_t& cell = m_sight[CellIndex(static_cast<int>(cx), static_cast<int>(cy))];
        cell = std::max(cell, value);
    }
}

void CBGLayer::FadeSightEdges()
{
    for (int k = 1; k <= 3; ++k) {
        // The border of the window grown by k; only its cells on the map.
        const int64_t bx0 = static_cast<int64_t>(m_sightX0) - k, by0 = static_cast<int64_t>(m_sightY0) - k;
        const int64_t bx1 = static_cast<int64_t>(m_sightX1) + k, by1 = static_cast<int64_t>(m_sightY1) + k;
        int x0, y0, x1, y1;
        if (!GrownWindow(k, x0, y0, x1, y1))
            continue;
        const uint8_t cap = static_cast<uint8_t>(8 - 2 * k);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                if (x != bx0 && x != bx1 && y != by0 && y != by1)
                    continue;
                uint8_t& cell = m_sight[CellIndex(x, y)];
                cell = std::min(cell, cap);
            }
    }
}

// ---- planes --------------------------------------------------------------------

uint8_t CBGLayer::GetCellFlags(int x, int y) const { return InMap(x, y) ? m_flags[CellIndex(x, y)] : 0; }

void CBGLayer::SetCellFlags(int x, int y, uint8_t flags)
{
    if (InMap(x, y))
        m_flags[CellIndex(x, y)] = flags;
}

uint16_t CBGLayer::GetImage(int x, int y) const { return InMap(x, y) ? m_image[CellIndex(x, y)] : 0; }
uint8_t CBGLayer::GetTileSetIndex(int x, int y) const { return InMap(x, y) ? m_tileSet[CellIndex(x, y)] : 0; }
uint8_t CBGLayer::GetArea(int x, int y) const { return InMap(x, y) ? m_area[CellIndex(x, y)] : 0; }
uint8_t CBGLayer::GetSight(int x, int y) const { return InMap(x, y) ? m_sight[CellIndex(x, y)] : 0; }

void CBGLayer::SetSight(int x, int y, uint8_t value)
{
    if (InMap(x, y))
        m_sight[CellIndex(x, y)] = std::min(value, kFullSight);
}

CTileSet* CBGLayer::GetSlot(int i) const
{
    return (i >= 0 && i < kTileSlots) ? m_slots[static_cast<size_t>(i)] : nullptr;
}

std::string_view CBGLayer::GetTileName(int i) const
{
    if (i < 0 || i >= kTileSlots)
        return {};
    const auto& name = m_tileNames[static_cast<size_t>(i)];
    return SlotText(name.data(), name.size());
}

// ---- drawing -------------------------------------------------------------------

int CBGLayer::Draw()
{
    if (!m_visible)
        return 0;
    uint8_t* bits = m_pSurfaceOwner ? m_pSurfaceOwner->GetBits() : nullptr;
    m_clipRight = GetFieldViewRight();
    SetViewRect(m_clipLeft, m_clipTop, m_clipRight, kViewBottom);
    if (m_pObjLayer)
        m_pObjLayer->SetViewRect(m_clipLeft, m_clipTop, m_clipRight, kViewBottom);
    if (g_pTextLayer && bits) {
        g_pTextLayer->SetTarget(bits, kScreenWidth, kScreenHeight);
        g_pTextLayer->SetColor(0);
        g_pTextLayer->SetColors(15, 255);
    }
    SetSpriteClipRect(m_clipLeft, m_clipTop, m_clipRight, m_clipBottom);
    if (g_frameNotPresented || !bits)
        return 1;

    ForEachViewTile([this, bits](int x, int y, int sx, int sy) { DrawCell(x, y, sx, sy, bits); });
    return 1;
}

void CBGLayer::DrawCell(int x, int y, int sx, int sy, uint8_t* bits)
{
    const BlitTarget target = ScreenTarget(bits);
    if (x < m_boundX0 || x >= m_boundX1 || y < m_boundY0 || y >= m_boundY1 || !InMap(x, y)) {
        const auto& diamond = BlackDiamond();
        BlitRle(sx, sy, diamond.data(), diamond.size(), target);
        return;
    }
    const size_t cell = CellIndex(x, y);
    if (!(m_flags[cell] & kFlagDrawn))
        return;
    const CTileSet* set = m_slots[m_tileSet[cell]];
    CRleImage* frame = set ? set->GetFrame(m_image[cell]) : nullptr;
    if (!frame)
        return;
    if (m_sightMode) {
        const uint8_t sight = m_sight[cell];
        if (sight == 0) {
            const auto& diamond = BlackDiamond();
            BlitRle(sx, sy, diamond.data(), diamond.size(), target);
            return;
        }
        if (sight < kFullSight && g_pPalette) {
            frame->DrawRemap(sx, sy, target, g_pPalette->GetShadeTable(sight));
            return;
        }
    }
    frame->Draw(sx, sy, target);
}
