#include <gtest/gtest.h>

#include <vector>

#include "core/ByteReader.h"
#include "fixtures/ObrBuilder.h"
#include "world/BGLayer.h"
#include "support/CreatureBed.h"
#include "world/Npc.h"
#include "world/ObjLayer.h"
#include "world/StructureObj.h"

namespace {

struct Piece {
    int x, y, mode;
    uint32_t param;
    bool operator==(const Piece&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Piece& p)
{
    return os << "(" << p.x << "," << p.y << " mode " << p.mode << "/" << p.param << ")";
}

std::vector<Piece> PiecesOf(CCreatureBed& bed, const CObj* owner)
{
    std::vector<Piece> out;
    const CDrawList& list = bed.Layer().DrawList();
    for (int i = 0; i < list.GetCount(); ++i) {
        const DrawEntry& e = list.GetEntry(i);
        if (e.owner == owner)
            out.push_back({static_cast<int16_t>(e.x), static_cast<int16_t>(e.y), e.mode, e.param});
    }
    return out;
}

// Building kinds of a 3 x 2 footprint with one piece picture: "house"
// with pieces in three cells (one beyond the set's frames), "ghost" with
// none; both solid in two cells.
void LoadBuildings(CObjLayer& layer)
{
    CObrBuilder bld("BLD");
    bld.Building("house", "h").ItemSet("h", 3, 2, {0, 255, 0, 0, 7, 255}, {1, 0, 0, 0, 0, 1});
    bld.Building("ghost", "g").ItemSet("g", 3, 2, {}, {1, 0, 0, 0, 0, 1});
    const Bytes file = bld.Build();
    CByteReader r(file.data(), file.size());
    ASSERT_EQ(layer.ReadObr(r), 0);
}

}  // namespace

TEST(StructureDraw, OnePiecePerCellAlongTheDiamondRowsInItsMode)
{
    CCreatureBed bed;
    LoadBuildings(bed.Layer());
    bed.Me(20, 20);
    CStructureObj* house = bed.Layer().AddStructure("hut", 21, 21, "house", nullptr, 0);
    CStructureObj* ghost = bed.Layer().AddStructure("wall", 24, 21, "ghost", nullptr, 0);
    ASSERT_TRUE(house && ghost);
    bed.Frame();
    // Cells from (20, 20): piece (r, c) at the centre of (20 + c, 20 + r).
    auto at = [&](int c, int r, int mode, uint32_t param) {
        int sx = 0, sy = 0;
        bed.Ground().TileToScreen(20 + c, 20 + r, sx, sy);
        return Piece{sx + 32, sy + 16, mode, param};
    };
    EXPECT_EQ(PiecesOf(bed, house), (std::vector<Piece>{at(0, 0, 0, 0), at(2, 0, 0, 0), at(0, 1, 0, 0)}))
        << "255 and a frame the set lacks draw nothing";
    EXPECT_TRUE(PiecesOf(bed, ghost).empty());
    EXPECT_EQ(bed.Layer().GetObjectCell(23, 20), ghost->GetHandle()) << "a structure without pieces still blocks";
    EXPECT_EQ(bed.Layer().GetObjectCell(25, 21), ghost->GetHandle());
    EXPECT_EQ(bed.Layer().GetObjectCell(24, 20), kCellEmpty);

    house->SetSeeThrough(1);
    bed.Frame();
    EXPECT_EQ(PiecesOf(bed, house), (std::vector<Piece>{at(0, 0, 2, 0), at(2, 0, 2, 0), at(0, 1, 2, 0)}));
    bed.Layer().m_inBattle = 1;
    for (int x = 18; x < 26; ++x)
        for (int y = 18; y < 24; ++y)
            bed.Ground().SetSight(x, y, 8);
    bed.Ground().SetSight(22, 20, 6);
    bed.Frame();
    EXPECT_EQ(PiecesOf(bed, house), (std::vector<Piece>{at(0, 0, 0, 0), at(2, 0, 3, 6), at(0, 1, 0, 0)}))
        << "in battle by the light of each cell";

    // Far from the view nothing is added.
    bed.Ground().ScrollTo(0, 0);
    bed.Frame();
    EXPECT_TRUE(PiecesOf(bed, house).empty());
}

TEST(StructureDraw, ANearOriginStructureWritesNothingOffTheMap)
{
    CCreatureBed bed;
    LoadBuildings(bed.Layer());
    bed.Me(10, 10);
    const Bytes footprint = {0x00, 0x11, 0x21, 0xFF, 0x5A, 0xF0};
    CStructureObj* s = bed.Layer().AddStructure("edge", 0, 0, "house", footprint.data(), 6);
    ASSERT_NE(s, nullptr);
    // The footprint runs from (-1, -1); its far corner is (1, 0).
    EXPECT_EQ(bed.Layer().GetStructureCell(1, 0), s->GetHandle());
    EXPECT_EQ(bed.Layer().GetObjectCell(1, 0), s->GetHandle());
    EXPECT_EQ(bed.Ground().GetCellFlags(1, 0) & kFlagDrawn, 0);
    EXPECT_EQ(bed.Ground().GetCellFlags(0, 0) & kFlagDrawn, kFlagDrawn) << "0x11 is (0, -1), off the map";
    s->MarkFootprint(1);
    bed.Ground().ScrollTo(0, 0);
    bed.Frame();
    s->RemoveFromMap();
    EXPECT_EQ(bed.Layer().GetObjectCell(1, 0), kCellEmpty);
    EXPECT_EQ(bed.Layer().GetStructureCell(1, 0), kCellEmpty);
}

TEST(NpcUpdate, StandsNamesItselfUnderTheMouseAndMayLeaveWhenFar)
{
    CCreatureBed bed;
    bed.ui.logFrameCalls = true;
    CCharacter& me = bed.Me(10, 10);
    CNpc* npc = bed.Layer().AddNpc("Keeper", 12, 10, 0, 0);
    ASSERT_NE(npc, nullptr);
    bed.Frame();
    int sx = 0, sy = 0;
    bed.Ground().WorldToScreen(npc->GetPixelX(), npc->GetPixelY(), sx, sy);
    EXPECT_EQ(PiecesOf(bed, npc), (std::vector<Piece>{{sx, sy, 0, 0}}));
    EXPECT_EQ(bed.ui.log.Count("AddFloatText"), 1) << "only my character's label";
    bed.Layer().m_pHoverNpc = npc;
    bed.ui.log.Clear();
    bed.Frame();
    EXPECT_EQ(bed.ui.log.Calls().back(), CCallLog::Call("AddFloatText", sx, sy - 7, "Keeper")) << "above its frame";

    me.PlaceAt(25, 10);
    bed.Frame();
    EXPECT_TRUE(npc->IsActive()) << "NPCs stay unless told to leave";
    npc->SetRemoveWhenFar(1);
    me.PlaceAt(24, 10);
    bed.Frame();
    EXPECT_TRUE(npc->IsActive()) << "12 cells";
    me.PlaceAt(26, 10);
    bed.Frame();
    EXPECT_FALSE(npc->IsActive());
    EXPECT_EQ(bed.Layer().GetObjectCell(12, 10), kCellEmpty);
}
