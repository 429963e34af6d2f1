#include "world/BGLayer.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "app/FrameClock.h"
#include "core/Blit.h"
#include "core/ByteReader.h"
#include "core/PaletteManager.h"
#include "core/TileSet.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/MapFileBuilder.h"
#include "fixtures/PalBuilder.h"
#include "fixtures/TileFileBuilder.h"
#include "platform/headless/HeadlessPlatform.h"

namespace {

// A surface owner whose bits are a plain 800 x 600 buffer.
class CTestSurface : public CLayer {
public:
    CTestSurface() : pixels(800 * 600, kUntouched) { m_pBits = pixels.data(); }
    uint8_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)]; }
    static constexpr uint8_t kUntouched = 77;
    std::vector<uint8_t> pixels;
};

int ReadMapBytes(CBGLayer& bg, const Bytes& bytes)
{
    CByteReader r(bytes.data(), bytes.size());
    return bg.ReadMap(r);
}

// The box of a tile's diamond holds the pixel.
bool TileHolds(int tx, int ty, int px, int py)
{
    int bx = 0, by = 0;
    CBGLayer::TileToPixel(tx, ty, bx, by);
    return CTileFileBuilder::DiamondHolds(px - bx, py - by);
}

bool AllCellsZero(const CBGLayer& bg)
{
    for (int y = 0; y < kMapSize; y += 7)
        for (int x = 0; x < kMapSize; x += 5)
            if (bg.GetCellFlags(x, y) || bg.GetImage(x, y) || bg.GetTileSetIndex(x, y) || bg.GetArea(x, y))
                return false;
    return bg.GetMapWidth() == 0 && bg.GetMapHeight() == 0 && bg.GetSlot(0) == nullptr;
}

}  // namespace

TEST(TileCoordinates, EveryPixelBelongsToTheTileWhoseDiamondHoldsIt)
{
    // The listed corners of the mouse map.
    const struct {
        int px, py, tx, ty;
    } points[] = {{0, 0, 0, 0}, {32, 0, 0, -1}, {0, 16, 0, 0}, {63, 15, 1, -1}, {32, 31, 1, 0}, {-1, -1, -1, 0}};
    for (const auto& p : points) {
        int tx = 99, ty = 99;
        CBGLayer::PixelToTile(p.px, p.py, tx, ty);
        EXPECT_EQ(std::make_pair(tx, ty), std::make_pair(p.tx, p.ty)) << p.px << "," << p.py;
    }
    int px = 0, py = 0;
    CBGLayer::TileToPixel(0, 0, px, py);
    EXPECT_EQ(std::make_pair(px, py), std::make_pair(-32, 0));
    CBGLayer::TileToPixel(10, 10, px, py);
    EXPECT_EQ(std::make_pair(px + 32, py + 16), std::make_pair(0, 336)) << "the centre of (10, 10)";

    // Every pixel of one block exactly, then random ones far and negative.
    std::mt19937 rng(15);
    std::uniform_int_distribution<int> coord(-40000, 40000);
    for (int i = 0; i < 64 * 32 + 20000; ++i) {
        const int x = i < 64 * 32 ? i % 64 : coord(rng);
        const int y = i < 64 * 32 ? i / 64 : coord(rng);
        int tx = 0, ty = 0;
        CBGLayer::PixelToTile(x, y, tx, ty);
        ASSERT_TRUE(TileHolds(tx, ty, x, y)) << x << "," << y << " -> " << tx << "," << ty;
        // And no neighbour's diamond holds it too.
        for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
            ASSERT_FALSE(TileHolds(tx + dx, ty + dy, x, y)) << x << "," << y;
    }
}

