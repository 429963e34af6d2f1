// The carried item's every path over the player's lists, each row checked
// for the exact character fields sent, the lists after and conservation:
// the items held over the list, the equipment, the cabinet, the cursor and
// the pending field drop never change as a multiset. Then the field path
// on a field with my character and its scripted server.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/QuillonView.h"
#include "core/ByteReader.h"
#include "fixtures/ItemRecordWriter.h"
#include "fixtures/PacketStream.h"
#include "net/PacketAssembler.h"
#include "support/CreatureBed.h"
#include "support/FakeUi.h"
#include "support/SentPackets.h"
#include "support/TestWorld.h"
#include "windows/MouseCursor.h"
#include "windows/PlayerInfo.h"
#include "world/BGLayer.h"
#include "world/StageLoader.h"

namespace {

constexpr int kWeapon = 3;     // fits box 0
constexpr int kWeapon2 = 4;    // fits box 0
constexpr int kArmour = 5;     // fits box 3
constexpr int kSpeed = CMouseCursor::kSpeedItem;  // fits box 5
constexpr uint8_t kCmd = 53;
constexpr uint32_t kBase = 7;  // field 24's value for class 0

using Src = CMouseCursor::Source;

struct Lists {
    std::vector<int> items;          // from slot 0; the rest empty
    std::vector<int> equip = {};     // from box 0
    std::vector<int> cabinet = {};   // from slot 0
    bool operator==(const Lists&) const = default;
};

// Ids 10.. for plain items (no box), n of them.
std::vector<int> Plain(int n, int first = 10)
{
    std::vector<int> v;
    for (int i = 0; i < n; ++i)
        v.push_back(first + i % 40);
    return v;
}

SentPacket Field(int field, std::initializer_list<int> bytes)
{
    SentPacket p{kCmd, static_cast<uint8_t>(field)};
    for (int b : bytes)
        p.push_back(static_cast<uint8_t>(b));
    return p;
}
SentPacket Slot(int field, int slot, int id) { return Field(field, {slot, id & 0xFF, id >> 8}); }
SentPacket Speed(uint32_t v) { return Field(24, {int(v & 0xFF), 0, 0, 0}); }

class ItemCursor : public testing::Test {
protected:
    void SetUp() override
    {
        ItemRecord plain = MakeItemRecord("", "plain", 9);
        for (int id = 1; id < 60; ++id) {
            const int type = id == kWeapon || id == kWeapon2 ? 0 : id == kArmour ? 3 : 9;
            ItemRecord r = MakeItemRecord("", "item" + std::to_string(id), type);
            world.AddItem(id, r);
        }
        for (int id = 60; id < kSpeed; ++id)
            world.AddItem(id, plain);
        world.AddItem(kSpeed, MakeItemRecord("", "boots", 5));
        // Room for 100 items of no weight.
        world.MyRecord().SetU32(CharacterRecord::kStrength, 6);
        world.MyRecord().SetU32(CharacterRecord::kSpeedClass, kBase);
        OpenTestMainSocket();
        TakeSentPackets();
    }
    void TearDown() override
    {
        CloseTestMainSocket();
        g_mouseCursor = CMouseCursor{};
        g_lastMouseCursor = CMouseCursor{};
        g_playerInfo.Reset();
        world.Layer().m_cabinet.fill(0);
        g_currentMapId = 0;
    }
    CharacterRecord& Rec() { return world.MyRecord(); }
    void Set(const Lists& l)
    {
        for (int i = 0; i < CPlayerInfo::kItemSlots; ++i)
            Rec().SetItem(i, i < int(l.items.size()) ? uint16_t(l.items[size_t(i)]) : 0);
        for (int i = 0; i < CPlayerInfo::kEquipSlots; ++i)
            Rec().SetEquip(i, i < int(l.equip.size()) ? uint16_t(l.equip[size_t(i)]) : 0);
        for (int i = 0; i < CPlayerInfo::kCabinetSlots; ++i)
            g_playerInfo.SetCabinetItem(i, i < int(l.cabinet.size()) ? l.cabinet[size_t(i)] : 0);
    }
    // The lists with trailing empty entries cut.
    Lists Get()
    {
        Lists l;
        auto trim = [](std::vector<int>& v) {
            while (!v.empty() && v.back() == 0)
                v.pop_back();
        };
        for (int i = 0; i < CPlayerInfo::kItemSlots; ++i)
            l.items.push_back(CPlayerInfo::GetItem(Rec(), i));
        for (int i = 0; i < CPlayerInfo::kEquipSlots; ++i)
            l.equip.push_back(CPlayerInfo::GetEquip(Rec(), i));
        for (int i = 0; i < CPlayerInfo::kCabinetSlots; ++i)
            l.cabinet.push_back(g_playerInfo.GetCabinetItem(i));
        trim(l.items);
        trim(l.equip);
        trim(l.cabinet);
        return l;
    }
    // Every item the player has, wherever it is.
    std::vector<int> Held()
    {
        const Lists l = Get();
        std::vector<int> all;
        for (const auto* v : {&l.items, &l.equip, &l.cabinet})
            for (int id : *v)
                if (id != 0)
                    all.push_back(id);
        for (const CMouseCursor* c : {&g_mouseCursor, &g_lastMouseCursor})
            if (c->GetItemId() > 0)
                all.push_back(c->GetItemId());
        std::sort(all.begin(), all.end());
        return all;
    }
    // What the windows do on a press: the entry goes onto the cursor.
    void Pick(int source, int slot)
    {
        int id = 0;
        if (source == Src::kFromItems) {
            id = CPlayerInfo::GetItem(Rec(), slot);
            CPlayerInfo::SetItem(Rec(), slot, 0);
        } else if (source == Src::kFromEquipment) {
            id = CPlayerInfo::GetEquip(Rec(), slot);
            CPlayerInfo::SetEquip(Rec(), slot, 0);
        } else {
            id = g_playerInfo.GetCabinetItem(slot);
            g_playerInfo.SetCabinetItem(slot, 0);
        }
        g_mouseCursor.PickUp(id, source, slot);
    }
    std::vector<std::string> Notices()
    {
        std::vector<std::string> out;
        for (const std::string& c : ui.log.Calls())
            if (c.rfind("ShowNotice", 0) == 0)
                out.push_back(c);
        ui.log.Clear();
        return out;
    }

