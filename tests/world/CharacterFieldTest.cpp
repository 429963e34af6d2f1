#include <gtest/gtest.h>

#include <vector>

#include "app/ReceiveDispatch.h"
#include "support/SentPackets.h"
#include "world/CharacterRecord.h"
#include "world/ObjLayer.h"

namespace {

class CharacterField : public ::testing::Test {
protected:
    void SetUp() override
    {
        OpenTestMainSocket();
        TakeSentPackets();
        g_myId = 7;
    }
    void TearDown() override
    {
        CloseTestMainSocket();
        g_myId = 0;
    }
    void Receive(uint16_t id, int field, const std::vector<uint8_t>& payload)
    {
        layer.OnCharacterField(id, field, payload.data(), payload.size());
    }
    CObjLayer layer{nullptr, nullptr};
};

TEST(CharacterFieldSizes, ReceiveAndSendTables)
{
    const int received[70] = {
        12, 12, 0, 0, 0, 0, 0, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4,     // 0..19
        2, 2, 0, 4, 4, 4, 2, 2, 4, 0, 4, 2, 2, 200, 16, 2, 2, 40, -1, -1,  // 20..39
        -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 436, -1, -1, -1, -1, -1, -1, -1, -1, -1,  // 40..59
        -1, -1, -1, 5, -1, -1, -1, -1, 4, 4};                               // 60..69
    for (int f = 0; f < 70; ++f)
        EXPECT_EQ(CharacterFieldReceiveSize(f), received[f]) << f;
    EXPECT_EQ(CharacterFieldReceiveSize(70), -1);
    EXPECT_EQ(CharacterFieldReceiveSize(-1), -1);
    for (int f : {0, 1, 2, 4, 5, 6, 22, 29, 38, 49, 58, 59, 70})
        EXPECT_EQ(CharacterFieldSendSize(f), 0) << f;
    EXPECT_EQ(CharacterFieldSendSize(24), 4);
    EXPECT_EQ(CharacterFieldSendSize(55), 28);
    EXPECT_EQ(CharacterFieldSendSize(61), 35);
}

TEST_F(CharacterField, FieldsWithoutPayloadPutNothingOnTheWire)
{
    for (int f : {0, 1, 2, 4, 5, 6, 22, 29})
        layer.SendCharacterField(f);
    EXPECT_TRUE(TakeSentPackets().empty());
}

TEST_F(CharacterField, ScriptValueIsSentAsItsLow16BitsSignExtended)
{
    layer.MyRecord().SetU32(CharacterRecord::kScriptValue, 98304);  // 0x18000
    layer.SendCharacterField(25);
    EXPECT_EQ(TakeSentPackets(), (std::vector<SentPacket>{{53, 25, 0x00, 0x80, 0xFF, 0xFF}}));
}

TEST_F(CharacterField, StatsAreSentInTheirOwnOrderAndSlotsByIndex)
{
    CharacterRecord& r = layer.MyRecord();
    r.SetU32(CharacterRecord::kStrength, 1);
    r.SetU32(CharacterRecord::kAgility, 2);
    r.SetU32(CharacterRecord::kConstitution, 3);
    r.SetU32(CharacterRecord::kCourage, 4);
    r.SetU32(CharacterRecord::kWisdom, 5);
    r.SetU32(CharacterRecord::kRemain, 6);
    r.SetU32(CharacterRecord::kLevel, 7);
    r.SetItem(3, 0x0102);
    r.SetItem(99, 0x0304);
    layer.SendCharacterField(55);
    layer.SendCharacterField(52, 3, 99);
    layer.SendCharacterField(51, 100);  // out of the list: the slot reads empty
    auto sent = TakeSentPackets();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0], (SentPacket{53, 55, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 5, 0, 0, 0, 6, 0, 0, 0, 7,
                               0, 0, 0}));
    EXPECT_EQ(sent[1], (SentPacket{53, 52, 3, 0x02, 0x01, 99, 0x04, 0x03}));
    EXPECT_EQ(sent[2], (SentPacket{53, 51, 100, 0, 0}));
}

TEST_F(CharacterField, OwnRecordArrivalPacksKnownItemsAndDropsUnknownOnes)
{
    layer.m_itemEntryCount = 10;
    layer.RequestCharacterField(7, 50);
    EXPECT_EQ(TakeSentPackets(), (std::vector<SentPacket>{{52, 7, 0, 50}}));
    std::vector<uint8_t> image(436, 0);
    auto put16 = [&](size_t off, uint16_t v) {
        image[off] = static_cast<uint8_t>(v);
        image[off + 1] = static_cast<uint8_t>(v >> 8);
    };
    put16(CharacterRecord::kItems + 2, 5);
    put16(CharacterRecord::kItems + 6, 7);
    put16(CharacterRecord::kItems + 8, 10);       // not a loaded entry
    put16(CharacterRecord::kEquipment + 4, 9);
    put16(CharacterRecord::kEquipment + 6, 4000);
    image[CharacterRecord::kHp] = 42;
    // Class 4 with 10 points above its base stats: the stored 99 gives way
    // to the level the stats derive, 10 / 5 + 1.
    image[CharacterRecord::kClass] = 4;
    image[CharacterRecord::kLevel] = 99;
    const uint8_t stats[] = {15, 5, 17, 13, 5};  // strength, agility, constitution, wisdom, courage
    const size_t offs[] = {CharacterRecord::kStrength, CharacterRecord::kAgility, CharacterRecord::kConstitution,
                           CharacterRecord::kWisdom, CharacterRecord::kCourage};
    for (size_t i = 0; i < 5; ++i)
        image[offs[i]] = stats[i];
    Receive(7, 50, image);
    const CharacterRecord& r = layer.MyRecord();
    EXPECT_EQ(layer.m_ownRecordArrived, 1u);
    EXPECT_EQ(r.Item(0), 5);
    EXPECT_EQ(r.Item(1), 7);
    EXPECT_EQ(r.Item(2), 0);
    EXPECT_EQ(r.Equip(2), 9);
    EXPECT_EQ(r.Equip(3), 0);
    EXPECT_EQ(r.I32(CharacterRecord::kHp), 42);
    EXPECT_EQ(r.I32(CharacterRecord::kLevel), 3);
}

