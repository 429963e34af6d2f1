// An object file: one section into the object layer's lists, then a
// character, an NPC and a structure made from whatever loaded.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/ByteReader.h"
#include "fixtures/ObrBuilder.h"
#include "fixtures/SpriteSeeds.h"
#include "world/BGLayer.h"
#include "world/ObjLayer.h"
#include "world/ObrEntry.h"
#include "world/ObrItemEntry.h"

namespace {
CBGLayer* g_bg;
CObjLayer* g_layer;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_bg = new CBGLayer(nullptr);
    g_layer = new CObjLayer(nullptr, g_bg);
    std::vector<Bytes> seeds;
    CObrBuilder chr("CHR");
    chr.Character("orc", CObrBuilder::CharRecord("1305", 3, 5, 10, "Orc")).Character("m", CObrBuilder::CharRecord("2", 1, 2));
    chr.AnimSet("orc").AnimSet("m").SecondVersion(259);
    seeds.push_back(chr.Build());
    CObrBuilder itm("ITM");
    itm.Item("sword", "pics", {{100, 10}, {104, 30}}).Item("none", "x").AnimSet("pics");
    seeds.push_back(itm.Build());
    CObrBuilder bld("BLD");
    bld.Building("bld1", "h").ItemSet("h", 2, 2, {0, 255, 1, 2}, {1, 0, 0, 1});
    seeds.push_back(bld.Build());
    CSpriteSeeds::WriteSeedFiles(seeds);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CByteReader r(data, size);
    if (g_layer->ReadObr(r) == 0) {
        for (int i = 0; i < g_layer->GetCharEntryCount(); ++i) {
            const int id = g_layer->GetCharEntry(i)->GetId();
            g_layer->AddCharacter(5000 + i, i % 512, 7, id, i, 3);
            g_layer->AddNpc(nullptr, 3, i % 512, i, id);
        }
        for (int i = 0; i < g_layer->GetBuildingEntryCount(); ++i) {
            const std::string name(g_layer->GetBuildingEntry(i)->GetName());
            const uint8_t footprint[] = {0x00, 0x11, 0xFF};
            g_layer->AddStructure("s", 256, 256 + i, name.c_str(), footprint, 3);
        }
        for (int i = -1; i <= static_cast<int>(g_layer->m_itemEntryCount); ++i)
            if (const CObrItemEntry* e = g_layer->GetItemEntry(i))
                (void)e->GetSpriteSet();
    }
    g_layer->ResetMap();
    g_layer->RemoveAllCharacters();
    g_layer->FreeCharLists();
    g_layer->FreeBuildingLists();
    g_layer->FreeItemLists();
    return 0;
}