    CTestWorld world;
    FakeUi ui;
};

std::vector<int> With(std::vector<int> v, std::initializer_list<std::pair<int, int>> sets)
{
    for (auto [i, id] : sets) {
        if (int(v.size()) <= i)
            v.resize(size_t(i) + 1);
        v[size_t(i)] = id;
    }
    return v;
}

std::vector<int> Erase(std::vector<int> v, int i)
{
    v.erase(v.begin() + i);
    return v;
}

std::vector<int> Insert(std::vector<int> v, int i, int id)
{
    v.insert(v.begin() + i, id);
    return v;
}

}  // namespace

TEST_F(ItemCursor, EveryDropKeepsEveryItemAndReportsExactlyWhatChanged)
{
    using M = CMouseCursor;
    const std::vector<int> ten = Plain(10);
    const std::vector<int> full = Plain(100);
    struct Row {
        const char* name;
        Lists before;
        std::function<void()> act;
        Lists after;
        std::vector<SentPacket> sent;
        int carried;
        std::vector<std::string> notices = {};
    };
    auto drop = [this](int source, int slot, std::function<void()> then) {
        return [=, this] {
            Pick(source, slot);
            then();
        };
    };
    const Row rows[] = {
        {"slot 3 to cell 20 lands after the last item", {ten}, drop(Src::kFromItems, 3, [] { g_mouseCursor.DropOnInventory(20); }),
         {With(Erase(ten, 3), {{9, ten[3]}})}, {Slot(56, 10, ten[3]), Field(57, {3})}, 0},
        {"back on its own cell", {ten}, drop(Src::kFromItems, 3, [] { g_mouseCursor.DropOnInventory(3); }), {ten}, {}, 0},
        {"slot 7 to cell 2 goes in front of 3", {ten}, drop(Src::kFromItems, 7, [] { g_mouseCursor.DropOnInventory(2); }),
         {Insert(Erase(ten, 7), 3, ten[7])}, {Field(57, {7}), Slot(56, 3, ten[7])}, 0},
        {"a full list: slot 3 to cell 99", {full}, drop(Src::kFromItems, 3, [] { g_mouseCursor.DropOnInventory(99); }),
         {Insert(Erase(full, 3), 98, full[3])}, {Field(57, {3}), Slot(56, 98, full[3])}, 0},
        {"boots into the empty box 5", {With(ten, {{4, kSpeed}})},
         drop(Src::kFromItems, 4, [] { g_mouseCursor.DropOnEquipSlot(5); }),
         {Erase(ten, 4), {0, 0, 0, 0, 0, kSpeed}}, {Speed(kBase + 1), Field(57, {4}), Slot(53, 5, kSpeed)}, 0},
        {"boots taken off to cell 30", {ten, {0, 0, 0, 0, 0, kSpeed}},
         drop(Src::kFromEquipment, 5, [] { g_mouseCursor.DropOnInventory(30); }),
         {With(ten, {{10, kSpeed}})}, {Slot(53, 5, 0), Speed(kBase), Slot(56, 10, kSpeed)}, 0},
        {"boots taken off in a death match", {ten, {0, 0, 0, 0, 0, kSpeed}},
         drop(Src::kFromEquipment, 5, [this] {
             world.Layer().m_inBattle = 1;
             world.Layer().m_battleNumber = 20001;
             g_mouseCursor.DropOnInventory(30);
             world.Layer().m_inBattle = 0;
         }),
         {With(ten, {{10, kSpeed}})}, {Slot(53, 5, 0), Slot(56, 10, kSpeed)}, 0},
        {"a weapon swapped for the one worn", {With(ten, {{1, kWeapon2}}), {kWeapon}},
         drop(Src::kFromItems, 1, [] { g_mouseCursor.DropOnEquipSlot(0); }),
         {With(ten, {{1, kWeapon}}), {kWeapon2}}, {Slot(53, 0, kWeapon2), Slot(51, 1, kWeapon)}, 0},
        {"a weapon on the armour box stays carried", {With(ten, {{2, kWeapon}})},
         drop(Src::kFromItems, 2, [] { g_mouseCursor.DropOnEquipSlot(3); }), {With(ten, {{2, 0}})}, {}, kWeapon},
        {"... and the release puts it back", {With(ten, {{2, kWeapon}})},
         drop(Src::kFromItems, 2, [] {
             g_mouseCursor.DropOnEquipSlot(3);
             g_mouseCursor.ReturnCarried();
         }),
         {With(ten, {{2, kWeapon}})}, {}, 0},
        {"equipment to a full list stays carried", {full, {kWeapon}},
         drop(Src::kFromEquipment, 0, [] { g_mouseCursor.DropOnInventory(50); }), {full}, {}, kWeapon},
        {"cabinet to a list of 80: too many items", {Plain(80), {}, {20, 21}},
         drop(Src::kFromCabinet, 0, [] { g_mouseCursor.DropOnInventory(90); }), {Plain(80), {}, {0, 21}}, {}, 20,
         {"ShowNotice(\"You have too many items.\", 200)"}},
        {"... and the release returns it to the cabinet", {Plain(80), {}, {20, 21}},
         drop(Src::kFromCabinet, 0, [] {
             g_mouseCursor.DropOnInventory(90);
             g_mouseCursor.ReturnCarried();
         }),
         {Plain(80), {}, {20, 21}}, {}, 0, {"ShowNotice(\"You have too many items.\", 200)"}},
        {"cabinet to cell 50 of three", {Plain(3), {}, {20, 21}},
         drop(Src::kFromCabinet, 0, [] { g_mouseCursor.DropOnInventory(50); }),
         {With(Plain(3), {{3, 20}}), {}, {21}}, {Field(67, {0}), Slot(56, 3, 20)}, 0},
        {"slot 45 into the cabinet sends the moved id", {Plain(50), {}, {20, 21, 22}},
         drop(Src::kFromItems, 45, [] { g_mouseCursor.DropOnCabinet(10); }),
         {Erase(Plain(50), 45), {}, {20, 21, 22, Plain(50)[45]}},
         {Slot(64, 45, Plain(50)[45]), Field(57, {45}), Slot(66, 3, Plain(50)[45])}, 0},
        {"inside the cabinet: 1 to cell 4", {{}, {}, {20, 21, 22, 23, 24}},
         drop(Src::kFromCabinet, 1, [] { g_mouseCursor.DropOnCabinet(4); }),
         {{}, {}, {20, 22, 23, 24, 21}}, {Slot(66, 5, 21), Field(67, {1})}, 0},
        {"a full cabinet takes nothing", {ten, {}, Plain(20, 30)},
         drop(Src::kFromItems, 0, [] { g_mouseCursor.DropOnCabinet(5); }), {With(ten, {{0, 0}}), {}, Plain(20, 30)}, {}, ten[0]},
        {"cabinet entry 19 used takes nothing", {ten, {}, With({20}, {{19, 21}})},
         drop(Src::kFromItems, 0, [] { g_mouseCursor.DropOnCabinet(2); }),
         {With(ten, {{0, 0}}), {}, With({20}, {{19, 21}})}, {}, ten[0]},
        {"equipment never goes into the cabinet", {ten, {kWeapon}},
         drop(Src::kFromEquipment, 0, [] { g_mouseCursor.DropOnCabinet(0); }), {ten}, {}, kWeapon},
        {"the big chat open keeps the item on release", {ten},
         drop(Src::kFromItems, 5, [this] {
             ui.windowState[M::kBigChatWindow] = 2;
             g_mouseCursor.ReturnCarried();
             ui.windowState.clear();
         }),
         {With(ten, {{5, 0}})}, {}, ten[5]},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        g_mouseCursor = CMouseCursor{};
        Set(row.before);
        Rec().SetU32(CharacterRecord::kSpeedClass, kBase);
        const std::vector<int> before = Held();
        TakeSentPackets();
        ui.log.Clear();
        row.act();
        EXPECT_EQ(TakeSentPackets(), row.sent);
        EXPECT_EQ(g_mouseCursor.GetItemId(), row.carried);
        EXPECT_EQ(Get(), row.after);
        EXPECT_EQ(Held(), before) << "an item was lost or duplicated";
        EXPECT_EQ(Notices(), row.notices);
    }
}

