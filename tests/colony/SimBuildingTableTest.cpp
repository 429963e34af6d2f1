// The facility types: the built-in table, recipe lookups, "Facility.dat" and
// the anchors taken from "SimBuilding.slr".
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "app/StringTable.h"
#include "colony/SimTerrain.h"
#include "core/ResFile.h"
#include "fixtures/ColonySprites.h"
#include "fixtures/FacilityDatBuilder.h"
#include "support/Harness.h"
#include "ColonyTestSupport.h"

namespace {

// The first frame of every type, as the picture list lays them out.
constexpr int kFirstFrames[CSimBuildingTable::kTypes] = {
    242, 0,   3,   6,   89,  11,  93,  97,  15,  19,  22,  100, 28,  104, 37,  39,  107,
    113, 42,  46,  117, 123, 50,  226, 58,  66,  127, 69,  72,  130, 74,  238, 134, 76,
    136, 139, 79,  144, 148, 82,  85,  151, 155, 159, 164, 168, 172, 176, 234, 180, 184,
    188, 192, 196, 200, 204, 210, 214, 217, 243, 247, 251, 255, 258, 261, 267,
};

TEST(SimBuildingTable, FramesRunInFillOrderAndEveryCubeTripleHasAType)
{
    CSimBuildingTable table;
    int total = 0;
    for (int type = 0; type < CSimBuildingTable::kTypes; ++type) {
        EXPECT_EQ(table.GetType(type).firstFrame, kFirstFrames[type]) << "type " << type;
        total += table.GetType(type).frames;
    }
    EXPECT_EQ(total, CSimBuildingTable::kFrames);

    // Apart from "EEE" no two types share a recipe.
    std::set<std::tuple<int, int, int>> seen;
    for (int type = 1; type < CSimBuildingTable::kTypes; ++type) {
        const auto& r = table.GetType(type).recipe;
        if (r[0] == kNoCube)
            continue;
        EXPECT_TRUE(seen.insert({r[0], r[1], r[2]}).second) << "type " << type;
        EXPECT_TRUE(r[0] >= r[1] && (r[1] >= r[2] || r[2] == kNoCube)) << "type " << type;
    }
    // Every triple of cubes and empty places resolves to a facility, in any order.
    int triples = 0;
    for (int a = -1; a < kCubeColours; ++a)
        for (int b = -1; b <= a; ++b)
            for (int c = -1; c <= b; ++c) {
                ++triples;
                int t[3] = {c, a, b};
                const int type = table.FindByRecipe(t);
                EXPECT_GT(type, 0);
                EXPECT_EQ(t[0], a);
                EXPECT_EQ(t[2], c);
            }
    EXPECT_EQ(triples, 56);
}

TEST(SimBuildingTable, RecipeLookupsSortTheCubesFirst)
{
    CSimBuildingTable table;
    struct Row {
        const char* code;
        int type;
    } rows[] = {
        {"EEE", 45}, {"WWW", 46}, {"LLL", 49}, {"BYE", 27}, {"EYB", 27}, {"YEB", 27}, {"EEY", 7},
        {"WEE", 11}, {"BBB", 42}, {"LRY", 56}, {"YRB", 12}, {"EWL", 16}, {"QWE", -1}, {"EeE", -1},
    };
    for (const Row& r : rows)
        EXPECT_EQ(table.FindByRecipe(r.code), r.type) << r.code;
    // A meadow (EEY) given a blue cube becomes a bank.
    int t[3] = {3, kNoCube, 1};
    EXPECT_EQ(table.FindByRecipe(t), 27);
    // Out of range gives record 0 (the cursor's facility).
    EXPECT_EQ(table.GetType(-1).firstFrame, 242);
    EXPECT_EQ(table.GetType(66).firstFrame, 242);
    EXPECT_EQ(table.GetType(41).pickCommand, 76);
    EXPECT_STREQ(table.GetType(49).description, "Power.btx");
    EXPECT_EQ(table.GetType(49).rule, 9);
    EXPECT_STREQ(GetFacilityName(41), "HeadQuarter");
    EXPECT_STREQ(GetFacilityName(58), "Akasha");
    EXPECT_STREQ(GetFacilityName(0), "");
    EXPECT_STREQ(GetFacilityName(59), "");
}

struct DatCase {
    const char* name;
    Bytes file;
    bool ok;
    int type;       // a type whose values are checked
    int32_t first;  // its first capacity
    int32_t last;   // its crystal production
};

FacilityValues Values(int32_t seed)
{
    FacilityValues v;
    v.capacity = {seed, seed + 1, seed + 2};
    v.energy = -seed;
    v.cost = {seed * 10, 1, 2, 3, 4};
    v.production = {5, 6, 7, 8, seed + 100};
    return v;
}

TEST(SimBuildingTable, FacilityDatFillsByRecipeAndEndsSoundly)
{
    Bytes truncated = CFacilityDatBuilder().Add("EEW", Values(3)).Build(false);
    truncated.resize(truncated.size() - 5);
    Bytes endOnly = CFacilityDatBuilder::EndOnly();
    const DatCase cases[] = {
        {"end only", endOnly, true, 11, 0, 0},
        {"one slum", CFacilityDatBuilder().Add("EEW", Values(3)).Build(), true, 11, 3, 103},
        {"letters in any order", CFacilityDatBuilder().Add("WEE", Values(4)).Build(), true, 11, 4, 104},
        {"a later record wins", CFacilityDatBuilder().Add("EEW", Values(3)).Add("EEW", Values(9)).Build(), true, 11, 9,
         109},
        {"bad letter skipped", CFacilityDatBuilder().Add("EQW", Values(3)).Add("LLL", Values(7)).Build(), true, 49, 7,
         107},
        {"bad letter leaves others", CFacilityDatBuilder().Add("EQW", Values(3)).Build(), true, 11, 0, 0},
        {"empty file", Bytes{}, false, 11, 0, 0},
        {"no end", CFacilityDatBuilder().Add("EEW", Values(3)).Build(false), false, 11, 3, 103},
        {"inside a record", truncated, false, 11, 0, 0},
        {"inside the end", Bytes{'E' - 'A', 'N' - 'A'}, false, 11, 0, 0},
    };
    for (const DatCase& c : cases) {
        CSimBuildingTable table;
        CByteReader r(c.file.data(), c.file.size());
        EXPECT_EQ(table.ReadFacilityData(r), c.ok) << c.name;
        const SimBuildingType& t = table.GetType(c.type);
        EXPECT_EQ(t.capacity[0], c.first) << c.name;
        EXPECT_EQ(t.production[4], c.last) << c.name;
        // Nothing else was touched.
        for (int other : {0, 1, 45}) {
            EXPECT_EQ(table.GetType(other).energy, 0) << c.name;
            EXPECT_EQ(table.GetType(other).cost[0], 0) << c.name;
        }
    }
    // The field order of a record: capacities, energy, costs, production.
    CSimBuildingTable table;
    const Bytes one = CFacilityDatBuilder().Add("ELL", Values(20)).Build();
    CByteReader r(one.data(), one.size());
    ASSERT_TRUE(table.ReadFacilityData(r));
    const SimBuildingType& p = table.GetType(52);
    EXPECT_EQ(std::tuple(p.capacity, p.energy, p.cost, p.production),
              std::tuple(std::array<int32_t, 3>{20, 21, 22}, -20, std::array<int32_t, 5>{200, 1, 2, 3, 4},
                         std::array<int32_t, 5>{5, 6, 7, 8, 120}));
}

TEST(SimBuildingTable, StartUpEndsOnAMissingOrTruncatedFacilityFile)
{
    for (bool missing : {true, false}) {
        CHarness h;
        CArchiveBuilder b = CArchiveBuilder::StartUpTables(false);
        if (!missing)
            b.Add("Facility.dat", CFacilityDatBuilder().Add("EEW", Values(1)).Build(false));
        CTestArchive archive(b, false);
        EXPECT_FALSE(h.Start()) << (missing ? "missing" : "truncated");
        ASSERT_EQ(h.Boxes().size(), 1u);
        EXPECT_EQ(h.Boxes()[0].text, GetGameString(IDS_RESOURCE_DAMAGED));
    }
}

TEST(SimBuildingTable, AnchorsComeFromTheFirstLoadAndTheMapFlagFollowsTheSprites)
{
    CArchiveBuilder b = CArchiveBuilder::MinimalGame();
    CColonySprites::AddTo(b, true);
    CTestWorld world(b);
    ASSERT_EQ(g_simBuildingTable.IsMapShown(), 0);
    g_simBuildingTable.LoadSprites();
    EXPECT_EQ(g_simBuildingTable.IsMapShown(), 1);
    EXPECT_EQ(g_simBuildingTable.Sprites().GetFrameCount(), CColonySprites::kBuildingFrames);
    EXPECT_EQ(g_simTerrain.Sprites().GetFrameCount(), CColonySprites::kTileFrames);
    for (int type : {1, 41, 45, 59, 65}) {
        const SimBuildingType& t = g_simBuildingTable.GetType(type);
        EXPECT_EQ(t.anchorX, CColonySprites::AnchorX(t.firstFrame)) << type;
        EXPECT_EQ(t.anchorY, CColonySprites::AnchorY(t.firstFrame)) << type;
    }
    // Type 0's frame (242) has no marker: its anchor is the corner.
    EXPECT_EQ(g_simBuildingTable.GetType(0).anchorX, 0);
    EXPECT_EQ(g_simBuildingTable.GetType(0).anchorY, 0);
    g_simBuildingTable.UnloadSprites();
    EXPECT_EQ(g_simBuildingTable.IsMapShown(), 0);
    EXPECT_FALSE(g_simBuildingTable.Sprites().IsLoaded());
    EXPECT_FALSE(g_simTerrain.Sprites().IsLoaded());
    // The anchors stay.
    EXPECT_EQ(g_simBuildingTable.GetType(41).anchorX, CColonySprites::AnchorX(151));
}

}  // namespace
