#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "core/AnimSpriteSet.h"
#include "core/ByteReader.h"
#include "fixtures/ItemRecordWriter.h"
#include "fixtures/RleEncoder.h"
#include "fixtures/SpriteWriter.h"
#include "rules/CalcData.h"
#include "rules/ItemData.h"
#include "support/TestWorld.h"
#include "world/ObrItemEntry.h"

namespace {

class ItemDataTest : public testing::Test {
protected:
    void SetKorean(bool korean)
    {
        world.Platform().settings.SetString("Control Panel\\International", "Locale", korean ? "00000412" : "00000409");
    }
    CTestWorld world;
};

TEST(ItemRecord, ReadsEveryFieldAtItsOffset)
{
    ItemRecord in = MakeItemRecord("검", "Sword", 7, kBonusAttack, -3, 99, 2147483647);
    in.weight = 12;
    in.requiredLevel = 30;
    in.price = -301;
    in.classRestriction = 2;
    in.transferMode = 3;
    in.picture = 4;
    std::strcpy(in.spriteSetName.data(), "items1");
    std::vector<uint8_t> bytes = WriteItemRecord(in);
    ASSERT_EQ(bytes.size(), ItemRecord::kSize);
    bytes[84 + 2] = 0x55;  // the word after the u16 equipment type is not read
    bytes.push_back(0xAB);
    CByteReader r(bytes.data(), bytes.size());
    ItemRecord out;
    ASSERT_TRUE(out.Read(r));
    EXPECT_EQ(r.Pos(), ItemRecord::kSize);
    EXPECT_STREQ(out.koreanName.data(), "검");
    EXPECT_STREQ(out.englishName.data(), "Sword");
    EXPECT_STREQ(out.spriteSetName.data(), "items1");
    EXPECT_EQ(std::tie(out.weight, out.requiredLevel, out.price, out.equipType, out.classRestriction),
              std::make_tuple(12, 30, -301, uint16_t{7}, 2));
    EXPECT_EQ(std::tie(out.kind1, out.value1, out.kind2, out.value2, out.transferMode, out.picture),
              std::make_tuple(12, -3, 99, 2147483647, 3, 4));

    // A 32-byte name without its NUL keeps 31 bytes; a short record fails.
    std::memset(bytes.data(), 'A', 32);
    CByteReader full(bytes.data(), bytes.size());
    ASSERT_TRUE(out.Read(full));
    EXPECT_EQ(std::strlen(out.koreanName.data()), 31u);
    for (size_t n = 0; n < ItemRecord::kSize; n += 17) {
        CByteReader shortReader(bytes.data(), n);
        EXPECT_FALSE(out.Read(shortReader)) << n;
        EXPECT_FALSE(shortReader.Ok());
    }
}

TEST_F(ItemDataTest, BonusTextForms)
{
    SetKorean(false);
    struct Case {
        int kind1, value1, kind2, value2;
        const char* text;
    };
    const Case cases[] = {
        {1, 5, 13, 2, "STR+5 Defence+2"},
        {0, 9, 12, 10, " Attack+10"},
        {3, 4, 0, 0, "DEX+4 "},
        {0, 0, 0, 0, " "},
        {8, -20, 9, 0, "MaxHP+-20 MaxMP+0"},
        {99, 7, -1, 3, "+7 +3"},  // kinds outside 0..13 have no name
        {13, INT_MIN, 13, INT_MIN, "Defence+-2147483648 Defence+-21"},  // cut at 31 bytes
    };
    for (const Case& c : cases) {
        std::array<char, CItemData::kTextSize> out;
        FormatBonusText(MakeItemRecord("", "", 0, c.kind1, c.value1, c.kind2, c.value2), out);
        EXPECT_STREQ(out.data(), c.text);
    }
}

TEST_F(ItemDataTest, KoreanBonusTextIsNeverCutInsideACharacter)
{
    SetKorean(true);
    std::array<char, CItemData::kTextSize> out;
    FormatBonusText(MakeItemRecord("", "", 0, 8, -2000000000, 13, -2000000000), out);
    const size_t len = std::strlen(out.data());
    EXPECT_LE(len, 31u);
    // Every byte of 0x80 and above is the first or second of a pair.
    size_t i = 0;
    while (i < len)
        i += static_cast<unsigned char>(out[i]) >= 0x80 ? 2 : 1;
    EXPECT_EQ(i, len);
    EXPECT_EQ(std::strncmp(out.data(), "최대HP+-2000000000 ", 19), 0);
}

TEST_F(ItemDataTest, PropertiesPricesAndTransferModes)
{
    SetKorean(false);
    ItemRecord rec = MakeItemRecord("물약", "Potion", 9, 10, 30);
    rec.price = 301;
    rec.weight = 4;
    rec.requiredLevel = 12;
    rec.classRestriction = 3;
    for (int mode = 0; mode <= 4; ++mode) {
        rec.transferMode = mode;
        world.AddItem(10 + mode, rec);
    }
    rec.price = 1000;
    world.AddItem(60, rec);
    const int give[] = {1, 1, 1, 0, 0};
    const int drop[] = {1, 1, 0, 1, 0};
    for (int mode = 0; mode <= 4; ++mode) {
        EXPECT_EQ(g_itemData.CanGive(10 + mode), give[mode]) << mode;
        EXPECT_EQ(g_itemData.CanDrop(10 + mode), drop[mode]) << mode;
    }
    EXPECT_EQ(g_itemData.GetSellPrice(10), 150);
    EXPECT_EQ(g_itemData.GetSellPrice(60), 5);
    EXPECT_EQ(g_itemData.GetPrice(60), 1000);
    EXPECT_STREQ(g_itemData.GetName(11), "Potion");
    EXPECT_STREQ(g_itemData.GetDescription(11), "HP+30 ");
    EXPECT_EQ(g_itemData.GetEquipType(11), 9);
    EXPECT_EQ(g_itemData.GetWeight(11), 4);
    EXPECT_EQ(g_itemData.GetRequiredLevel(11), 12);
    EXPECT_EQ(g_itemData.GetClassRestriction(11), 3);
    // The language is chosen when the item is copied.
    SetKorean(true);
    EXPECT_STREQ(g_itemData.GetName(12), "물약");
    EXPECT_STREQ(g_itemData.GetDescription(12), "HP+30 ");
}

TEST_F(ItemDataTest, TheSameIdIsCopiedOnce)
{
    world.AddItem(3, MakeItemRecord("", "Old", 0));
    world.AddItem(4, MakeItemRecord("", "Other", 0));
    EXPECT_STREQ(g_itemData.GetName(3), "Old");
    CObrItemEntry* entry = const_cast<CObrItemEntry*>(world.Layer().GetItemEntry(3));
    std::strcpy(entry->GetRecord().englishName.data(), "New");
    EXPECT_STREQ(g_itemData.GetName(3), "Old");  // still the cached copy
    EXPECT_STREQ(g_itemData.GetName(-1), "Old");  // a negative id reads the cache
    EXPECT_STREQ(g_itemData.GetName(4), "Other");
    EXPECT_STREQ(g_itemData.GetName(3), "New");   // a different id came between
}

TEST_F(ItemDataTest, RefusedIdsGiveAnEmptyItem)
{
    world.AddItem(2, MakeItemRecord("", "Two", 3, 1, 1));
    EXPECT_EQ(ItemEntryOrNull(0), nullptr);
    EXPECT_EQ(ItemEntryOrNull(-5), nullptr);
    EXPECT_EQ(ItemEntryOrNull(3), nullptr);
    EXPECT_NE(ItemEntryOrNull(2), nullptr);
    for (int id : {0, 3, 40000, INT_MAX}) {
        EXPECT_STREQ(g_itemData.GetName(id), "") << id;
        EXPECT_EQ(g_itemData.GetEquipType(id), 0);
        EXPECT_EQ(g_itemData.GetIconData(id), nullptr);
        EXPECT_EQ(g_itemData.GetCachedId(), -1);
    }
    world.Layer().FreeItemLists();
    EXPECT_EQ(ItemEntryOrNull(2), nullptr);
    EXPECT_STREQ(g_itemData.GetName(2), "");
}

TEST_F(ItemDataTest, PicturesAreFramesTwoPAndTwoPPlusOneOfTheLinkedSet)
{
    std::vector<SpriteFrameDef> frames;
    for (uint32_t i = 0; i < 5; ++i)
        frames.push_back(CSpriteWriter::Frame(CRleEncoder::Encode(CRleEncoder::Pattern(4 + i, 3, i))));
    const auto section = CSpriteWriter::AnimSection("items", frames, {});
    CAnimSpriteSet set;
    CByteReader r(section.data(), section.size());
    ASSERT_EQ(set.Read(r), 0);

    // Ids 1..5 with pictures 0, 1, 2, -1 and INT_MAX; id 6 without a set.
    ItemRecord rec = MakeItemRecord("", "Pic");
    const int pictures[] = {0, 1, 2, -1, INT_MAX};
    for (int i = 0; i < 5; ++i) {
        rec.picture = pictures[i];
        world.AddItem(i + 1, rec, &set);
    }
    world.AddItem(6, rec, nullptr);
    for (int p = 0; p < 2; ++p) {
        EXPECT_EQ(g_itemData.GetIconFrame(p + 1), set.GetFrame(2 * p)) << p;
        EXPECT_EQ(g_itemData.GetGroundFrame(p + 1), set.GetFrame(2 * p + 1)) << p;
        EXPECT_EQ(g_itemData.GetIconData(p + 1), set.GetFrame(2 * p)->GetData());
        EXPECT_EQ(g_itemData.GetGroundImageDataSize(p + 1), static_cast<int>(set.GetFrame(2 * p + 1)->GetDataSize()));
    }
    // Picture 2 needs frame 5 of 5; negative, huge and unlinked give none.
    for (int id : {3, 4, 5, 6}) {
        EXPECT_EQ(g_itemData.GetIconData(id), nullptr) << id;
        EXPECT_EQ(g_itemData.GetIconDataSize(id), 0) << id;
        EXPECT_EQ(g_itemData.GetGroundImageData(id), nullptr) << id;
        EXPECT_EQ(g_itemData.GetGroundImageDataSize(id), 0) << id;
        EXPECT_STREQ(g_itemData.GetName(id), "Pic");
    }
}

}  // namespace
