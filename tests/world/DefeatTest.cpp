#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "app/MouseState.h"
#include "app/QuillonView.h"
#include "app/StringTable.h"
#include "fixtures/ItemRecordWriter.h"
#include "platform/Crt.h"
#include "rules/CalcData.h"
#include "support/SentPackets.h"
#include "support/CreatureBed.h"
#include "world/ObjLayer.h"
#include "world/StageChange.h"
#include "world/StageLoader.h"

namespace {

constexpr uint8_t kMe = CCreatureBed::kMyId;

Bytes U16(int v) { return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)}; }
Bytes U32(int64_t v)
{
    const auto u = static_cast<uint32_t>(v);
    return {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
            static_cast<uint8_t>(u >> 24)};
}
Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// The packets of a stream of commands 53 and 30, as "53/19", "30/6".
std::vector<std::string> Packets(const Bytes& b)
{
    std::vector<std::string> out;
    size_t i = 0;
    while (i + 1 < b.size()) {
        if (b[i] == 53) {
            const int field = b[i + 1];
            out.push_back("53/" + std::to_string(field));
            i += 2 + static_cast<size_t>(CharacterFieldSendSize(field));
        } else if (b[i] == 30 && i + 7 <= b.size()) {
            out.push_back("30/" + std::to_string(b[i + 4]));
            i += 7 + static_cast<size_t>(b[i + 5] | (b[i + 6] << 8));
        } else {
            out.push_back("?" + std::to_string(b[i]));
            break;
        }
    }
    return out;
}

std::vector<std::string> Lines(const FakeUi& ui)
{
    std::vector<std::string> out;
    for (const std::string& c : ui.log.Calls())
        if (c.rfind("AddLine", 0) == 0)
            for (int id : {14, 17, 69, 99})
                if (c == CCallLog::Call("AddLine", GetGameString(id)))
                    out.push_back(std::to_string(id));
    return out;
}

class DefeatTest : public testing::Test {
protected:
    void SetUp() override
    {
        bed.GoOnline();
        ItemRecord keep = MakeItemRecord("keep", "keep");
        keep.transferMode = 2;  // may be given, not dropped
        bed.world.AddItem(5, MakeItemRecord("five", "five"));
        bed.world.AddItem(6, keep);
        bed.world.AddItem(7, MakeItemRecord("seven", "seven"));
        me = &bed.Me(10, 10);
        CharacterRecord& r = me->GetCharRecord();
        for (int s = 0; s < CharacterRecord::kItemSlots; ++s)
            r.SetItem(s, 0);
        r.SetU32(CharacterRecord::kExperience, 123457);
        r.SetU32(CharacterRecord::kMoney, 98765);
        r.SetU32(CharacterRecord::kGameTime, 4321);
        r.SetU32(CharacterRecord::kLevel, 12);
        g_currentMapId = 2;
        bed.Layer().m_inBattle = 1;
        bed.Layer().m_battleNumber = 0x0105;
        bed.Layer().m_battleCentreX = 10;
        bed.Layer().m_battleCentreY = 10;
    }
    // My character dies by killer and the dying action runs to its end.
    Bytes Die(CCreature* killer)
    {
        me->OrderDie(killer);
        bed.Frame(41);
        return bed.Received();
    }

    CCreatureBed bed;
    CCharacter* me = nullptr;
};

}  // namespace

