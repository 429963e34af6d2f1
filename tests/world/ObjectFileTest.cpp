#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/AnimSpriteSet.h"
#include "core/ByteReader.h"
#include "core/ItemSpriteSet.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/MapFileBuilder.h"
#include "fixtures/ObrBuilder.h"
#include "platform/headless/HeadlessPlatform.h"
#include "rules/CalcData.h"
#include "world/BGLayer.h"
#include "world/Character.h"
#include "world/ObjLayer.h"
#include "world/ObrEntry.h"
#include "world/ObrItemEntry.h"
#include "world/StructureObj.h"

namespace {

int Read(CObjLayer& layer, const Bytes& bytes)
{
    CByteReader r(bytes.data(), bytes.size());
    return layer.ReadObr(r);
}

int ReadObjects(CObjLayer& layer, const Bytes& bytes)
{
    CByteReader r(bytes.data(), bytes.size());
    return layer.ReadMapObjects(r);
}

class ObjectFileTest : public testing::Test {
protected:
    std::unique_ptr<CBGLayer> bg = std::make_unique<CBGLayer>(nullptr);
    std::unique_ptr<CObjLayer> layer = std::make_unique<CObjLayer>(nullptr, bg.get());
};

}  // namespace

TEST_F(ObjectFileTest, SetsLinkByNameWithinTheirSectionAndTheLastOneWins)
{
    CObrBuilder first("CHR");
    first.Character("orc", CObrBuilder::CharRecord("1001", 3, 5)).Character("elf", CObrBuilder::CharRecord("7", 0, 1));
    first.AnimSet("orc").AnimSet("troll").AnimSet("orc");
    ASSERT_EQ(Read(*layer, first.Build()), 0);
    CObrBuilder second("CHR");
    second.Character("troll", CObrBuilder::CharRecord("8", 1, 2)).AnimSet("elf").AnimSet("troll");
    ASSERT_EQ(Read(*layer, second.Build()), 0);

    ASSERT_EQ(layer->GetCharEntryCount(), 3);
    ASSERT_EQ(layer->GetCharSetCount(), 5);
    EXPECT_EQ(layer->FindSpriteSetById(1001)->GetSpriteSet(), layer->GetCharSet(2)) << "the second set of the name";
    EXPECT_EQ(layer->FindSpriteSetById(7)->GetSpriteSet(), nullptr) << "a later file's set links nothing earlier";
    EXPECT_EQ(layer->FindSpriteSetById(8)->GetSpriteSet(), layer->GetCharSet(4));
    EXPECT_EQ(layer->FindSpriteSetById(9), nullptr);
    EXPECT_EQ(layer->GetCharSet(2)->FindAnimation("walk_0"), 0);
}

TEST_F(ObjectFileTest, SecondHeaderVersionsAndTags)
{
    const struct {
        const char* tag;
        uint32_t version;
        int result;
    } cases[] = {
        {"CHR", 255, -1}, {"CHR", 256, 0}, {"CHR", 259, 0}, {"CHR", 260, -1}, {"ITM", 256, 0}, {"ITM", 257, -1},
        {"BLD", 256, 0},  {"BLD", 259, -1}, {"XYZ", 256, -1},
    };
    for (const auto& c : cases) {
        auto fresh = std::make_unique<CObjLayer>(nullptr, nullptr);
        CObrBuilder b(c.tag);
        b.SecondVersion(c.version);
        EXPECT_EQ(Read(*fresh, b.Build()), c.result) << c.tag << " " << c.version;
    }
}