namespace {

const std::string kLongName = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";  // 32 bytes, no NUL

// An archive with two tile files and a map layer that has read them.
class GroundTest : public testing::Test {
protected:
    static CArchiveBuilder Archive()
    {
        CArchiveBuilder b;
        b.Add("GRASS1.TLE", CTileFileBuilder("GRASS1").Diamond(10).Diamond(20).Diamond(30).Build());
        b.Add("LONG.TLE", CTileFileBuilder(kLongName).Diamond(40).Build());
        b.Add("BADMAGIC.TLE", CTileFileBuilder("x").Magic("TLF").Diamond(1).Build());
        b.Add("V255.TLE", CTileFileBuilder("x").Version(255).Diamond(1).Build());
        b.Add("NEGATIVE.TLE", CTileFileBuilder("x").Count(-1).Diamond(1).Build());
        Bytes cut = CTileFileBuilder("x").Diamond(1).Build();
        cut.resize(cut.size() - 3);
        b.Add("CUT.TLE", cut);
        b.Add("SHORT.TLE", Bytes(19, 'T'));
        return b;
    }
    void SetUp() override
    {
        ASSERT_EQ(bg->LoadTileFile("data\\GRASS1.TLE"), 0);
        ASSERT_EQ(bg->LoadTileFile("data\\LONG.TLE"), 0);
    }

    plat::CHeadlessPlatform platform;
    CTestArchive archive{Archive()};
    CTestSurface surface;
    std::unique_ptr<CBGLayer> bg = std::make_unique<CBGLayer>(&surface);
};

}  // namespace

TEST_F(GroundTest, TileFileHeadersAreCheckedAndARefusedFileLeavesTheList)
{
    EXPECT_EQ(bg->GetTileSetCount(), 2);
    for (const char* name : {"BADMAGIC.TLE", "V255.TLE", "NEGATIVE.TLE", "CUT.TLE", "SHORT.TLE", "MISSING.TLE"}) {
        EXPECT_EQ(bg->LoadTileFile(name), -1) << name;
        EXPECT_EQ(bg->GetTileSetCount(), 2) << name;
    }
    EXPECT_EQ(platform.dialogs.boxes.size(), 1u) << "only the missing entry is reported by the archive";
    EXPECT_NE(bg->FindTileSet("GRASS1"), nullptr);
    EXPECT_EQ(bg->FindTileSet("grass1"), nullptr) << "names compare exactly";
    EXPECT_NE(bg->FindTileSet(kLongName + "tail"), nullptr) << "compared within 32 bytes";
    EXPECT_EQ(bg->FreeTileSets(), 0);
    EXPECT_EQ(bg->FindTileSet("GRASS1"), nullptr);
}

TEST_F(GroundTest, RowsLandAtRowStartsAndGroundBecomesDrawn)
{
    CMapFileBuilder m(3, 2);
    m.TileName(0, "GRASS1").TileName(1, kLongName).TileName(2, "NOSUCH");
    m.Cell(0, 0, 1, 0, 2, 0x12).Cell(2, 0, 2, 1, 0x1234, 0x34).Cell(1, 1, 3, 2, 7, 0xFF).Cell(2, 1, 0, 0, 1, 0);
    const Bytes planes = m.Planes();
    Bytes file = m.Build();
    CByteReader r(file.data(), file.size());
    ASSERT_EQ(bg->ReadMap(r), 0);
    EXPECT_EQ(r.Pos(), planes.size()) << "left at the object section";
    EXPECT_EQ(bg->GetMapWidth(), 3);
    EXPECT_EQ(bg->GetMapHeight(), 2);
    const struct {
        int x, y;
        uint8_t flags, set;
        uint16_t image;
        uint8_t area;
    } cells[] = {
        {0, 0, 17, 0, 2, 0x12},      {1, 0, 0, 0, 0, 0},   {2, 0, 2, 1, 0x1234, 0x34}, {0, 1, 0, 0, 0, 0},
        {1, 1, 19, 2, 7, 0xFF},      {2, 1, 0, 0, 1, 0},   {3, 0, 0, 0, 0, 0},         {0, 2, 0, 0, 0, 0},
        {511, 511, 0, 0, 0, 0},
    };
    for (const auto& c : cells) {
        EXPECT_EQ(bg->GetCellFlags(c.x, c.y), c.flags) << c.x << "," << c.y;
        EXPECT_EQ(bg->GetTileSetIndex(c.x, c.y), c.set) << c.x << "," << c.y;
        EXPECT_EQ(bg->GetImage(c.x, c.y), c.image) << c.x << "," << c.y;
        EXPECT_EQ(bg->GetArea(c.x, c.y), c.area) << c.x << "," << c.y;
    }
    ASSERT_NE(bg->GetSlot(0), nullptr);
    EXPECT_EQ(bg->GetSlot(0), bg->FindTileSet("GRASS1"));
    ASSERT_NE(bg->GetSlot(1), nullptr);
    EXPECT_EQ(bg->GetSlot(1), bg->FindTileSet(kLongName)) << "a full 32-byte name";
    EXPECT_EQ(bg->GetSlot(2), nullptr) << "no tile set of that name";
    EXPECT_EQ(bg->GetSlot(3), nullptr) << "an empty slot";
    EXPECT_EQ(bg->GetTileName(1), kLongName);
}

