#include "world/ObjLayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/ReceiveDispatch.h"
#include "core/ByteReader.h"
#include "core/RleImage.h"
#include "fixtures/MapFileBuilder.h"
#include "fixtures/ObrBuilder.h"
#include "world/BGLayer.h"
#include "world/Character.h"
#include "world/Npc.h"
#include "world/ObrEntry.h"
#include "world/StageLoader.h"

namespace {

CRleImage g_frame;

}  // namespace

TEST(DrawList, HoldsAtMost511AndDrawsLaterKeysInFront)
{
    CDrawList list;
    for (int i = 0; i < 511; ++i)
        ASSERT_EQ(list.Add(nullptr, 0, i, 0, 0, i, 0, &g_frame, 0, 0), 0) << i;
    EXPECT_EQ(list.Add(nullptr, 0, 0, 0, 0, 0, 0, &g_frame, 0, 0), -1) << "the 512th";
    EXPECT_EQ(list.GetCount(), 511);
    list.Clear();
    EXPECT_EQ(list.Add(nullptr, 0, 0, 0, 0, 0, 0, nullptr, 0, 0), -1) << "no frame";

    // Equal keys A then B are drawn B then A; y 100 is in front of y 99
    // whatever x and z; a negative y (partly above the view) stays behind.
    list.Add(nullptr, 1, 1, 1, 5, 50, 3, &g_frame, 1, 0);        // A
    list.Add(nullptr, 2, 2, 2, 5, 50, 3, &g_frame, 2, 0);        // B
    list.Add(nullptr, 3, 3, 3, 0, 100, 0, &g_frame, 3, 0);
    list.Add(nullptr, 4, 4, 4, 799, 99, 63, &g_frame, 4, 0);
    list.Add(nullptr, 5, 5, 5, 400, -5, 0, &g_frame, 5, 0);
    list.Sort();
    std::vector<int> order;
    for (int i = 0; i < list.GetCount(); ++i)
        order.push_back(list.GetSorted(i).mode);
    EXPECT_EQ(order, (std::vector<int>{5, 2, 1, 4, 3}));
    EXPECT_EQ(CDrawList::SortKey(3, 2, 1), (2 << 19) + (3 << 6) + 1);
    EXPECT_LT(CDrawList::SortKey(0, -1, 0), CDrawList::SortKey(0, 0, 0));
}

TEST(DrawList, SortsAsTheExchangeSortDoes)
{
    std::mt19937 rng(511);
    for (int round = 0; round < 300; ++round) {
        CDrawList list;
        const int n = static_cast<int>(rng() % 512);
        const int spread = 1 + static_cast<int>(rng() % 8);  // many equal keys
        std::vector<DrawKey> reference;
        for (int i = 0; i < n; ++i) {
            const int y = static_cast<int>(rng() % static_cast<unsigned>(spread)) - 2;
            const int x = static_cast<int>(rng() % 3), z = static_cast<int>(rng() % 2);
            if (list.Add(nullptr, 0, 0, 0, x, y, z, &g_frame, 0, 0) == 0)
                reference.push_back(DrawKey{CDrawList::SortKey(x, y, z), static_cast<uint32_t>(reference.size())});
        }
        CDrawList::ExchangeSort(reference.data(), static_cast<int>(reference.size()));
        list.Sort();
        ASSERT_EQ(list.GetCount(), static_cast<int>(reference.size()));
        for (int i = 0; i < list.GetCount(); ++i) {
            ASSERT_EQ(list.GetKey(i).key, reference[static_cast<size_t>(i)].key) << round << ":" << i;
            ASSERT_EQ(list.GetKey(i).index, reference[static_cast<size_t>(i)].index) << round << ":" << i;
        }
    }
}

