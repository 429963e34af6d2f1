// The player's inventory operations never lose, duplicate or create an item
// or money: each either changes the record and reports it, or changes
// nothing and sends nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "core/BiString.h"
#include "fixtures/ItemRecordWriter.h"
#include "support/FakeUi.h"
#include "support/SentPackets.h"
#include "support/TestWorld.h"
#include "windows/PlayerInfo.h"

namespace {

constexpr int kFeather = 1;   // weight 1
constexpr int kAnvil = 2;     // weight 300
constexpr int kHelm = 3;      // level 20
constexpr int kStaff = 4;     // classes 2 and 3 only
constexpr int kRing = 5;      // anyone

class InventoryTest : public testing::Test {
protected:
    InventoryTest()
    {
        OpenTestMainSocket();
        auto item = [&](int id, int weight, int level, int restriction) {
            ItemRecord rec = MakeItemRecord("", "item");
            rec.weight = weight;
            rec.requiredLevel = level;
            rec.classRestriction = restriction;
            world.AddItem(id, rec);
        };
        item(kFeather, 1, 0, 0);
        item(kAnvil, 300, 0, 0);
        item(kHelm, 2, 20, 0);
        item(kStaff, 2, 0, 3);
        item(kRing, 1, 0, 0);
        // Strength 6 in class group 0: a limit of 60 + 350.
        Me().SetU32(CharacterRecord::kStrength, 6);
        Me().SetU32(CharacterRecord::kLevel, 5);
        g_playerInfo.SetClass(0);
    }
    ~InventoryTest() override { CloseTestMainSocket(); }

    CharacterRecord& Me() { return world.MyRecord(); }
    void Carry(int count, int id = kFeather)
    {
        for (int slot = 0; slot < CPlayerInfo::kItemSlots; ++slot)
            CPlayerInfo::SetItem(Me(), slot, slot < count ? id : 0);
    }
    void SetMoney(uint32_t money) { Me().SetU32(CharacterRecord::kMoney, money); }
    // Every id held, in the list and worn, sorted.
    std::vector<int> Held()
    {
        std::vector<int> ids;
        for (int s = 0; s < CPlayerInfo::kItemSlots; ++s)
            if (int id = CPlayerInfo::GetItem(Me(), s))
                ids.push_back(id);
        for (int s = 0; s < CPlayerInfo::kEquipSlots; ++s)
            if (int id = CPlayerInfo::GetEquip(Me(), s))
                ids.push_back(id);
        std::sort(ids.begin(), ids.end());
        return ids;
    }
    static SentPacket Money(uint32_t m)
    {
        return {53, 30, uint8_t(m), uint8_t(m >> 8), uint8_t(m >> 16), uint8_t(m >> 24)};
    }
    static std::string Notice(const CBiString& s) { return CCallLog::Call("ShowNotice", s.Get(), 200); }