TEST_F(ItemCursor, ASecondReleaseToTheFieldWaitsForTheFirstAnswer)
{
    Set({Plain(4)});
    Pick(Src::kFromItems, 1);
    EXPECT_TRUE(g_mouseCursor.DropCarried());
    EXPECT_EQ(TakeSentPackets(), (std::vector<SentPacket>{Field(57, {1})}));
    g_lastMouseCursor.SetTarget(5, 6);
    Pick(Src::kFromItems, 0);
    EXPECT_FALSE(g_mouseCursor.DropCarried()) << "the first drop is still awaited";
    EXPECT_EQ(g_mouseCursor.GetItemId(), 10);
    g_lastMouseCursor.ReturnCarried();
    EXPECT_EQ(g_lastMouseCursor.GetItemId(), 11) << "a pending drop does not come back on a release";
    EXPECT_TRUE(TakeSentPackets().empty());
}

// ---- the field path ----------------------------------------------------------------

namespace {

class ItemField : public testing::Test {
protected:
    void SetUp() override
    {
        for (int id = 1; id < 20; ++id) {
            ItemRecord r = MakeItemRecord("", "thing" + std::to_string(id), id == kWeapon ? 0 : 9);
            bed.world.AddItem(id, r);
        }
        bed.GoOnline();
        me = &bed.Me(20, 20);
        for (int i = 0; i < CharacterRecord::kItemSlots; ++i)
            me->GetCharRecord().SetItem(i, i < 5 ? uint16_t(10 + i) : 0);
        me->GetCharRecord().SetEquip(0, kWeapon);
        bed.Layer().SetMyCharRecord(me->GetCharRecord());
        bed.Layer().m_inField = 1;
        SetPacketSource(&src);
        bed.Received();
        int px = 0, py = 0;
        CBGLayer::TileToPixel(22, 24, px, py);
        bed.Ground().WorldToScreen(px + 32, py + 16, sx, sy);
    }
    void TearDown() override
    {
        SetPacketSource(nullptr);
        g_mouseCursor = CMouseCursor{};
        g_lastMouseCursor = CMouseCursor{};
    }
    void Answer(const Bytes& b)
    {
        src.Append(b);
        while (src.Available() > 0) {
            const size_t before = src.Taken();
            g_pView->ReceiveDispatch();
            if (src.Taken() == before)
                break;
        }
    }
    void Pick(int slot)
    {
        g_mouseCursor.PickUp(CPlayerInfo::GetItem(me->GetCharRecord(), slot), Src::kFromItems, slot);
        CPlayerInfo::SetItem(me->GetCharRecord(), slot, 0);
    }
    std::vector<int> Items()
    {
        std::vector<int> v;
        for (int i = 0; i < 6; ++i)
            v.push_back(CPlayerInfo::GetItem(me->GetCharRecord(), i));
        return v;
    }

