// The field's ground: a full view of the map drawn plainly and in sight
// mode, the draw list's add and sort of a full frame, and reading a stage
// map of 512 x 512 cells. Each against a reference kernel of the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "RatioReporter.h"
#include "core/Blit.h"
#include "core/ByteReader.h"
#include "core/PaletteManager.h"
#include "core/ResFile.h"
#include "core/RleImage.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/MapFileBuilder.h"
#include "fixtures/PalBuilder.h"
#include "fixtures/RleEncoder.h"
#include "fixtures/TileFileBuilder.h"
#include "platform/headless/HeadlessPlatform.h"
#include "world/BGLayer.h"
#include "world/DrawList.h"

namespace {

constexpr int kTiles = 8;
constexpr int kDrawEntries = CDrawList::kMaxEntries;

class CBenchSurface : public CLayer {
public:
    CBenchSurface() : pixels(kScreenWidth * kScreenHeight) { m_pBits = pixels.data(); }
    std::vector<uint8_t> pixels;
};

// Textured ground diamonds, as a stage's tiles are.
TileDef GroundTile(int seed)
{
    PixelMatrix m = CTileFileBuilder::DiamondPixels(0);
    for (uint32_t y = 0; y < m.height; ++y)
        for (uint32_t x = 0; x < m.width; ++x)
            if (m.At(x, y) != 255)
                m.At(x, y) = static_cast<uint8_t>(40 + (x * 7 + y * 13 + static_cast<uint32_t>(seed) * 31) % 150);
    return TileDef{0, CRleEncoder::Encode(m)};
}

struct Fixture {
    plat::CHeadlessPlatform platform;
    std::unique_ptr<CTestArchive> archive;
    CBenchSurface surface;
    std::unique_ptr<CBGLayer> bg = std::make_unique<CBGLayer>(&surface);
    std::unique_ptr<CPaletteManager> palette = std::make_unique<CPaletteManager>(nullptr);
    Bytes mapFile;