TEST_F(CharacterField, FieldsOfUnknownCharactersAreDropped)
{
    std::vector<uint8_t> image(436, 1);
    Receive(8, 50, image);
    EXPECT_EQ(layer.m_ownRecordArrived, 0u);
    EXPECT_EQ(layer.MyRecord().I32(CharacterRecord::kHp), 0);
}

TEST_F(CharacterField, WireNameIsTerminatedAndRecallPointValidated)
{
    CharacterRecord& r = layer.MyRecord();
    for (size_t i = 0; i < 17; ++i)
        r.bytes[i] = 'z';
    Receive(7, 0, std::vector<uint8_t>(12, 'a'));
    EXPECT_EQ(r.Name(), std::string(12, 'a'));
    Receive(7, 63, {2, 0x10, 0x00, 0x20, 0x00});
    EXPECT_EQ(layer.m_recallPoint.map, 2);
    EXPECT_EQ(layer.m_recallPoint.x, 16);
    Receive(7, 63, {9, 0x10, 0x00, 0x20, 0x00});   // no such map
    Receive(7, 63, {1, 0x00, 0x02, 0x20, 0x00});   // x = 512
    EXPECT_EQ(layer.m_recallPoint.map, 2);
    layer.SendCharacterField(63);
    EXPECT_EQ(TakeSentPackets(), (std::vector<SentPacket>{{53, 63, 2, 0x10, 0x00, 0x20, 0x00}}));
}

TEST_F(CharacterField, ScriptValueReceiptKeepsTheWordAfterIt)
{
    CharacterRecord& r = layer.MyRecord();
    r.SetU16(CharacterRecord::kScriptValue + 2, 0x5555);
    Receive(7, 25, {0x34, 0x12, 0x78, 0x56});
    EXPECT_EQ(r.U16(CharacterRecord::kScriptValue), 0x1234);
    EXPECT_EQ(r.U16(CharacterRecord::kScriptValue + 2), 0x5555);
}

}  // namespace

namespace {

static_assert(sizeof(CharacterRecord::bytes) == 596);
static_assert(CharacterRecord::kScriptValue == 192 && CharacterRecord::kItems == 220 &&
              CharacterRecord::kEquipment == 420 && CharacterRecord::kFieldImageSize == 436);

TEST_F(CharacterField, EveryFieldCarriedBothWaysRoundTrips)
{
    for (int f = 0; f < 70; ++f) {
        const int in = CharacterFieldReceiveSize(f);
        const int out = CharacterFieldSendSize(f);
        if (in <= 0 || out <= 0 || f == 50)
            continue;
        ASSERT_EQ(in, out) << f;
        std::vector<uint8_t> payload(static_cast<size_t>(in));
        for (size_t i = 0; i < payload.size(); ++i)
            payload[i] = static_cast<uint8_t>(f + 3 * i + 1);
        if (f == 25)
            payload = {0x34, 0x92, 0xFF, 0xFF};  // negative: sign-extended back
        if (f == 63)
            payload = {3, 0x10, 0x01, 0xFF, 0x01};  // map 3, (272, 511)
        Receive(7, f, payload);
        layer.SendCharacterField(f);
        std::vector<uint8_t> expected = {53, static_cast<uint8_t>(f)};
        expected.insert(expected.end(), payload.begin(), payload.end());
        EXPECT_EQ(TakeSentPackets(), std::vector<SentPacket>{expected}) << "field " << f;
    }
}

TEST_F(CharacterField, AnyFieldOfMyOwnAnswersAndOtherCharactersKeepTheLayerValues)
{
    layer.RequestCharacterField(7, 50);
    EXPECT_EQ(layer.m_myFieldAnswer, 0u);
    layer.m_jailStartTime = -1;
    Receive(9, 69, {0, 0, 0, 0});  // no such character
    EXPECT_EQ(layer.m_jailStartTime, -1);
    EXPECT_EQ(layer.m_myFieldAnswer, 0u);
    Receive(7, 69, {0, 0, 0, 0});
    EXPECT_EQ(layer.m_jailStartTime, 0);
    EXPECT_EQ(layer.m_myFieldAnswer, 1u);
}

}  // namespace