    CTestWorld world;
    FakeUi ui;
};

const CBiString kNoMoney("돈이 모자랍니다.\0You have not enough money");
const CBiString kCannotCarry("더 이상 가질 수 없습니다.\0You cannot have any more");

TEST_F(InventoryTest, APurchasePaysOnlyForAStoredItem)
{
    struct Row {
        const char* what;
        int carried, carriedId;
        uint32_t money;
        int id, price;
        bool bought;
        std::string log;
    };
    const std::string refresh = "RefreshWindows()";
    const Row rows[] = {
        {"money equal to the price", 10, kFeather, 100, kRing, 100, true, refresh},
        {"79 carried", 79, kFeather, 500, kRing, 7, true, refresh},
        {"80 carried", 80, kFeather, 500, kRing, 7, false, Notice(kCannotCarry)},
        {"a coin short", 10, kFeather, 99, kRing, 100, false, Notice(kNoMoney)},
        {"id 0 is no item", 1, kAnvil, 50, 0, 0, false, Notice(kCannotCarry)},
        {"over the weight: 300 + 300", 1, kAnvil, 50, kAnvil, 1, false, Notice(kCannotCarry)},
        {"free", 0, kFeather, 0, kAnvil, 0, true, refresh},
        {"a negative price", 0, kFeather, 50, kRing, -1, false, ""},
    };
    for (const Row& r : rows) {
        Carry(r.carried, r.carriedId);
        SetMoney(r.money);
        const std::vector<int> before = Held();
        ui.log.Clear();
        EXPECT_EQ(g_playerInfo.TryTakeItem(r.id, r.price), r.bought) << r.what;
        EXPECT_EQ(ui.log.Joined(), r.log) << r.what;
        const auto sent = TakeSentPackets();
        std::vector<int> after = before;
        if (r.bought) {
            after.push_back(r.id);
            std::sort(after.begin(), after.end());
            const uint32_t left = r.money - static_cast<uint32_t>(r.price);
            EXPECT_EQ(sent, (std::vector<SentPacket>{{53, 51, uint8_t(r.carried), uint8_t(r.id), 0}, Money(left)}))
                << r.what;
            EXPECT_EQ(Me().U32(CharacterRecord::kMoney), left) << r.what;
        } else {
            EXPECT_TRUE(sent.empty()) << r.what;
            EXPECT_EQ(Me().U32(CharacterRecord::kMoney), r.money) << r.what;
        }
        EXPECT_EQ(Held(), after) << r.what;
    }
}

TEST_F(InventoryTest, ASalePaysOnlyForAHeldItemAndNeverWrapsTheMoney)
{
    struct Row {
        const char* what;
        uint32_t money;
        int id, price;
        bool sold;
    };
    const Row rows[] = {
        {"held", 10, kRing, 25, true},
        {"not held", 10, kAnvil, 25, false},
        {"id 0", 10, 0, 25, false},
        {"to the top", INT32_MAX - 25, kRing, 25, true},
        {"past the top", INT32_MAX - 24, kRing, 25, false},
        {"a negative price", 10, kRing, -5, false},
    };
    for (const Row& r : rows) {
        Carry(3, kFeather);
        CPlayerInfo::SetItem(Me(), 1, kRing);
        SetMoney(r.money);
        const std::vector<int> before = Held();
        EXPECT_EQ(g_playerInfo.SellItem(r.id, r.price), r.sold) << r.what;
        const auto sent = TakeSentPackets();
        if (r.sold) {
            const uint32_t money = r.money + static_cast<uint32_t>(r.price);
            EXPECT_EQ(sent, (std::vector<SentPacket>{{53, 52, 1, kFeather, 0, 2, 0, 0}, Money(money)})) << r.what;
            EXPECT_EQ(Me().U32(CharacterRecord::kMoney), money) << r.what;
            EXPECT_EQ(Held(), (std::vector<int>{kFeather, kFeather})) << r.what;
        } else {
            EXPECT_TRUE(sent.empty()) << r.what;
            EXPECT_EQ(Me().U32(CharacterRecord::kMoney), r.money) << r.what;
            EXPECT_EQ(Held(), before) << r.what;
        }
    }
}

TEST_F(InventoryTest, UnwearableItemsComeOffOnlyIntoAFreeSlot)
{
    struct Row {
        int carried;
        std::vector<SentPacket> sent;
        std::vector<int> equipAfter;  // slots 2, 3, 4
    };
    const Row rows[] = {
        // Level 5 below the helm's 20; the staff is for classes 2 and 3.
        {10, {{53, 51, 10, kHelm, 0}, {53, 53, 2, 0, 0}, {53, 51, 11, kStaff, 0}, {53, 53, 3, 0, 0}}, {0, 0, kRing}},
        {99, {{53, 51, 99, kHelm, 0}, {53, 53, 2, 0, 0}}, {0, kStaff, kRing}},
        {100, {}, {kHelm, kStaff, kRing}},
    };
    for (const Row& r : rows) {
        Carry(r.carried);
        CPlayerInfo::SetEquip(Me(), 2, kHelm);
        CPlayerInfo::SetEquip(Me(), 3, kStaff);
        CPlayerInfo::SetEquip(Me(), 4, kRing);
        const std::vector<int> before = Held();
        g_playerInfo.UnequipUnusable();
        EXPECT_EQ(TakeSentPackets(), r.sent) << r.carried;
        EXPECT_EQ((std::vector<int>{CPlayerInfo::GetEquip(Me(), 2), CPlayerInfo::GetEquip(Me(), 3),
                                    CPlayerInfo::GetEquip(Me(), 4)}),
                  r.equipAfter)
            << r.carried;
        EXPECT_EQ(Held(), before) << "nothing lost or made, " << r.carried;
    }
    // The right class and level keep everything on.
    Carry(0);
    g_playerInfo.SetClass(2);
    Me().SetU32(CharacterRecord::kLevel, 20);
    CPlayerInfo::SetEquip(Me(), 2, kHelm);
    CPlayerInfo::SetEquip(Me(), 3, kStaff);
    g_playerInfo.UnequipUnusable();
    EXPECT_TRUE(TakeSentPackets().empty());
}

TEST_F(InventoryTest, ListsFromTheServerWithHolesAndStrangeIds)
{
    // The raw item list as field 33 may bring it: a hole, an id no entry
    // has, an id that reads negative.
    Carry(0);
    Me().SetItem(0, kRing);
    Me().SetItem(2, 9000);
    Me().SetItem(4, 0xFFFF);
    EXPECT_EQ(g_playerInfo.LastUsedItemSlot(), 4);
    EXPECT_FALSE(g_playerInfo.IsListFull()) << "counted up to the hole";
    EXPECT_EQ(g_playerInfo.IsOverWeight(kFeather), 0) << "unknown ids weigh nothing";
    EXPECT_FALSE(g_playerInfo.RemoveItem(-1));
    EXPECT_FALSE(g_playerInfo.RemoveItem(0xFFFF)) << "not a valid id";
    EXPECT_TRUE(TakeSentPackets().empty());

    ASSERT_TRUE(g_playerInfo.AddItem(kFeather));
    EXPECT_EQ(TakeSentPackets(), (std::vector<SentPacket>{{53, 51, 5, kFeather, 0}})) << "after the last used slot";
    // The last entry fills the gap even across the hole.
    ASSERT_TRUE(g_playerInfo.RemoveItem(kRing));
    EXPECT_EQ(TakeSentPackets(), (std::vector<SentPacket>{{53, 52, 0, kFeather, 0, 5, 0, 0}}));
    EXPECT_EQ(CPlayerInfo::GetItem(Me(), 0), kFeather);
    EXPECT_EQ(CPlayerInfo::GetItem(Me(), 4), -1);
    ASSERT_TRUE(g_playerInfo.RemoveItem(9000));
    EXPECT_EQ(TakeSentPackets(), (std::vector<SentPacket>{{53, 52, 2, 0xFF, 0xFF, 4, 0, 0}}));

    // A full list of 100 takes nothing more, whatever is asked.
    Carry(100, kRing);
    for (int id : {kFeather, 0, -4, 0x8000, 40000})
        EXPECT_FALSE(g_playerInfo.AddItem(id)) << id;
    EXPECT_TRUE(TakeSentPackets().empty());
    EXPECT_EQ(Held(), std::vector<int>(100, kRing));
    // The accessors ignore what lies outside the lists.
    for (int slot : {-1, 100, 104, INT_MAX}) {
        CPlayerInfo::SetItem(Me(), slot, kFeather);
        EXPECT_EQ(CPlayerInfo::GetItem(Me(), slot), 0) << slot;
        g_playerInfo.SetCabinetItem(slot, kFeather);
        EXPECT_EQ(g_playerInfo.GetCabinetItem(slot), 0) << slot;
    }
    for (int slot : {-1, 8, 9})
        CPlayerInfo::SetEquip(Me(), slot, kFeather);
    EXPECT_EQ(Held(), std::vector<int>(100, kRing));
}

}  // namespace