TEST_F(DefeatTest, AWantedPlayerKilledByAPlayerLosesAndGoesToJail)
{
    CharacterRecord& r = me->GetCharRecord();
    r.SetU16(CharacterRecord::kWanted, 3);
    r.SetEquip(2, 5);
    r.SetEquip(3, 6);
    const uint16_t items[] = {5, 6, 5, 7, 6};
    for (int s = 0; s < 5; ++s)
        r.SetItem(s, items[s]);
    CCharacter& killer = bed.Add(40, 11, 10);
    plat::SRand(77);
    int divisor = plat::Rand() % 5;
    divisor = divisor == 0 ? 5 : divisor;
    const int moneyDivisor = std::array<int, 3>{10, 5, 3}[static_cast<size_t>(plat::Rand() % 3)];
    plat::SRand(77);
    const Bytes got = Die(&killer);

    const int64_t exp = 123457 - 123457 / divisor + 123457 / 10000;
    const int64_t loss = 98765 / moneyDivisor - 98765 / 1000;
    const Bytes expected = Cat({
        {53, 53, 2}, U16(0),                                 // the equipment lost
        {53, 51, 4}, U16(6), {53, 51, 3}, U16(7),            // every held slot, the last first
        {53, 51, 2}, U16(5), {53, 51, 1}, U16(6), {53, 51, 0}, U16(5),
        {53, 52, 0}, U16(6), {4}, U16(0),                    // the lost leave, the last filling in:
        {53, 52, 3}, U16(0), {3}, U16(0),                    // the worn 5 takes slot 0's, the 7,
        {53, 52, 2}, U16(0), {2}, U16(0),                    // slot 2's 5; slot 0's is gone already
        {53, 19}, U32(exp), {53, 30}, U32(98765 - loss),     // experience, money
        {53, 21}, U16(1), {53, 69}, U32(4321),               // a term in jail from the game time
        {53, 9}, U32(20),                                    // HP
        {30, 0, 5, 1, 6}, U16(25 + 2 * 4), {kMe, 0}, U16(40),  // the battle end
        U16(0), U16(0), U16(0), {4}, U16(12), U16(1), U16(3), U32(loss), U32(exp),
        U16(5), U16(7), U16(5), U16(5),
    });
    EXPECT_EQ(got, expected);
    EXPECT_EQ(r.Item(0), 6);
    EXPECT_EQ(r.Item(1), 6);
    EXPECT_EQ(r.Item(2), 0);
    EXPECT_EQ(r.Equip(3), 6);
    for (size_t i = 0; i < CharacterRecord::kSize; ++i) {
        if (i < CharacterRecord::kTurnTimer || i >= CharacterRecord::kTurnTimer + 4) {
            ASSERT_EQ(bed.Layer().MyRecord().bytes[i], r.bytes[i]) << "every change reached the own record: " << i;
        }
    }
    EXPECT_EQ(g_toBeJailed, 1u);
    EXPECT_EQ(bed.Layer().m_battleOver, 2u);
    EXPECT_EQ(Lines(bed.ui), (std::vector<std::string>{"69", "99", "17"}));
    EXPECT_EQ(bed.Layer().m_jailStartTime, 4321);
    EXPECT_EQ(me->IsActive(), 1) << "online the server takes the dead away";

    // The right click leaves the battle for the jail: its line, the first
    // stage loaded, the entry asked at the jail's cell.
    bed.world.Platform().settings.SetString("Control Panel\\International", "Locale", "00000412");
    bed.ui.log.Clear();
    g_mouseState.ResetMouseEvents();
    g_mouseState.SetMouseEvent(MOUSE_RDOWN, 400, 300);
    bed.Layer().PickAndClick();
    g_mouseState.ResetMouseEvents();
    ASSERT_EQ(bed.Layer().m_stageChanging, 1u);
    // The stage loads into this field's ground.
    g_pView->m_pBGLayer = &bed.Ground();
    for (int i = 0; i <= CStageChange::kWipeFrames; ++i)
        bed.Layer().StageChange().Update(nullptr);
    g_pView->m_pBGLayer = nullptr;
    const std::vector<std::string>& calls = bed.ui.log.Calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), CCallLog::Call("AddLine", "감옥으로 보내졌습니다.")), calls.end())
        << bed.ui.log.Joined();
    EXPECT_EQ(g_lastLoadedStage, 0);
    const Bytes left = bed.Received();
    const Bytes enter = Cat({{3, 1}, U16(353), U16(243)});
    ASSERT_GE(left.size(), enter.size());
    EXPECT_EQ(Bytes(left.end() - static_cast<long>(enter.size()), left.end()), enter);
    EXPECT_EQ(g_toBeJailed, 0u);
    EXPECT_EQ(g_inJail, 1u);
}

