#include <gtest/gtest.h>

#include <climits>

#include "app/ReceiveDispatch.h"
#include "fixtures/ItemRecordWriter.h"
#include "support/SentPackets.h"
#include "support/TestWorld.h"
#include "windows/PlayerInfo.h"

namespace {

class PlayerInfoTest : public testing::Test {
protected:
    void SetUp() override
    {
        OpenTestMainSocket();
        TakeSentPackets();
    }
    void TearDown() override { CloseTestMainSocket(); }
    void Carry(std::initializer_list<int> ids)
    {
        int slot = 0;
        for (int id : ids)
            CPlayerInfo::SetItem(world.MyRecord(), slot++, id);
    }
    CTestWorld world;
};

TEST_F(PlayerInfoTest, SlotAndIdChecks)
{
    CharacterRecord r;
    CPlayerInfo::SetItem(r, 0, 5);
    CPlayerInfo::SetItem(r, 99, 32767);
    CPlayerInfo::SetItem(r, 100, 7);   // past the list
    CPlayerInfo::SetItem(r, -1, 7);
    CPlayerInfo::SetItem(r, 1, -3);    // negative ids are not stored
    CPlayerInfo::SetItem(r, 2, 40000); // would read back negative
    EXPECT_EQ(CPlayerInfo::GetItem(r, 0), 5);
    EXPECT_EQ(CPlayerInfo::GetItem(r, 99), 32767);
    EXPECT_EQ(CPlayerInfo::GetItem(r, 1), 0);
    EXPECT_EQ(CPlayerInfo::GetItem(r, 2), 0);
    EXPECT_EQ(CPlayerInfo::GetItem(r, 100), 0);
    EXPECT_EQ(CPlayerInfo::GetItem(r, INT_MIN), 0);
    CPlayerInfo::SetEquip(r, 7, 9);
    CPlayerInfo::SetEquip(r, 8, 9);
    EXPECT_EQ(CPlayerInfo::GetEquip(r, 7), 9);
    EXPECT_EQ(CPlayerInfo::GetEquip(r, 8), 0);
    r.SetEquip(6, 0xFFFF);
    EXPECT_EQ(CPlayerInfo::GetEquip(r, 6), -1);  // read as signed 16-bit
    EXPECT_EQ(CPlayerInfo::GetItemList(r)[0], 5);
    EXPECT_EQ(CPlayerInfo::GetEquipList(r)[14], 9);

    g_myId = 321;
    EXPECT_EQ(g_playerInfo.GetCharId(), 321);
    g_playerInfo.SetClass(2);
    EXPECT_EQ(g_playerInfo.GetClassStats()[3], 17);
    g_playerInfo.SetClass(6);
    EXPECT_EQ(g_playerInfo.GetClassStats()[0], 0);
}

TEST_F(PlayerInfoTest, RemoveItemFillsTheGapWithTheLastEntryAndSendsField52)
{
    Carry({11, 12, 13, 14, 15, 16, 17, 18, 19, 20});
    EXPECT_TRUE(g_playerInfo.RemoveItem(14));
    EXPECT_EQ(TakeSentPackets(), (std::vector<SentPacket>{{53, 52, 3, 20, 0, 9, 0, 0}}));
    EXPECT_EQ(CPlayerInfo::GetItem(world.MyRecord(), 3), 20);
    EXPECT_EQ(CPlayerInfo::GetItem(world.MyRecord(), 9), 0);
    EXPECT_TRUE(g_playerInfo.RemoveItem(19));  // now the last entry: the same slot twice
    EXPECT_EQ(TakeSentPackets(), (std::vector<SentPacket>{{53, 52, 8, 0, 0, 8, 0, 0}}));
    EXPECT_FALSE(g_playerInfo.RemoveItem(99));
    EXPECT_FALSE(g_playerInfo.RemoveItem(0));
    EXPECT_TRUE(TakeSentPackets().empty());
}

TEST_F(PlayerInfoTest, CarryLimitAndWeight)
{
    // Strength 6, group 0: carrying limit 60 + 350.
    CharacterRecord& me = world.MyRecord();
    me.SetU32(CharacterRecord::kStrength, 6);
    ItemRecord light = MakeItemRecord("", "Feather");
    light.weight = 1;
    ItemRecord heavy = MakeItemRecord("", "Anvil");
    heavy.weight = 300;
    world.AddItem(1, light);
    world.AddItem(2, heavy);
    for (int i = 0; i < 79; ++i)
        CPlayerInfo::SetItem(me, i, 1);
    EXPECT_FALSE(g_playerInfo.IsListFull());
    EXPECT_EQ(g_playerInfo.IsOverWeight(1), 0);
    CPlayerInfo::SetEquip(me, 2, 2);           // 79 + 300 + 1 = 380
    EXPECT_EQ(g_playerInfo.IsOverWeight(1), 0);
    EXPECT_EQ(g_playerInfo.IsOverWeight(2), 2);  // 79 + 300 + 300
    ItemRecord exact = heavy;
    exact.weight = 410 - 379;
    world.AddItem(3, exact);
    EXPECT_EQ(g_playerInfo.IsOverWeight(3), 0);  // reaching the limit is allowed
    CPlayerInfo::SetItem(me, 79, 1);
    EXPECT_TRUE(g_playerInfo.IsListFull());
    EXPECT_EQ(g_playerInfo.IsOverWeight(1), 1);
    // Only the packed run from slot 0 counts.
    CPlayerInfo::SetItem(me, 40, 0);
    EXPECT_FALSE(g_playerInfo.IsListFull());
}

}  // namespace
