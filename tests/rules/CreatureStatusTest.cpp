#include <gtest/gtest.h>

#include "app/ReceiveDispatch.h"
#include "rules/CreatureStatus.h"
#include "support/SentPackets.h"
#include "support/TestWorld.h"

namespace {

class CreatureStatusTest : public testing::Test {
protected:
    void SetUp() override
    {
        OpenTestMainSocket();
        TakeSentPackets();
        g_myId = 0x0107;
        world.Layer().m_battleNumber = 0x2345;
    }
    void TearDown() override { CloseTestMainSocket(); }
    CTestWorld world;
};

// What my thaw sends: sub-command 200 with value 1, then command 36.
std::vector<SentPacket> ThawPackets(uint32_t bits)
{
    return {
        {30, 0, 0x45, 0x23, 200, 3, 0, 0x07, 0x01, 1},
        {36, 0x45, 0x23, 0x07, 0x01, static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
         static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)},
    };
}

TEST_F(CreatureStatusTest, FrozenThawsOnThe250thUpdateAndTellsTheOthersWhenMine)
{
    for (bool mine : {false, true}) {
        CreatureStatusBits s;
        s.bits = CreatureStatusBits::kEvation;
        SetFrozen(s, true, mine);
        EXPECT_TRUE(IsFrozen(s));
        for (int i = 1; i < 250; ++i)
            UpdateStatusTimers(s, mine);
        EXPECT_TRUE(IsFrozen(s));
        EXPECT_TRUE(TakeSentPackets().empty());
        UpdateStatusTimers(s, mine);
        EXPECT_FALSE(IsFrozen(s));
        EXPECT_EQ(s.frozenCount, 0u);
        EXPECT_EQ(TakeSentPackets(), mine ? ThawPackets(0x8) : std::vector<SentPacket>{}) << mine;
    }
}

TEST_F(CreatureStatusTest, HiddenShowsOnThe300thAndCountsRestartOnEverySet)
{
    CreatureStatusBits s;
    SetHidden(s, true, true);
    SetFrozen(s, true, true);
    for (int i = 0; i < 200; ++i)
        UpdateStatusTimers(s, true);
    SetHidden(s, true, true);  // restarts the hidden count only
    for (int i = 0; i < 50; ++i)
        UpdateStatusTimers(s, true);
    EXPECT_FALSE(IsFrozen(s));
    EXPECT_EQ(TakeSentPackets(), ThawPackets(0x2));
    for (int i = 0; i < 249; ++i)
        UpdateStatusTimers(s, true);
    EXPECT_TRUE(IsHidden(s));
    UpdateStatusTimers(s, true);
    EXPECT_FALSE(IsHidden(s));
    EXPECT_EQ(TakeSentPackets(), ThawPackets(0x0));
}

TEST_F(CreatureStatusTest, TurnStancesClearTogetherAndHealAbilitiesAimAtFriends)
{
    CreatureStatusBits s;
    s.bits = 0xFF;
    ClearTurnStances(s);
    EXPECT_EQ(s.bits, 0xE3u);
    std::vector<int> heals;
    for (int id = -1; id <= 24; ++id)
        if (IsHealAbility(id))
            heals.push_back(id);
    EXPECT_EQ(heals, (std::vector<int>{7, 10, 13, 14, 15}));
}

TEST_F(CreatureStatusTest, OnlyABitThatWasSetIsToldToHaveEnded)
{
    CreatureStatusBits s;
    s.bits = CreatureStatusBits::kFrozen | CreatureStatusBits::kAirOn;
    SetFrozen(s, false, true);
    EXPECT_EQ(TakeSentPackets(), ThawPackets(0x10));
    // A plain hit on me clears both bits: neither was set, nobody is told.
    SetFrozen(s, false, true);
    SetHidden(s, false, true);
    EXPECT_TRUE(TakeSentPackets().empty());
    EXPECT_EQ(s.bits, uint32_t{CreatureStatusBits::kAirOn});
}

}  // namespace