TEST(ObjLayerNames, ClassNamesBySevens)
{
    const std::pair<int, const char*> cases[] = {{-5, "CLASS 0"}, {0, "CLASS 0"}, {1, "CLASS1"},   {7, "CLASS1"},
                                                 {8, "CLASS2"},   {70, "CLASS10"}, {71, "CLASS11"}, {77, "CLASS11"},
                                                 {78, "MASTER"},  {1000, "MASTER"}};
    for (auto [level, name] : cases)
        EXPECT_STREQ(CObjLayer::GetClassName(level), name) << level;
}

namespace {

// An object layer over a 32 x 32 map with the kinds 0 (a player), 60, 61
// and 62 (the battle markers) and 1305 (a monster) loaded.
class PoolTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetObjLayerGlobals();
        g_myId = 0;
        g_rememberedBattles.fill(0);
        CObrBuilder chr("CHR");
        for (const char* kind : {"0", "60", "61", "62", "1305"})
            chr.Character(kind, CObrBuilder::CharRecord(kind, 0, 0, 10, std::string("npc ") + kind));
        const Bytes file = chr.Build();
        CByteReader r(file.data(), file.size());
        ASSERT_EQ(layer->ReadObr(r), 0);
    }
    void TearDown() override
    {
        g_myId = 0;
        g_rememberedBattles.fill(0);
        ResetObjLayerGlobals();
    }
    std::unique_ptr<CBGLayer> bg = std::make_unique<CBGLayer>(nullptr);
    std::unique_ptr<CObjLayer> layer = std::make_unique<CObjLayer>(nullptr, bg.get());
};

}  // namespace

TEST_F(PoolTest, CharactersTakeFreeSlotsFromOneAndAreFoundById)
{
    EXPECT_EQ(layer->AddCharacter(5, 3, 4, 999, 0, 0), nullptr) << "no such kind: quietly none";
    EXPECT_EQ(layer->AddCharacter(5, 600, 4, 0, 0, 0), nullptr) << "off the grid";
    CCharacter* a = layer->AddCharacter(5, 3, 4, 0, 9, 0x41);
    ASSERT_EQ(a, &layer->CharacterSlot(1));
    EXPECT_EQ(layer->AddCharacter(5, 6, 6, 0, 0, 0), nullptr) << "the id is on the field";
    const CharacterRecord& rec = a->GetCharRecord();
    EXPECT_EQ(rec.Item(0), 0) << "no items";
    EXPECT_EQ(rec.U32(CharacterRecord::kSpeedClass), 9u);
    EXPECT_EQ(rec.U32(CharacterRecord::kLook), 0x41u);
    EXPECT_EQ(a->GetFieldsRequested(), 0) << "a player's fields are asked for later";
    EXPECT_EQ(layer->GetObjectCell(3, 4), a->GetHandle());
    EXPECT_EQ(layer->GetIdCell(3, 4), 5u);
    EXPECT_EQ(layer->FindCharacterById(5), a);

    CCharacter* monster = layer->AddCharacter(1500, 8, 8, 1305, 0, 0);
    ASSERT_NE(monster, nullptr);
    EXPECT_EQ(monster->GetFieldsRequested(), 1);
    EXPECT_EQ(monster->IsMonster(), 1);
    EXPECT_EQ(monster->GetCharRecord().U32(CharacterRecord::kSpeedClass),
              layer->FindSpriteSetById(1305)->GetCharRecord().U32(CharacterRecord::kSpeedClass))
        << "speed class 0 keeps the kind's";

    for (int id = 2000; id < 2000 + CObjLayer::kCharacters - 3; ++id)
        ASSERT_NE(layer->AddCharacter(id, 1, 1, 1305, 0, 0), nullptr) << id;
    EXPECT_EQ(layer->AddCharacter(9999, 1, 1, 1305, 0, 0), nullptr) << "slots 1..1023 full";
    EXPECT_FALSE(layer->CharacterSlot(0).IsActive()) << "slot 0 is kept for me";

    g_myId = 77;
    layer->MyRecord() = layer->FindSpriteSetById(0)->GetCharRecord();
    layer->m_groupHeader = {1, 77, 3, 0, 0, 0, 0};
    CCharacter* me = layer->CreateMyCharacter(10, 11);
    ASSERT_EQ(me, &layer->CharacterSlot(0));
    EXPECT_EQ(me->GetServerId(), 77);
    EXPECT_EQ(me->GetGroupKey(), layer->m_groupHeader);
    EXPECT_EQ(layer->CreateMyCharacter(10, 11), nullptr) << "slot 0 is taken";
    layer->SetMyCharacter(me);
    me->GetCharRecord().SetU32(CharacterRecord::kMoney, 1234);
    layer->RemoveAllCharacters();
    EXPECT_EQ(layer->GetMyCharacter(), nullptr);
    EXPECT_EQ(layer->MyRecord().U32(CharacterRecord::kMoney), 1234u) << "my record is kept";
    EXPECT_EQ(layer->FindCharacterById(5), nullptr);
    EXPECT_EQ(layer->GetObjectCell(3, 4), kCellEmpty);
}