TEST_F(GroundTest, BadSizesAndEveryTruncationAreRefusedWithNothingLeft)
{
    CMapFileBuilder good(3, 2);
    good.TileName(0, "GRASS1").Fill(1, 0, 1);
    const Bytes planes = good.Planes();
    for (auto [w, h] : {std::pair{0, 2}, {3, 0}, {-1, 2}, {3, -1}, {513, 1}, {600, 2}, {1, 100000}}) {
        ASSERT_EQ(ReadMapBytes(*bg, planes), 0);
        CMapFileBuilder bad(3, 2);
        bad.Fill(1, 0, 1).DeclaredSize(w, h);
        EXPECT_EQ(ReadMapBytes(*bg, bad.Build()), -1) << w << " x " << h;
        EXPECT_TRUE(AllCellsZero(*bg)) << w << " x " << h;
    }
    // Every cut in the header and the planes, and a sample of the names.
    for (size_t cut = 0; cut < planes.size(); cut += (cut >= 28 && cut < CBGLayer::kPlanesStart) ? 97 : 1) {
        ASSERT_EQ(ReadMapBytes(*bg, planes), 0);
        const Bytes shortFile(planes.begin(), planes.begin() + static_cast<long>(cut));
        ASSERT_EQ(ReadMapBytes(*bg, shortFile), -1) << cut;
        ASSERT_TRUE(AllCellsZero(*bg)) << cut;
    }
}

TEST(SightTable, EveryOffsetOnceRingByRing)
{
    const auto& table = CBGLayer::SightTable();
    const int limits[] = {0, 1, 5, 10, 18, 29, 41, 53, 68, 90, 109, 130, 153, 180, 208, 234, 272, 306, 340, 377, 416, 461, 505};
    std::set<std::pair<int, int>> seen;
    std::vector<int> ringSize(23, 0);
    int lastRing = 0;
    for (const SightOffset& o : table) {
        const int d = o.dx * o.dx + o.dy * o.dy;
        ASSERT_LE(d, limits[o.ring]);
        ASSERT_GT(d, o.ring == 0 ? -1 : limits[o.ring - 1]);
        ASSERT_GE(o.ring, lastRing) << "grouped by ring";
        lastRing = o.ring;
        seen.insert({o.dx, o.dy});
        ++ringSize[o.ring];
    }
    EXPECT_EQ(seen.size(), 1597u);
    EXPECT_EQ(std::vector<int>(ringSize.begin(), ringSize.begin() + 4), (std::vector<int>{1, 4, 16, 16}));
    int inside = 0;
    for (int dy = -23; dy <= 23; ++dy)
        for (int dx = -23; dx <= 23; ++dx)
            inside += dx * dx + dy * dy <= 505;
    EXPECT_EQ(inside, 1597);
}