TEST_F(ObjectFileTest, CharacterEntriesAreCompletedByClassGroup)
{
    const struct {
        uint8_t group;
        std::vector<uint16_t> items;
    } cases[] = {
        {0, {96, 1, 2, 3, 60}}, {1, {96, 1, 2, 3, 97}}, {2, {96, 1, 2, 3, 73}}, {3, {0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        auto fresh = std::make_unique<CObjLayer>(nullptr, nullptr);
        CharacterRecord file = CObrBuilder::CharRecord("42", c.group, 1, 12, "Harbour master");
        std::copy_n("Somebody", 9, file.bytes.begin());
        file.SetU32(CharacterRecord::kHp, 5);
        file.SetU32(CharacterRecord::kGameTime, 77);
        file.SetU32(CharacterRecord::kExperience, 9);
        file.SetU16(CharacterRecord::kJailed, 4);
        file.SetItem(7, 55);
        ASSERT_EQ(Read(*fresh, CObrBuilder("CHR").Character("x", file).Build()), 0);
        const CObrCharEntry* e = fresh->GetCharEntry(0);
        ASSERT_NE(e, nullptr);
        const CharacterRecord& rec = e->GetCharRecord();
        EXPECT_EQ(e->GetId(), 42);
        EXPECT_EQ(e->GetName(), "42") << "the type name";
        EXPECT_EQ(e->GetSpriteSetName(), "x");
        EXPECT_EQ(rec.I32(CharacterRecord::kHp), c.group == 3 ? 5 : CalcMaxHp(file)) << int{c.group};
        EXPECT_EQ(rec.I32(CharacterRecord::kMp), c.group == 3 ? 0 : CalcMaxMp(file)) << int{c.group};
        EXPECT_EQ(rec.U32(CharacterRecord::kGameTime), 0u);
        EXPECT_EQ(rec.U32(CharacterRecord::kServerValue28), 100u);
        EXPECT_EQ(rec.I16(CharacterRecord::kFame), 1000);
        EXPECT_EQ(rec.U32(CharacterRecord::kExperience), 0u);
        EXPECT_EQ(rec.U16(CharacterRecord::kInputA), 1);
        EXPECT_EQ(rec.I16(CharacterRecord::kJailed), 0);
        EXPECT_EQ(rec.U16(CharacterRecord::kInputB), 1);
        EXPECT_EQ(rec.I32(CharacterRecord::kLevel), CalcLevelFromStats(rec));
        EXPECT_EQ(rec.I32(CharacterRecord::kSpeedClass), GetClassBaseValue(rec));
        EXPECT_EQ(rec.Name(), c.group == 3 ? "Harbour master" : "Somebody");
        for (int slot = 0; slot < 5; ++slot)
            EXPECT_EQ(rec.Item(slot), c.items[static_cast<size_t>(slot)]) << int{c.group} << " slot " << slot;
        EXPECT_EQ(rec.Item(7), 55);
    }
}

TEST_F(ObjectFileTest, CountsBeyondWhatTheListsHoldAreRefusedAndNothingStays)
{
    EXPECT_EQ(Read(*layer, CObrBuilder("CHR").DeclaredEntries(1001).Build()), -1);
    EXPECT_EQ(Read(*layer, CObrBuilder("ITM").DeclaredEntries(10001).Build()), -1);
    EXPECT_EQ(Read(*layer, CObrBuilder("BLD").DeclaredSets(4097).Build()), -1);
    EXPECT_EQ(Read(*layer, CObrBuilder("CHR").DeclaredEntries(0xFFFFFFFFu).Build()), -1);

    CObrBuilder many("CHR");
    for (int i = 0; i < 999; ++i)
        many.Character("s", CObrBuilder::CharRecord(std::to_string(i), 0, 0));
    ASSERT_EQ(Read(*layer, many.Build()), 0);
    CObrBuilder two("CHR");
    two.Character("s", CObrBuilder::CharRecord("5000", 0, 0)).Character("s", CObrBuilder::CharRecord("5001", 0, 0));
    EXPECT_EQ(Read(*layer, two.Build()), -1) << "two more than the 1000 the list holds";
    EXPECT_EQ(layer->GetCharEntryCount(), 999);
    EXPECT_EQ(Read(*layer, CObrBuilder("CHR").Character("s", CObrBuilder::CharRecord("5002", 0, 0)).Build()), 0);
    EXPECT_EQ(layer->GetCharEntryCount(), 1000);
}

TEST_F(ObjectFileTest, ADamagedFileAtAnyCutLeavesTheListsAsTheyWere)
{
    CObrBuilder chr("CHR");
    chr.Character("orc", CObrBuilder::CharRecord("3", 0, 0)).AnimSet("orc");
    CObrBuilder bld("BLD");
    bld.Building("house", "h").ItemSet("h", 2, 2, {0, 1, 2, 255}, {1, 0, 0, 1});
    CObrBuilder itm("ITM");
    itm.Item("sword", "w").AnimSet("w");
    for (const Bytes& file : {chr.Build(), bld.Build(), itm.Build()}) {
        for (size_t cut = 0; cut < file.size(); ++cut) {
            const Bytes shortFile(file.begin(), file.begin() + static_cast<long>(cut));
            ASSERT_EQ(Read(*layer, shortFile), -1) << cut;
            ASSERT_EQ(layer->GetCharEntryCount() + layer->GetCharSetCount() + layer->GetBuildingEntryCount() +
                          layer->GetBuildingSetCount() + layer->GetItemSetCount(),
                      0);
            ASSERT_EQ(layer->m_itemEntryCount, 0u);
        }
        ASSERT_EQ(Read(*layer, file), 0);
        layer->FreeCharLists();
        layer->FreeBuildingLists();
        layer->FreeItemLists();
    }
}

TEST(ObjectFileLoad, TheItemFileIsReadFromByte23AndGivesTheItemCount)
{
    plat::CHeadlessPlatform platform;
    CObrBuilder items("ITM");
    items.Item("zero", "pics").Item("sword", "pics", {{100, 10}, {104, 30}}).Item("shield", "none").AnimSet("pics");
    CArchiveBuilder b;
    b.Add("item.obr", items.Prefix(23).Build());
    b.Add("other.obr", items.Prefix(23).Build());
    CTestArchive archive(b);
    auto layer = std::make_unique<CObjLayer>(nullptr, nullptr);
    EXPECT_EQ(layer->LoadObr("data\\other.obr"), -1) << "every other file starts at byte 0";
    EXPECT_EQ(layer->LoadObr("data\\missing.obr"), -1);
    ASSERT_EQ(layer->LoadObr("data\\item.obr"), 0) << "the check trailer after the section is left alone";
    EXPECT_EQ(layer->m_itemEntryCount, 3u);
    ASSERT_NE(layer->GetItemEntry(1), nullptr);
    EXPECT_EQ(layer->GetItemEntry(1)->GetName(), "sword");
    EXPECT_EQ(layer->GetItemEntry(1)->GetRecord().kind1, 10);
    EXPECT_EQ(layer->GetItemEntry(1)->GetRecord().value1, 30);
    EXPECT_NE(layer->GetItemEntry(1)->GetSpriteSet(), nullptr);
    EXPECT_EQ(layer->GetItemEntry(2)->GetSpriteSet(), nullptr);
    EXPECT_EQ(layer->GetItemEntry(3), nullptr);
    EXPECT_EQ(layer->GetItemEntry(-1), nullptr);
    layer->FreeItemLists();
    EXPECT_EQ(layer->m_itemEntryCount, 0u);
    EXPECT_EQ(layer->GetItemEntry(0), nullptr);
}

namespace {

// A map of 8 x 8 with blocked cells and a building kind of a 3 x 2
// footprint, solid in two cells.
class MapObjectsTest : public ObjectFileTest {
protected:
    void SetUp() override
    {
        CMapFileBuilder m(8, 8);
        m.Fill(1, 0, 0).Cell(5, 5, 3, 0, 0).Cell(0, 4, 2, 0, 0).Cell(7, 7, 2, 0, 0);
        const Bytes planes = m.Planes();
        CByteReader r(planes.data(), planes.size());
        ASSERT_EQ(bg->ReadMap(r), 0);
        CObrBuilder bld("BLD");
        bld.Building("bld1", "house").ItemSet("house", 3, 2, {0, 255, 1, 2, 255, 255}, {1, 0, 0, 0, 0, 1});
        ASSERT_EQ(Read(*layer, bld.Build()), 0);
    }
    int ActiveStructures()
    {
        int n = 0;
        for (int i = 0; i < CObjLayer::kStructures; ++i)
            n += layer->StructureSlot(i).IsActive();
        return n;
    }
};

}  // namespace

TEST_F(MapObjectsTest, StructuresArePlacedAndBlockedCellsMarkedInsideAFreeBorder)
{
    const std::string longText(300, 'T');
    CMapFileBuilder m(8, 8);
    m.MapName("harbour").MapText(longText);
    m.Structure("hut", 3, 3, "bld1", {0x00, 0x21}, "a sign");
    m.NpcPlace("guard", 2, 2, 5, 6, "hello");
    m.OtherObject(7);
    m.Structure("far", 8, 2, "bld1", {});                      // off the map
    m.Structure("unknown", 4, 4, "nosuch", {});                // no such building
    ASSERT_EQ(ReadObjects(*layer, m.Objects()), 0);
    EXPECT_EQ(layer->GetMapName(), "harbour");
    EXPECT_EQ(layer->GetMapText(), longText) << "a text of 255 bytes or more has a u16 length";
    ASSERT_EQ(ActiveStructures(), 1);
    CStructureObj& hut = layer->StructureSlot(0);
    EXPECT_EQ(hut.GetName(), "hut");
    EXPECT_EQ(hut.GetFootprintCount(), 2);
    // Footprint 3 x 2 from (2, 2): solid at (2, 2) and (4, 3); far corner (4, 3).
    EXPECT_EQ(layer->GetObjectCell(2, 2), hut.GetHandle());
    EXPECT_EQ(layer->GetObjectCell(4, 3), hut.GetHandle());
    EXPECT_EQ(layer->GetObjectCell(3, 2), kCellEmpty);
    EXPECT_EQ(layer->GetStructureCell(4, 3), hut.GetHandle());
    EXPECT_EQ(layer->ResolveHandle(hut.GetHandle()), &hut);
    EXPECT_EQ(bg->GetCellFlags(4, 3) & kFlagDrawn, 0) << "the footprint starts unmarked";
    EXPECT_EQ(bg->GetCellFlags(2, 2) & kFlagDrawn, 0) << "0x21: two back in x, one back in y";
    EXPECT_EQ(bg->GetCellFlags(3, 3) & kFlagDrawn, kFlagDrawn);
    hut.MarkFootprint(1);
    EXPECT_EQ(bg->GetCellFlags(2, 2) & kFlagDrawn, kFlagDrawn);
    EXPECT_EQ(layer->GetObjectCell(5, 5), kCellBlocked);
    EXPECT_EQ(layer->GetObjectCell(0, 4), kCellEmpty) << "the border stays free";
    EXPECT_EQ(layer->GetObjectCell(7, 7), kCellEmpty) << "the border stays free";
    EXPECT_EQ(layer->ResolveHandle(kCellBlocked), nullptr);

    // A slot given up keeps nothing of a building kind that goes later.
    layer->ResetMap();
    EXPECT_EQ(hut.GetDescriptor(), nullptr);
    layer->FreeBuildingLists();
    layer->ResetMap();
    EXPECT_EQ(ActiveStructures(), 0);
}

TEST_F(MapObjectsTest, ABadObjectSectionLeavesNoObjects)
{
    CMapFileBuilder tooLong(8, 8);
    tooLong.Structure("hut", 3, 3, "bld1", {}).Structure("big", 4, 4, "bld1", Bytes(256, 0));
    EXPECT_EQ(ReadObjects(*layer, tooLong.Objects()), -1) << "a data length over 255";
    EXPECT_EQ(ActiveStructures(), 0);
    EXPECT_EQ(layer->GetObjectCell(5, 5), kCellEmpty);

    CMapFileBuilder good(8, 8);
    good.MapText("x").Structure("hut", 3, 3, "bld1", {1, 2}, "t").NpcPlace("n", 1, 1, 0, 0, "hi").OtherObject(9);
    const Bytes objects = good.Objects();
    for (size_t cut = 0; cut < objects.size(); ++cut) {
        const Bytes shortSection(objects.begin(), objects.begin() + static_cast<long>(cut));
        ASSERT_EQ(ReadObjects(*layer, shortSection), -1) << cut;
        ASSERT_EQ(ActiveStructures(), 0) << cut;
    }
    EXPECT_EQ(ReadObjects(*layer, CMapFileBuilder(8, 8).DeclaredObjects(0x40000000).Objects()), -1);
    ASSERT_EQ(ReadObjects(*layer, objects), 0);
    EXPECT_EQ(ActiveStructures(), 1);
}
