#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/ReceiveDispatch.h"
#include "app/StringTable.h"
#include "core/ByteWriter.h"
#include "support/CallLog.h"
#include "support/FakeColony.h"
#include "support/FakeUi.h"
#include "support/SentPackets.h"
#include "world/Character.h"
#include "world/ObjLayer.h"
#include "world/ObrItemEntry.h"
#include "world/StageLoader.h"
#include "world/ZoneFlags.h"

namespace {

SentPacket Field16(int field, uint32_t v) { return CByteWriter().U8(53).U8(static_cast<uint32_t>(field)).U16(v).Buffer(); }
SentPacket Field32(int field, uint32_t v) { return CByteWriter().U8(53).U8(static_cast<uint32_t>(field)).U32(v).Buffer(); }

class FieldClock : public testing::Test {
protected:
    void SetUp() override
    {
        ResetObjLayerGlobals();
        OpenTestMainSocket();
        TakeSentPackets();
        g_myId = 7;
        g_currentMapId = 0;
    }
    void TearDown() override
    {
        CloseTestMainSocket();
        g_myId = 0;
        g_currentMapId = 0;
        g_zoneFlags.fill(0);
        ResetObjLayerGlobals();
    }
    CharacterRecord& Rec() { return layer->MyRecord(); }
    void SetTime(uint32_t t) { Rec().SetU32(CharacterRecord::kGameTime, t); }

    std::unique_ptr<CObjLayer> layer = std::make_unique<CObjLayer>(nullptr, nullptr);
    FakeColony colony;
    FakeUi ui;
};

}  // namespace

TEST_F(FieldClock, TheTimeStepsEvery1800FramesWithTheColonyBeforeItAndField7After)
{
    const struct {
        uint32_t before;
        int colonySteps;
        bool field7;
    } cases[] = {{0, 1, false}, {239, 0, true}, {240, 1, false}, {244, 0, true}, {479, 0, true}, {480, 1, false}};
    for (const auto& c : cases) {
        colony.log.Clear();
        SetTime(c.before);
        for (int i = 0; i < 1799; ++i)
            layer->TickClock();
        EXPECT_EQ(Rec().U32(CharacterRecord::kGameTime), c.before) << "not before the 1800th frame";
        layer->TickClock();
        EXPECT_EQ(Rec().U32(CharacterRecord::kGameTime), c.before + 1) << c.before;
        EXPECT_EQ(colony.log.Count("Tick"), c.colonySteps) << c.before;
        const std::vector<SentPacket> sent = TakeSentPackets();
        if (c.field7)
            EXPECT_EQ(sent, std::vector<SentPacket>{Field32(7, c.before + 1)}) << c.before;
        else
            EXPECT_TRUE(sent.empty()) << c.before;
    }
    EXPECT_EQ(g_frameClock, 1800u * 6);
    EXPECT_EQ(ui.log.Count("RefreshWindows"), 0) << "no character of mine yet";
}

TEST_F(FieldClock, AJailTermIsFiveTimesTheCountUpTo240AndEndsInARelease)
{
    Rec().SetU16(CharacterRecord::kJailed, 59);
    Rec().SetU16(CharacterRecord::kWanted, 3);
    SetTime(1000);
    g_jailRequest = 1;
    layer->CheckJailAndWanted();
    EXPECT_EQ(Rec().I16(CharacterRecord::kJailed), 60);
    EXPECT_EQ(layer->m_jailStartTime, 1000);
    EXPECT_EQ(g_jailRemaining, 240) << "60 x 5 is capped at 240";
    EXPECT_EQ(g_inJail, 1u);
    EXPECT_EQ(g_jailRequest, 0u);
    // Wanted with 5 terms or more: its start is taken at once.
    EXPECT_EQ(TakeSentPackets(), (std::vector<SentPacket>{Field16(21, 60), Field32(69, 1000), Field32(68, 1000)}));

    SetTime(1239);
    layer->CheckJailAndWanted();
    EXPECT_EQ(g_jailRemaining, 1);
    EXPECT_EQ(g_inJail, 1u);
    EXPECT_TRUE(TakeSentPackets().empty());
    EXPECT_EQ(layer->StageChange().GetState(), CStageChange::kIdle);

    SetTime(1240);
    layer->CheckJailAndWanted();
    EXPECT_EQ(TakeSentPackets(), (std::vector<SentPacket>{Field16(27, 0), Field32(69, 0), Field32(68, 0)}));
    EXPECT_EQ(Rec().I16(CharacterRecord::kWanted), 0);
    EXPECT_EQ(layer->m_jailStartTime, 0);
    EXPECT_EQ(layer->m_wantedStartTime, 0);
    EXPECT_EQ(g_jailRemaining, 0);
    EXPECT_EQ(g_inJail, 0u);
    EXPECT_EQ(ui.log.Calls(), (std::vector<std::string>{CCallLog::Call("AddLine", GetGameString(175)),
                                                   CCallLog::Call("ClearMessages")}))
        << "the release notice, then the stage change clears the ring";
    EXPECT_EQ(layer->StageChange().GetState(), CStageChange::kWipe);
    EXPECT_EQ(layer->StageChange().GetType(), CStageChange::kMove);
    EXPECT_EQ(layer->StageChange().GetStage(), 0);
    EXPECT_EQ(layer->StageChange().GetX(), 175);
    EXPECT_EQ(layer->StageChange().GetY(), 298);
}