TEST_F(GroundTest, MarkSightLightsRingsInsideTheGrownWindowOnly)
{
    CMapFileBuilder m(200, 200);
    ASSERT_EQ(ReadMapBytes(*bg, m.Planes()), 0);
    auto ringOf = [](int dx, int dy) {
        for (const SightOffset& o : CBGLayer::SightTable())
            if (o.dx == dx && o.dy == dy)
                return static_cast<int>(o.ring);
        return 99;
    };
    // radius 0: rings 0..3 get 4, 3, 2, 1; radius 6: rings 0..2 full.
    for (auto [radius, expect] : {std::pair{0, std::vector<int>{4, 3, 2, 1, 0}}, {6, {8, 8, 8, 7, 6, 5, 4, 3, 2, 1, 0}}}) {
        bg->SetSightWindow(80, 80, 120, 120);
        bg->MarkSight(100, 100, radius);
        for (int dy = -12; dy <= 12; ++dy)
            for (int dx = -12; dx <= 12; ++dx) {
                const int ring = ringOf(dx, dy);
                const int want = ring < static_cast<int>(expect.size()) ? expect[static_cast<size_t>(ring)] : 0;
                ASSERT_EQ(bg->GetSight(100 + dx, 100 + dy), want) << radius << ": " << dx << "," << dy;
            }
    }
    // A radius beyond 19 lights what 19 does; nothing outside the window + 3.
    bg->SetSightWindow(10, 10, 12, 12);
    bg->MarkSight(11, 11, 30);
    std::vector<uint8_t> clamped;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            clamped.push_back(bg->GetSight(x, y));
            const bool inside = x >= 7 && x <= 15 && y >= 7 && y <= 15;
            ASSERT_EQ(bg->GetSight(x, y), inside ? 8 : 0) << x << "," << y;
        }
    bg->SetSightWindow(10, 10, 12, 12);
    bg->MarkSight(11, 11, 19);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(bg->GetSight(x, y), clamped[static_cast<size_t>(y * 40 + x)]);
    // The edges fade to 6, 4, 2 from the window outwards.
    bg->FadeSightEdges();
    EXPECT_EQ(bg->GetSight(11, 11), 8);
    EXPECT_EQ(bg->GetSight(9, 11), 6);
    EXPECT_EQ(bg->GetSight(11, 14), 4);
    EXPECT_EQ(bg->GetSight(7, 7), 2);
    bg->ClearSightAroundWindow();
    EXPECT_EQ(bg->GetSight(7, 15), 0);
    EXPECT_EQ(bg->GetSight(11, 11), 0);
}

TEST_F(GroundTest, SightWritesAtTheMapCornerStayOnTheMap)
{
    CMapFileBuilder m(4, 4);
    ASSERT_EQ(ReadMapBytes(*bg, m.Planes()), 0);
    bg->SetSightWindow(-16, -16, 1, 1);
    bg->MarkSight(0, 0, 22);
    bg->FadeSightEdges();
    bg->SetSight(3, 3, 8);
    bg->FadeSightEdges();
    EXPECT_EQ(bg->GetSight(0, 0), 8);
    EXPECT_EQ(bg->GetSight(3, 3), 4) << "capped on the border of the window grown by 2";
    EXPECT_EQ(bg->GetSight(4, 0), 0) << "beyond the map's width";
    bg->ClearSightAroundWindow();
    EXPECT_EQ(bg->GetSight(0, 0), 0);
}

namespace {

// The screen pixel at the centre of tile (x, y).
std::pair<int, int> TileCentre(const CBGLayer& bg, int x, int y)
{
    int sx = 0, sy = 0;
    bg.TileToScreen(x, y, sx, sy);
    return {sx + 32, sy + 16};
}

}  // namespace