TEST_F(PoolTest, BattleMarkersChooseTheirSetByNumberAndGroup)
{
    g_myId = 40;
    g_rememberedBattles[3] = 1234;
    const struct {
        int battle;
        std::array<uint16_t, 7> group;
        int set;
        int flag;  // the group-battle flag set, -1 none
    } cases[] = {
        {500, {0, 0, 0, 0, 0, 0, 0}, 60, -1},
        {20001, {0, 0, 0, 0, 0, 0, 0}, 61, -1},
        {1234, {9, 8, 40, 0, 0, 0, 0}, 62, 1},
        {1234, {9, 8, 7, 0, 0, 0, 0}, 60, -1},  // not a member: by number
        {1234, {40, 0, 0, 0, 0, 0, 0}, 60, -1},  // the leader's index is not among 1..6
    };
    for (const auto& c : cases) {
        ResetObjLayerGlobals();
        layer->RemoveAllNpcs();
        layer->m_groupHeader = c.group;
        CNpc* marker = layer->AddBattleMarker(4, 5, c.battle);
        ASSERT_NE(marker, nullptr);
        EXPECT_EQ(marker->GetEntry(), layer->FindSpriteSetById(c.set)) << c.battle;
        EXPECT_EQ(marker->GetName(), std::to_string(c.battle));
        EXPECT_EQ(layer->FindBattleMarker(c.battle), marker);
        for (int i = 0; i < 12; ++i)
            EXPECT_EQ(g_groupBattleFlags[static_cast<size_t>(i)], i == c.flag ? 1u : 0u) << c.battle << " " << i;
    }
    EXPECT_EQ(layer->FindBattleMarker(77), nullptr);
    CNpc* npc = layer->AddNpc(nullptr, 2, 2, 0, 60);
    ASSERT_NE(npc, nullptr);
    EXPECT_EQ(npc->GetName(), "npc 60") << "the entry's display name";
    EXPECT_EQ(layer->AddNpc("x", 2, 2, 0, 59), nullptr);
    for (int i = 2; i < CObjLayer::kNpcs; ++i)
        ASSERT_NE(layer->AddNpc("x", 3, 3, 0, 60), nullptr) << i;
    EXPECT_EQ(layer->AddNpc("x", 3, 3, 0, 60), nullptr) << "the pool is full";
    layer->ResetMap();
    EXPECT_EQ(layer->FindBattleMarker(1234), nullptr);
    EXPECT_EQ(layer->GetObjectCell(2, 2), kCellEmpty);
}