    Fixture()
    {
        CTileFileBuilder tiles("GROUND");
        for (int i = 0; i < kTiles; ++i)
            tiles.Tile(GroundTile(i));
        CMapFileBuilder map(512, 512);
        map.TileName(0, "GROUND");
        for (int y = 0; y < 512; ++y)
            for (int x = 0; x < 512; ++x)
                map.Cell(x, y, 1, 0, static_cast<uint16_t>((x * 3 + y) % kTiles), static_cast<uint8_t>(x ^ y));
        mapFile = map.Build();
        CArchiveBuilder b;
        b.Add("GROUND.TLE", tiles.Build()).Add("1stage.map", mapFile);
        archive = std::make_unique<CTestArchive>(b);
        bg->LoadTileFile("data\\GROUND.TLE");
        CRFile file("data\\1stage.map", CRFile::modeRead);
        bg->LoadMap(file);
        const Bytes pal = BuildPalFile(TestPalette());
        palette->ReadPalette(pal.data(), pal.size());
        palette->BuildShadeTables();
        g_pPalette = palette.get();
        bg->Draw();  // the view
        int px = 0, py = 0;
        CBGLayer::TileToPixel(256, 256, px, py);
        bg->ScrollTo(px + 13, py + 5);  // not on a tile boundary
        bg->SetSightWindow(230, 230, 282, 282);
        for (int y = 230; y <= 282; ++y)
            for (int x = 230; x <= 282; ++x)
                bg->SetSight(x, y, static_cast<uint8_t>((x + y) % 9));
    }
};

Fixture& Data()
{
    static Fixture f;
    return f;
}

void BM_MapDrawFullView(benchmark::State& state)
{
    Fixture& f = Data();
    f.bg->SetSightMode(0);
    for (auto _ : state) {
        f.bg->Draw();
        benchmark::DoNotOptimize(f.surface.pixels.data());
    }
}
BENCHMARK(BM_MapDrawFullView)->Unit(benchmark::kMicrosecond);

void BM_MapDrawSightMode(benchmark::State& state)
{
    Fixture& f = Data();
    f.bg->SetSightMode(1);
    for (auto _ : state) {
        f.bg->Draw();
        benchmark::DoNotOptimize(f.surface.pixels.data());
    }
    f.bg->SetSightMode(0);
}
BENCHMARK(BM_MapDrawSightMode)->Unit(benchmark::kMicrosecond);

// Copying the view's pixels once.
void BM_ViewCopyReference(benchmark::State& state)
{
    Fixture& f = Data();
    std::vector<uint8_t> from(kScreenWidth * CBGLayer::kViewBottom, 9);
    for (auto _ : state) {
        std::memcpy(f.surface.pixels.data(), from.data(), from.size());
        benchmark::DoNotOptimize(f.surface.pixels.data());
    }
}
BENCHMARK(BM_ViewCopyReference)->Unit(benchmark::kMicrosecond);

// Sort positions of a frame's objects: rows of the view with ties.
std::vector<std::array<int, 3>> Positions()
{
    std::vector<std::array<int, 3>> p;
    for (int i = 0; i < kDrawEntries; ++i)
        p.push_back({(i * 193) % 800, (i * 71) % 480 - 20, i % 3});
    return p;
}

void BM_DrawListAddAndSort511(benchmark::State& state)
{
    static CRleImage frame;
    const auto positions = Positions();
    CDrawList list;
    for (auto _ : state) {
        list.Clear();
        for (const auto& p : positions)
            list.Add(nullptr, p[0], p[1], p[2], p[0], p[1], p[2], &frame, 0, 0);
        list.Sort();
        benchmark::DoNotOptimize(list.GetKey(0));
    }
}
BENCHMARK(BM_DrawListAddAndSort511)->Unit(benchmark::kMicrosecond);

void BM_StdSortKeysReference(benchmark::State& state)
{
    const auto positions = Positions();
    std::vector<int32_t> keys;
    for (const auto& p : positions)
        keys.push_back(CDrawList::SortKey(p[0], p[1], p[2]));
    std::vector<int32_t> work(keys.size());
    for (auto _ : state) {
        std::copy(keys.begin(), keys.end(), work.begin());
        std::sort(work.begin(), work.end());
        benchmark::DoNotOptimize(work.data());
    }
}
BENCHMARK(BM_StdSortKeysReference)->Unit(benchmark::kMicrosecond);

void BM_LoadMap512(benchmark::State& state)
{
    Fixture& f = Data();
    for (auto _ : state) {
        CRFile file("data\\1stage.map", CRFile::modeRead);
        benchmark::DoNotOptimize(f.bg->LoadMap(file));
    }
}
BENCHMARK(BM_LoadMap512)->Unit(benchmark::kMillisecond);

// Reading the same entry's bytes out of the archive.
void BM_ReadMapEntryReference(benchmark::State& state)
{
    Fixture& f = Data();
    std::vector<uint8_t> bytes(f.mapFile.size());
    for (auto _ : state) {
        CRFile file("data\\1stage.map", CRFile::modeRead);
        benchmark::DoNotOptimize(file.Read(bytes.data(), static_cast<uint32_t>(bytes.size())));
    }
}
BENCHMARK(BM_ReadMapEntryReference)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double plain = reporter.Time("BM_MapDrawFullView");
    const double sight = reporter.Time("BM_MapDrawSightMode");
    const double copy = reporter.Time("BM_ViewCopyReference");
    const double sort = reporter.Time("BM_DrawListAddAndSort511");
    const double stdSort = reporter.Time("BM_StdSortKeysReference");
    const double load = reporter.Time("BM_LoadMap512");
    const double read = reporter.Time("BM_ReadMapEntryReference");
    // What a plain draw leaves: every pixel of the view is ground.
    Fixture& f = Data();
    f.bg->SetSightMode(0);
    std::fill(f.surface.pixels.begin(), f.surface.pixels.end(), 255);
    f.bg->Draw();
    const auto ground = std::count_if(f.surface.pixels.begin(), f.surface.pixels.begin() + 800 * CBGLayer::kViewBottom,
                                      [](uint8_t p) { return p >= 40 && p < 190; });
    std::printf("ground pixels in the view: %ld of %d\n", static_cast<long>(ground), 800 * CBGLayer::kViewBottom);
    if (plain > 0 && sight > 0 && copy > 0)
        std::printf("map draw, full view: %.0f us (budget 2000), sight mode %.0f us (budget 3000); "
                    "one copy of the view's pixels / drawing: %.3f, %.3f\n",
                    plain, sight, copy / plain, copy / sight);
    if (sort > 0 && stdSort > 0)
        std::printf("draw list, 511 added and sorted: %.1f us (budget 300); std::sort of the keys / it: %.2f\n",
                    sort, stdSort / sort);
    if (load > 0 && read > 0)
        std::printf("LoadMap 512 x 512: %.2f ms (budget 50); reading the entry / loading: %.2f\n", load,
                    read / load);
    g_pPalette = nullptr;
    benchmark::Shutdown();
    return 0;
}