TEST_F(FieldClock, AWantedPlayerLeavesTheGroupUntilTheTermRunsOut)
{
    const struct {
        int jailed, wanted;
        bool isWanted;
    } cases[] = {{0, 0, false}, {0, 3, true}, {4, 6, true}, {4, 4, false}, {0, -3, true},
                 {5, 1, true},  {9, 0, false}, {5, -1, false}};
    for (const auto& c : cases) {
        CharacterRecord rec;
        rec.SetU16(CharacterRecord::kJailed, static_cast<uint32_t>(c.jailed));
        rec.SetU16(CharacterRecord::kWanted, static_cast<uint32_t>(c.wanted));
        EXPECT_EQ(IsWanted(rec), c.isWanted) << c.jailed << " " << c.wanted;
    }

    Rec().SetU16(CharacterRecord::kWanted, 3);
    SetTime(500);
    g_currentMapId = 3;
    layer->CheckJailAndWanted();
    EXPECT_TRUE(TakeSentPackets().empty()) << "the rule does not apply on map 3";
    g_currentMapId = 1;
    layer->m_groupHeader = {9, 7, 12, 0, 0, 0, 0};
    layer->CheckJailAndWanted();
    EXPECT_EQ(TakeSentPackets(), std::vector<SentPacket>{Field32(68, 500)});
    layer->m_inBattle = 1;
    layer->CheckJailAndWanted();
    layer->m_inBattle = 0;
    SetTime(3379);
    layer->CheckJailAndWanted();
    EXPECT_TRUE(TakeSentPackets().empty());
    EXPECT_EQ(ui.log.Count("AddLine"), 2) << "each frame out of battle, in a group";
    EXPECT_EQ(ui.log.Calls()[0], CCallLog::Call("AddLine", GetGameString(201)));
    SetTime(3380);
    layer->CheckJailAndWanted();
    EXPECT_EQ(TakeSentPackets(), (std::vector<SentPacket>{Field16(27, 0), Field32(68, 0)}));
    EXPECT_EQ(layer->m_wantedStartTime, 0);
    EXPECT_FALSE(IsWanted(Rec()));
}

TEST_F(FieldClock, ZoneFlagsFollowTheItemInEquipmentSlotOne)
{
    for (int i = 0; i < 183; ++i)
        ASSERT_EQ(layer->AddItemEntry(std::make_unique<CObrItemEntry>()), 0);
    const struct {
        uint16_t item;
        std::array<uint32_t, 4> flags;
    } cases[] = {
        {180, {1, 0, 0, 0}}, {0, {0, 0, 0, 0}}, {181, {0, 1, 0, 0}}, {182, {0, 0, 1, 0}},
        {183, {0, 0, 0, 0}},  // no entry 183 among 0..182
        {179, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        g_zoneFlags = {1, 1, 1, 1};
        Rec().SetEquip(1, c.item);
        layer->UpdateZoneFlags();
        EXPECT_EQ(g_zoneFlags, c.flags) << c.item;
    }
    ASSERT_EQ(layer->AddItemEntry(std::make_unique<CObrItemEntry>()), 0);
    Rec().SetEquip(1, 183);
    layer->UpdateZoneFlags();
    EXPECT_EQ(g_zoneFlags, (std::array<uint32_t, 4>{0, 0, 0, 1}));
}