TEST_F(DefeatTest, WhatEachDefeatTakes)
{
    struct Case {
        const char* what;
        int battle;
        int map;
        int killerKind;    // 0 a player, 1305 a monster
        bool killerAlly;   // of my group
        int jailed, wanted, level;
        std::vector<std::string> packets;
        std::vector<std::string> lines;
        bool toJail;
    };
    const Case cases[] = {
        {"wanted, death match, another group", 20001, 2, 0, false, 0, 6, 12,
         {"53/31", "53/35", "53/9", "30/6"}, {"17"}, false},
        {"wanted, death match, my group", 20001, 2, 0, true, 0, 3, 12, {"53/9", "30/6"}, {"17"}, false},
        {"not wanted, death match", 20005, 2, 0, false, 0, 4, 12, {"53/31", "53/35", "53/9", "30/6"}, {"14", "17"}, false},
        {"wanted but killed by a monster", 5, 2, 1305, false, 0, 3, 12, {"53/51", "53/52", "53/19", "53/9", "30/6"},
         {"69", "14", "17"}, false},
        {"a monster on map 93", 5, 93, 1305, false, 0, 0, 12, {"53/51", "53/52", "53/9", "30/6"}, {"14", "17"}, false},
        {"a monster below level 11", 5, 2, 1305, false, 0, 0, 10, {"53/51", "53/52", "53/9", "30/6"}, {"14", "17"}, false},
        {"wanted in jail's map", 5, 3, 0, false, 0, 3, 12, {"53/51", "53/52", "53/9", "30/6"}, {"14", "17"}, false},
        {"five terms and wanted once", 5, 2, 0, false, 5, 1, 12,
         {"53/51", "53/52", "53/19", "53/30", "53/21", "53/69", "53/9", "30/6"}, {"69", "99", "17"}, true},
        {"four terms, wanted 4", 5, 2, 0, false, 4, 4, 12, {"53/51", "53/52", "53/9", "30/6"}, {"14", "17"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CCreatureBed& b = bed;
        me->PlaceAt(10, 10);
        me->SetStatusFlags(0);
        CharacterRecord& r = me->GetCharRecord();
        r.SetU32(CharacterRecord::kHp, 100);
        r.SetU16(CharacterRecord::kJailed, static_cast<uint32_t>(c.jailed));
        r.SetU16(CharacterRecord::kWanted, static_cast<uint32_t>(c.wanted));
        r.SetU32(CharacterRecord::kLevel, static_cast<uint32_t>(c.level));
        r.SetItem(0, 7);
        g_currentMapId = c.map;
        g_toBeJailed = 0;
        b.Layer().m_battleNumber = static_cast<uint32_t>(c.battle);
        CCharacter& killer = b.Add(c.killerKind ? 1400 : 41, 11, 10, c.killerKind);
        me->SetGroupKey({9, kMe, 41});
        killer.SetGroupKey({static_cast<uint16_t>(c.killerAlly ? 9 : 41), kMe, 41});
        // A roll of experience loss that takes some: rand % 5 <= 2.
        unsigned seed = 1;
        for (;; ++seed) {
            plat::SRand(seed);
            if (plat::Rand() % 5 <= 2)
                break;
        }
        plat::SRand(seed);
        b.ui.log.Clear();
        const std::vector<std::string> packets = Packets(Die(&killer));
        EXPECT_EQ(packets, c.packets);
        EXPECT_EQ(Lines(b.ui), c.lines);
        EXPECT_EQ(g_toBeJailed, c.toJail ? 1u : 0u);
        EXPECT_EQ(r.I32(CharacterRecord::kHp), 20);
        killer.RemoveFromMap();
        // My character lies dead; bring it back as a new one.
        me->RemoveFromMap();
        me = &b.Me(10, 10);
        for (int s = 0; s < CharacterRecord::kItemSlots; ++s)
            me->GetCharRecord().SetItem(s, 0);
    }
}

TEST_F(DefeatTest, FameFallsByThePenaltyAndTheLossIsCounted)
{
    bed.Layer().m_battleNumber = 20001;
    CharacterRecord& r = me->GetCharRecord();
    r.SetU16(CharacterRecord::kFame, 1200);
    r.SetU16(CharacterRecord::kProfileValue, 4);
    CCharacter& killer = bed.Add(41, 11, 10);
    killer.GetCharRecord().SetU16(CharacterRecord::kFame, 900);
    const int fame = CalcKillPenalty(r, 900);
    const Bytes got = Die(&killer);
    EXPECT_EQ(Bytes(got.begin(), got.begin() + 8), Cat({{53, 31}, U16(fame), {53, 35}, U16(5)}));
    EXPECT_LT(fame, 1200);
}

TEST_F(DefeatTest, OfflineOrOutsideOfMyCharacterNothingIsTaken)
{
    CCharacter& killer = bed.Add(41, 11, 10);
    CCharacter& other = bed.Add(42, 12, 10);
    other.OrderDie(&killer);
    bed.Frame(41);
    EXPECT_TRUE(bed.Received().empty()) << "another's death sends nothing";
    CloseTestMainSocket();
    bed.server.reset();
    me->GetCharRecord().SetU32(CharacterRecord::kExperience, 5);
    me->OrderDie(&killer);
    bed.Frame(41);
    EXPECT_EQ(me->GetCharRecord().I32(CharacterRecord::kExperience), 5);
    EXPECT_EQ(bed.Layer().m_battleOver, 0u);
    EXPECT_FALSE(me->IsActive()) << "offline the dead leave";
}