TEST_F(GroundTest, DrawShowsGroundBlackDiamondsOffTheMapAndDarkensBySight)
{
    auto palette = std::make_unique<CPaletteManager>(nullptr);
    const Bytes pal = BuildPalFile(TestPalette());
    ASSERT_EQ(palette->ReadPalette(pal.data(), pal.size()), 1);
    palette->BuildShadeTables();
    g_pPalette = palette.get();

    CMapFileBuilder m(4, 4);
    m.TileName(0, "GRASS1").Fill(1, 0, 0);
    m.Cell(1, 1, 1, 0, 1).Cell(2, 1, 2, 0, 2).Cell(3, 3, 1, 0, 9).Cell(0, 3, 1, 7, 0);
    ASSERT_EQ(ReadMapBytes(*bg, m.Planes()), 0);
    int cx = 0, cy = 0;
    CBGLayer::TileToPixel(2, 2, cx, cy);
    bg->Draw();  // sets the view (0, 0, 800, 448)
    bg->ScrollTo(cx + 32, cy + 16);
    ResetBlitContexts();

    struct Case {
        int x, y;
        uint8_t colour;
    };
    const Case plain[] = {
        {0, 0, 10}, {1, 1, 20}, {2, 2, 10},
        {2, 1, CTestSurface::kUntouched},  // ground flag without 1: not drawn
        {3, 3, CTestSurface::kUntouched},  // no image 9 in the set
        {0, 3, CTestSurface::kUntouched},  // no tile set in slot 7
        {4, 0, 0}, {-1, 2, 0}, {5, 5, 0},  // off the map: black
    };
    surface.pixels.assign(surface.pixels.size(), CTestSurface::kUntouched);
    ASSERT_EQ(bg->Draw(), 1);
    for (const Case& c : plain) {
        auto [sx, sy] = TileCentre(*bg, c.x, c.y);
        EXPECT_EQ(surface.At(sx, sy), c.colour) << c.x << "," << c.y;
        EXPECT_EQ(surface.At(sx - 30, sy), c.colour) << c.x << "," << c.y << " left corner";
    }
    // Nothing of the view is left undrawn around the map.
    for (int sy = 0; sy < 448; sy += 4)
        for (int sx = 0; sx < 800; sx += 4) {
            int tx = 0, ty = 0;
            bg->ScreenToTile(sx, sy, tx, ty);
            if (!bg->IsOnMap(tx, ty)) {
                ASSERT_EQ(surface.At(sx, sy), 0) << sx << "," << sy;
            }
        }
    EXPECT_EQ(surface.At(400, 500), CTestSurface::kUntouched) << "below the view";

    // Sight mode: 0 black, 1..7 through the shade table, 8 plain.
    bg->SetSightMode(1);
    bg->SetSightWindow(0, 0, 3, 3);
    bg->SetSight(0, 0, 0);
    bg->SetSight(1, 1, 3);
    bg->SetSight(2, 2, 8);
    surface.pixels.assign(surface.pixels.size(), CTestSurface::kUntouched);
    bg->Draw();
    const Case sighted[] = {{0, 0, 0}, {1, 1, palette->GetShadeTable(3)[20]}, {2, 2, 10}};
    for (const Case& c : sighted) {
        auto [sx, sy] = TileCentre(*bg, c.x, c.y);
        EXPECT_EQ(surface.At(sx, sy), c.colour) << c.x << "," << c.y;
    }
    EXPECT_NE(palette->GetShadeTable(3)[20], 20) << "the shade changes the colour";

    // A skipped frame and a hidden layer draw nothing.
    surface.pixels.assign(surface.pixels.size(), CTestSurface::kUntouched);
    g_frameNotPresented = 1;
    EXPECT_EQ(bg->Draw(), 1);
    g_frameNotPresented = 0;
    bg->SetVisible(0);
    EXPECT_EQ(bg->Draw(), 0);
    EXPECT_EQ(std::count(surface.pixels.begin(), surface.pixels.end(), CTestSurface::kUntouched),
              static_cast<long>(surface.pixels.size()));
    g_pPalette = nullptr;
    ResetBlitContexts();
}