TEST_F(PoolTest, StatusFlagsAreFoundByNameInTheFirst24Slots)
{
    for (int id = 3000; id < 3030; ++id) {
        CCharacter* c = layer->AddCharacter(id, 1, 1, 1305, 0, 0);
        ASSERT_NE(c, nullptr);
        const std::string name = "Orc" + std::to_string(id);
        std::fill_n(c->GetCharRecord().bytes.begin(), 17, 0);
        std::copy(name.begin(), name.end(), c->GetCharRecord().bytes.begin());
        c->SetStatusFlags(static_cast<uint32_t>(id));
    }
    EXPECT_EQ(layer->GetStatusFlagsByName("orc3000"), 3000u) << "without regard to case";
    EXPECT_EQ(layer->GetStatusFlagsByName("ORC3022"), 3022u) << "slot 23";
    EXPECT_EQ(layer->GetStatusFlagsByName("Orc3023"), 0u) << "slot 24 is not searched";
    EXPECT_EQ(layer->GetStatusFlagsByName(nullptr), 0u);
}

TEST_F(PoolTest, GroundItemsAreClearedByInclusiveRectangles)
{
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            layer->SetGroundItem(x, y, static_cast<uint16_t>(1 + x + y * 6));
    layer->SetGroundItem(-1, 0, 5);
    layer->SetGroundItem(512, 0, 5);
    layer->ClearGroundItems(1, 1, 3, 2);
    layer->ClearGroundItems(-10, 5, 1, 900);
    int left = 0;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool cleared = (x >= 1 && x <= 3 && y >= 1 && y <= 2) || (x <= 1 && y == 5);
            EXPECT_EQ(layer->GetGroundItem(x, y), cleared ? 0 : 1 + x + y * 6) << x << "," << y;
            left += layer->GetGroundItem(x, y) != 0;
        }
    EXPECT_EQ(left, 36 - 6 - 2);
}

TEST(RangeCircle, EllipsesAreClippedToTheSurfaceAndEasedInFourSteps)
{
    auto bg = std::make_unique<CBGLayer>(nullptr);
    auto layer = std::make_unique<CObjLayer>(nullptr, bg.get());
    bg->SetViewRect(0, 0, 800, 448);
    bg->ScrollTo(400, 224);  // world pixel = screen pixel
    layer->SetViewRect(0, 0, 800, 448);
    std::vector<uint8_t> screen(800 * 600 + 64, 0);
    const uint8_t guard = 0;
    auto draw = [&] {
        std::fill(screen.begin(), screen.end(), guard);
        layer->DrawRangeCircle(screen.data(), 0);
        return std::count(screen.begin(), screen.begin() + 800 * 600, 222);
    };
    layer->ShowRangeCircle(1);
    layer->SetRangeCircle(400, 300, 12);  // R = 548: far past every edge
    for (int i = 0; i < 5; ++i)
        draw();
    EXPECT_GT(std::count(screen.begin(), screen.end(), 222), 0);
    EXPECT_TRUE(std::all_of(screen.begin() + 800 * 600, screen.end(), [](uint8_t b) { return b == 0; }));
    // From radius 12 to 4: the first frames lie between the two.
    layer->SetRangeCircle(400, 300, 4);
    const int r = CObjLayer::RangePixels(4);
    draw();
    EXPECT_EQ(screen[static_cast<size_t>(300 * 800 + 400 + r)], 0) << "still easing";
    draw();
    draw();
    draw();
    EXPECT_EQ(screen[static_cast<size_t>(300 * 800 + 400 + r)], 222) << "the right end of the middle ellipse";
    EXPECT_EQ(screen[static_cast<size_t>(300 * 800 + 400 - r - 1)], 222) << "the left end of the outer one";
    EXPECT_EQ(screen[static_cast<size_t>((300 - r / 2) * 800 + 400)], 222) << "the top of the middle one";
    layer->SetRangeCircle(400, 300, 13);
    for (int i = 0; i < 4; ++i)
        draw();
    EXPECT_EQ(draw(), 0) << "radius 13 is not drawn";
    layer->ShowRangeCircle(0);
    layer->SetRangeCircle(400, 300, 3);
    EXPECT_EQ(draw(), 0);
}