    CCreatureBed bed;
    CMemoryByteSource src;
    CCharacter* me = nullptr;
    int sx = 0, sy = 0;
};

Bytes Drop(int item) { return {'*', CCreatureBed::kMyId, 0, uint8_t(item), 0, 22, 0, 24, 0}; }
Bytes Cat(std::initializer_list<Bytes> parts) { return Concat(parts); }

}  // namespace

TEST_F(ItemField, DropsAndGiftsSettleOnTheServersAnswer)
{
    // Accepted: the item is gone for good, on the ground.
    Pick(1);
    DropMouseItemOnField(sx, sy);
    EXPECT_EQ(bed.Received(), Cat({Drop(11), Bytes{53, 57, 1}}));
    EXPECT_EQ(Items(), (std::vector<int>{10, 12, 13, 14, 0, 0}));
    Answer({43});
    EXPECT_EQ(bed.Layer().GetGroundItem(22, 24), 11);
    EXPECT_EQ(g_lastMouseCursor.GetItemId(), 0);
    EXPECT_EQ(Items(), (std::vector<int>{10, 12, 13, 14, 0, 0}));
    bed.Layer().SetGroundItem(22, 24, 0);

    // Refused: it comes back and the server is told where.
    Pick(0);
    DropMouseItemOnField(sx, sy);
    EXPECT_EQ(bed.Received(), Cat({Drop(10), Bytes{53, 57, 0}}));
    // A second drop while the first is awaited stays on the cursor.
    Pick(0);
    DropMouseItemOnField(sx, sy);
    EXPECT_TRUE(bed.Received().empty());
    EXPECT_EQ(g_mouseCursor.GetItemId(), 12);
    g_mouseCursor.ReturnCarried();
    Answer({44});
    EXPECT_EQ(bed.Received(), (Bytes{53, 56, 3, 10, 0}));
    EXPECT_EQ(Items(), (std::vector<int>{12, 13, 14, 10, 0, 0}));
    EXPECT_EQ(g_lastMouseCursor.GetItemId(), 0);

    // A gift of the worn weapon, refused: back in its box, reported.
    bed.Add(30, 25, 20);
    bed.Layer().m_pHoverCreature = bed.Layer().FindCharacterById(30);
    g_mouseCursor.PickUp(kWeapon, Src::kFromEquipment, 0);
    me->GetCharRecord().SetEquip(0, 0);
    DropMouseItemOnField(sx, sy);
    EXPECT_EQ(bed.Received(), Cat({Bytes{'.', 30, 0, kWeapon, 0}, Bytes{53, 53, 0, 0, 0}}));
    Answer({48});
    EXPECT_EQ(bed.Received(), (Bytes{53, 53, 0, kWeapon, 0}));
    EXPECT_EQ(me->GetCharRecord().Equip(0), kWeapon);

    // Given: gone.
    Pick(2);
    DropMouseItemOnField(sx, sy);
    EXPECT_EQ(bed.Received(), Cat({Bytes{'.', 30, 0, 14, 0}, Bytes{53, 57, 2}}));
    Answer({47});
    EXPECT_EQ(Items(), (std::vector<int>{12, 13, 10, 0, 0, 0}));
    EXPECT_EQ(g_lastMouseCursor.GetItemId(), 0);
    EXPECT_TRUE(bed.Received().empty());
}
