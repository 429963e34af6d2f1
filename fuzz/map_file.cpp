// A stage map file: the planes into the map layer, then the object section
// into the object layer (which knows one building kind), then a frame of
// the ground drawn in both modes with the sight map marked around a cell.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/Blit.h"
#include "core/ByteReader.h"
#include "fixtures/MapFileBuilder.h"
#include "fixtures/ObrBuilder.h"
#include "fixtures/SpriteSeeds.h"
#include "world/BGLayer.h"
#include "world/ObjLayer.h"
#include "world/StructureObj.h"

namespace {

class CFuzzSurface : public CLayer {
public:
    CFuzzSurface() : pixels(kScreenWidth * kScreenHeight) { m_pBits = pixels.data(); }
    std::vector<uint8_t> pixels;
};

CFuzzSurface* g_surface;
CBGLayer* g_bg;
CObjLayer* g_layer;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_surface = new CFuzzSurface;
    g_bg = new CBGLayer(g_surface);
    g_layer = new CObjLayer(nullptr, g_bg);
    const Bytes building =
        CObrBuilder("BLD").Building("bld1", "h").ItemSet("h", 3, 2, {0, 1, 255, 2, 3, 4}, {1, 1, 0, 0, 1, 1}).Build();
    CByteReader r(building.data(), building.size());
    g_layer->ReadObr(r);

    std::vector<Bytes> seeds;
    CMapFileBuilder small(6, 5);
    small.TileName(0, "GRASS1").Fill(1, 0, 0).Cell(2, 2, 3, 0, 1, 0x21);
    small.MapName("m").MapText("hello").Structure("hut", 2, 2, "bld1", {0x00, 0x11}, "s").NpcPlace("g", 1, 1, 2, 3);
    seeds.push_back(small.Build());
    CMapFileBuilder edge(3, 2);
    edge.Fill(2, 1, 7).Structure("edge", 0, 0, "bld1", {0xFF}).OtherObject(9);
    seeds.push_back(edge.Build());
    CSpriteSeeds::WriteSeedFiles(seeds);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CByteReader r(data, size);
    if (g_bg->ReadMap(r) != 0)
        return 0;
    g_layer->ReadMapObjects(r);
    for (int i = 0; i < CObjLayer::kStructures && g_layer->StructureSlot(i).IsActive(); ++i) {
        g_layer->StructureSlot(i).MarkFootprint(1);
        g_layer->StructureSlot(i).MarkFootprint(0);
    }

    const int seed = static_cast<int>(size * 2654435761u);
    const int x = seed % 600 - 40, y = (seed / 600) % 600 - 40;
    g_bg->SetSightWindow(x - 16, y - 16, x + 17, y + 17);
    g_bg->ClearSightAroundWindow();
    g_bg->MarkSight(x, y, seed % 30 - 5);
    g_bg->FadeSightEdges();
    int px = 0, py = 0;
    CBGLayer::TileToPixel(x, y, px, py);
    g_bg->Draw();
    g_bg->ScrollTo(px, py);
    for (int mode = 0; mode < 2; ++mode) {
        g_bg->SetSightMode(mode);
        g_bg->Draw();
    }
    g_layer->DrawGroundItems(g_surface->pixels.data());
    return 0;
}
