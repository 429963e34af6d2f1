#include <gtest/gtest.h>

#include <climits>

#include "app/CommandRing.h"
#include "app/FrameClock.h"
#include "fixtures/ItemRecordWriter.h"
#include "rules/CalcData.h"
#include "rules/RulesTestSupport.h"
#include "support/TestWorld.h"
#include "windows/PlayerInfo.h"
#include "world/ZoneFlags.h"

namespace {

class CalcDataTest : public testing::Test {
protected:
    CTestWorld world;
};

TEST_F(CalcDataTest, MaximaByClassGroupAndBonusFlags)
{
    struct Case {
        int group;
        int constitution;
        int wisdom;
        std::array<uint32_t, 4> flags;  // HP+40, MP+40, HP+20, MP+20
        int maxHp;
        int maxMp;
    };
    const Case cases[] = {
        {1, 30, 10, {0, 0, 0, 0}, 130, 134},  // 80 + 50; 120 + 14
        {1, 30, 10, {1, 0, 0, 0}, 170, 134},
        {1, 30, 10, {0, 0, 1, 1}, 150, 154},
        {1, 30, 10, {1, 1, 1, 1}, 170, 174},  // 40 wins over 20
        {0, 3, 5, {0, 0, 0, 0}, 205, 57},
        {2, 0, 0, {0, 1, 0, 0}, 80, 160},
        {3, 30, 10, {0, 0, 0, 0}, 250, 64},   // monsters take group 0's bases
        {255, -3, -5, {0, 0, 0, 0}, 195, 43},
    };
    for (const Case& c : cases) {
        g_zoneFlags = c.flags;
        const CharacterRecord r = MakeRecord({0, c.group, 0, 0, c.constitution, c.wisdom, 0});
        EXPECT_EQ(CalcMaxHp(r), c.maxHp) << c.group;
        EXPECT_EQ(CalcMaxMp(r), c.maxMp) << c.group;
    }
}

TEST_F(CalcDataTest, CalendarMoveStepsAndWeight)
{
    CharacterRecord r;
    const int times[][3] = {{0, 17, 1}, {239, 17, 1}, {240, 17, 2}, {2879, 17, 12}, {2880, 18, 1}, {5760 + 2640, 19, 12}};
    for (const auto& t : times) {
        SetI32(r, CharacterRecord::kGameTime, t[0]);
        EXPECT_EQ(GetGameYear(r), t[1]) << t[0];
        EXPECT_EQ(GetGameMonth(r), t[2]) << t[0];
    }
    const int steps[][2] = {{0, 9}, {50, 5}, {100, 4}, {150, 5}, {199, 9}, {200, 9}, {INT_MAX, 9}, {-100, 24}};
    for (const auto& s : steps) {
        SetI32(r, CharacterRecord::kLevel, s[0]);
        EXPECT_EQ(CalcMoveSteps(r), s[1]) << s[0];
    }
    const int weights[][3] = {{0, 6, 410}, {0, 0, 350}, {0, -7, 350}, {1, 10, 600}, {2, 1000, 1500}};
    for (const auto& w : weights) {
        const CharacterRecord s = MakeRecord({0, w[0], w[1], 0, 0, 0, 0});
        EXPECT_EQ(CalcMaxWeight(s), w[2]) << w[1];
    }
}

TEST_F(CalcDataTest, TurnGaugeSteps)
{
    // Drain 1800 / (s * 30) in integers: s 8, 7, 9 (groups 3 and up as 0).
    const int drain[][2] = {{0, 7}, {1, 8}, {2, 6}, {3, 7}, {200, 7}};
    for (const auto& d : drain)
        EXPECT_EQ(CalcTurnGaugeDrain(MakeRecord({0, d[0]})), d[1]) << d[0];
    // Fill: m = (3 Cr + Ag) / 4, s = 13 or 11 - sqrt(m) with floors 6, 4, 5.
    struct Case {
        int group;
        int courage;
        int agility;
        int steps;
    };
    const Case fill[] = {
        {0, 0, 0, 5},      // s 13: 4.6
        {0, 49, 49, 10},   // m 49, s 6
        {0, 100, 100, 10}, // s floors at 6
        {1, 0, 0, 5},      // s 11: 5.45
        {1, 100, 100, 15}, // floor 4
        {2, 100, 100, 12}, // floor 5
        {2, 4, 4, 7},      // m 4: s 9, 6.67
        {0, -50, -50, 5},  // negative m: no root of it
        {3, 49, 49, 10},
    };
    for (const Case& c : fill)
        EXPECT_EQ(CalcTurnGaugeFill(MakeRecord({0, c.group, 0, c.agility, 0, 0, c.courage})), c.steps) << c.group;
}

TEST_F(CalcDataTest, EveryMapCellWithGmGatingAndCommandPushes)
{
    struct Cell {
        int map, x, y;
        int result;
        int destMap, destX, destY;
        int command;  // pushed into the ring (0 none)
        bool gmOnly;
    };
    const Cell cells[] = {
        {0, 185, 374, 1, 1, 163, 136, 0, false}, {0, 187, 376, 1, 1, 163, 136, 0, false},
        {0, 184, 374, 0, 0, 0, 0, 0, false},     {0, 185, 377, 0, 0, 0, 0, 0, false},
        {0, 318, 291, 1, 2, 85, 117, 0, false},  {0, 320, 293, 1, 2, 85, 117, 0, false},
        {0, 321, 293, 0, 0, 0, 0, 0, false},
        {0, 167, 294, 0, 0, 0, 0, 102, true},    {0, 168, 295, 0, 0, 0, 0, 104, true},
        {0, 167, 295, 0, 0, 0, 0, 0, false},
        {1, 161, 111, 1, 0, 188, 361, 0, false}, {1, 163, 113, 1, 0, 188, 361, 0, false},
        {1, 177, 384, 0, 0, 0, 0, 102, false},   {1, 179, 384, 0, 0, 0, 0, 102, false},
        {1, 178, 385, 0, 0, 0, 0, 0, false},
        {1, 263, 389, 1, 3, 124, 402, 0, false}, {1, 265, 391, 1, 3, 124, 402, 0, false},
        {2, 67, 106, 1, 0, 303, 287, 0, false},  {2, 72, 108, 1, 0, 303, 287, 0, false},
        {2, 73, 108, 0, 0, 0, 0, 0, false},
        {3, 114, 401, 1, 1, 256, 390, 0, false}, {3, 116, 403, 1, 1, 256, 390, 0, false},
        {4, 26, 228, 0, 0, 0, 0, 103, false},    {4, 32, 229, 0, 0, 0, 0, 103, false},
        {4, 33, 229, 0, 0, 0, 0, 0, false},
        {5, 216, 189, 0, 0, 0, 0, 104, false},   {5, 230, 191, 0, 0, 0, 0, 104, false},
        {5, 215, 190, 0, 0, 0, 0, 0, false},
        {6, 185, 374, 0, 0, 0, 0, 0, false},     {-1, 185, 374, 0, 0, 0, 0, 0, false},
    };
    for (uint32_t gm : {0u, 1u}) {
        g_gmFlag = gm;
        for (const Cell& c : cells) {
            g_commandRing.Reset();
            world.Layer().m_freeFightNotice = 0;
            int m = -7, x = -7, y = -7;
            EXPECT_EQ(FindMapExit(c.map, c.x, c.y, &m, &x, &y), c.result) << c.map << " " << c.x << "," << c.y;
            if (c.result) {
                EXPECT_EQ(m, c.destMap);
                EXPECT_EQ(x, c.destX);
                EXPECT_EQ(y, c.destY);
            } else {
                EXPECT_EQ(m, -7);  // untouched
            }
            const bool pushed = c.command && (!c.gmOnly || gm);
            EXPECT_EQ(g_commandRing.Count(), pushed ? 1u : 0u) << c.x << "," << c.y << " gm " << gm;
            if (pushed) {
                EXPECT_EQ(g_commandRing.Pop(), static_cast<uint32_t>(c.command));
            }
            EXPECT_EQ(world.Layer().m_freeFightNotice, c.destMap == 3 && c.result ? 1u : 0u);
        }
    }
    g_gmFlag = 0;
}

TEST_F(CalcDataTest, ScoreGainAndPenalty)
{
    struct Case {
        int score, v, gain, penalty;
    };
    const Case cases[] = {
        {100, 100, 130, 70},      // d 0: k 0
        {100, 140, 130, 85},      // d 40: k 0.5; k/100 is a real division
        {140, 100, 155, 110},     // d 40, score above
        {100, 1100, 130, 99},     // d 1000: k 0.96, the loss (1 - k) * 30 rounds to 1
        {29999, 29999, 30000, 29969},
        {10, 10, 40, 0},
        {-5, -5, 25, 0},
        {32767, -32768, 30000, 32737},
    };
    for (const Case& c : cases) {
        CharacterRecord r;
        r.SetU16(CharacterRecord::kFame, static_cast<uint32_t>(c.score));
        EXPECT_EQ(CalcScoreGain(r, c.v), c.gain) << c.score << " vs " << c.v;
        EXPECT_EQ(CalcKillPenalty(r, c.v), c.penalty) << c.score << " vs " << c.v;
    }
}

TEST_F(CalcDataTest, EquipmentSumsSkipRefusedIdsAndNonWearables)
{
    world.AddItem(5, MakeItemRecord("", "Sword", 0, kBonusStrength, 7, kBonusAttack, 3));
    world.AddItem(6, MakeItemRecord("", "Ring", 9, kBonusStrength, 2, kBonusStrength, 4));
    world.AddItem(7, MakeItemRecord("", "Potion", 10, kBonusStrength, 100, kBonusDefence, 100));
    world.AddItem(8, MakeItemRecord("", "Mail", 2, kBonusDefence, -2, kBonusCourage, 1));
    CharacterRecord r = MakeRecord({0, 0, 40, 30, 20, 0, 0});
    for (int slot = 0; slot < 8; ++slot)
        r.SetEquip(slot, static_cast<uint16_t>(std::array<int, 8>{5, 6, 7, 8, 9, 0xFFFF, 0, 5}[slot]));
    EXPECT_EQ(SumStrengthBonus(r), 7 + 2 + 4 + 7);
    EXPECT_EQ(SumAttackBonus(r), 6);
    EXPECT_EQ(SumDefenceBonus(r), -2);
    EXPECT_EQ(SumCourageBonus(r), 1);
    EXPECT_EQ(SumAgilityBonus(r), 0);
    // (2 * 60 + 30) / 4 + 6; (2 * 20 + 30) / 5 - 2.
    EXPECT_EQ(CalcAttack(r), 43);
    EXPECT_EQ(CalcDefence(r), 12);
}

TEST_F(CalcDataTest, LevelsStancesAndClassValues)
{
    struct Case {
        int cls;
        int stats[5];  // strength, agility, constitution, wisdom, courage
        int level, remainder;
    };
    const Case cases[] = {
        {0, {22, 13, 5, 5, 5}, 2, 0},
        {1, {17, 20, 5, 5, 5}, 2, 2},
        {3, {5, 13, 5, 17, 5}, 1, 0},
        {4, {5, 5, 17, 13, 2}, 1, -3},  // below the base: toward zero
        {6, {99, 99, 99, 99, 99}, 42, 0},  // no base row: the stored level
        {7, {1, 1, 1, 1, 1}, 42, 0},
    };
    for (const Case& c : cases) {
        CharacterRecord r = MakeRecord({c.cls, 0, c.stats[0], c.stats[1], c.stats[2], c.stats[3], c.stats[4]});
        SetI32(r, CharacterRecord::kLevel, 42);
        EXPECT_EQ(CalcLevelFromStats(r), c.level) << c.cls;
        EXPECT_EQ(CalcLevelRemainder(r), c.remainder) << c.cls;
    }
    // v = 2 * 20 + 10 = 50; only each class's own stance counts.
    const int stance[][3] = {{0, 0x4, 10}, {1, 0x1C, 10}, {0, 0x18, 0}, {2, 0x10, 8}, {3, 0x4, 0},
                             {4, 0x8, 12}, {5, 0x10, 0}, {6, 0x1C, 0}, {100, 0x1C, 0}};
    for (const auto& s : stance)
        EXPECT_EQ(CalcStanceDefence(MakeRecord({s[0], 0, 0, 10, 20, 0, 0}), static_cast<uint32_t>(s[1])), s[2]);
    const int base[][2] = {{0, 7}, {1, 8}, {2, 7}, {3, 7}, {4, 6}, {5, 6}, {6, 9}, {7, 33}, {100, 33}};
    for (const auto& b : base) {
        CharacterRecord r = MakeRecord({b[0]});
        SetI32(r, CharacterRecord::kSpeedClass, 33);
        EXPECT_EQ(GetClassBaseValue(r), b[1]) << b[0];
    }
}

TEST_F(CalcDataTest, CostsRangesAndFixedCells)
{
    CharacterRecord r;
    SetI32(r, CharacterRecord::kMp, 37);
    const int mp[24] = {0, 20, 5, 30, 15, 30, 15, 15, 20, 5, 15, 20, 37, 20, 20, 15, 15, 20, 50, 20, 10, 20, 10, 20};
    for (int id = 0; id < 24; ++id)
        EXPECT_EQ(GetAbilityMpCost(id, r), mp[id]) << id;
    EXPECT_EQ(GetAbilityMpCost(-1, r), 0);
    EXPECT_EQ(GetAbilityMpCost(24, r), 0);
    EXPECT_EQ(GetAbilityHpCost(0), 20);
    EXPECT_EQ(GetAbilityHpCost(1), 0);
    EXPECT_EQ(GetAbilityHpCost(-1), 0);

    EXPECT_EQ(GetRangeRadius(r), 8);
    r.SetEquip(5, 90);
    EXPECT_EQ(IsEquippedInSlot5(r, 90), 1);
    EXPECT_EQ(GetRangeRadius(r), 10);
    world.Layer().m_battleNumber = 20001;
    EXPECT_EQ(GetRangeRadius(r), 8);
    r.SetEquip(4, 90);
    r.SetEquip(5, 0);
    EXPECT_EQ(IsEquippedInSlot5(r, 90), 0);

    EXPECT_EQ(GetMapMinLevel(4), 15);
    EXPECT_EQ(GetMapMinLevel(5), 35);
    EXPECT_EQ(GetMapMinLevel(0), 1);
    EXPECT_EQ(GetMapMinLevel(-1), 1);
    const int sanctuary[][4] = {{0, 190, 238, 1}, {0, 207, 249, 1}, {0, 208, 240, 0}, {0, 189, 240, 0},
                                {0, 200, 250, 0}, {0, 200, 237, 0}, {1, 200, 240, 0}};
    for (const auto& s : sanctuary)
        EXPECT_EQ(IsInSanctuary(s[0], s[1], s[2]), s[3]) << s[1] << "," << s[2];
}

TEST_F(CalcDataTest, NextRemainCostReadsMyRecordAndClassRow)
{
    g_playerInfo.SetClass(0);
    CharacterRecord& mine = world.MyRecord();
    mine = MakeRecord({0, 0, 19, 15, 7, 7, 7});  // 2 above each base: 10
    SetI32(mine, CharacterRecord::kRemain, 4);
    const CharacterRecord other = MakeRecord({4, 0, 99, 99, 99, 99, 99});
    EXPECT_EQ(CalcNextRemainExp(other), 14 * 14 / 4 + 30);
    SetI32(mine, CharacterRecord::kRemain, -100);
    EXPECT_EQ(CalcNextRemainExp(other), 30);  // floored at 0
}

// Every function over extreme and negative inputs: under the sanitizers no
// overflow, no bad conversion, no read outside a table.
TEST_F(CalcDataTest, ExtremeInputsAreDefined)
{
    const int values[] = {INT_MIN, INT_MIN + 1, -100000, -1, 0, 1, 199, 200, 32767, 65535, INT_MAX};
    world.AddItem(1, MakeItemRecord("", "Big", 0, kBonusStrength, INT_MAX, kBonusStrength, INT_MAX));
    world.AddItem(2, MakeItemRecord("", "Low", 1, kBonusDefence, INT_MIN, kBonusAgility, INT_MIN));
    long long sink = 0;
    auto add = [&sink](auto... v) { ((sink += v), ...); };
    for (int cls = -1; cls <= 7; ++cls) {
        for (int group : {0, 1, 2, 3, 4, 127, 255}) {
            for (int v : values) {
                CharacterRecord r = MakeRecord({cls, group, v, v, v, v, v});
                for (size_t off : {size_t{CharacterRecord::kLevel}, size_t{CharacterRecord::kHp},
                                   size_t{CharacterRecord::kMp}, size_t{CharacterRecord::kRemain},
                                   size_t{CharacterRecord::kGameTime}, size_t{CharacterRecord::kSpeedClass}})
                    SetI32(r, off, v);
                r.SetU16(CharacterRecord::kInputA, static_cast<uint32_t>(v));
                r.SetU16(CharacterRecord::kInputB, static_cast<uint32_t>(v));
                r.SetU16(CharacterRecord::kFame, static_cast<uint32_t>(v));
                r.SetEquip(0, v & 1 ? 1 : 2);
                r.SetEquip(1, static_cast<uint16_t>(v));
                for (int id = -2; id <= 24; ++id) {
                    add(CalcDamage(id, r, r));
                    add(GetAbilityMpCost(id, r));
                }
                add(RollHit(r, v), RollHit(r, v == INT_MIN ? INT_MAX : -v), CalcMaxHp(r), CalcMaxMp(r), CalcMaxWeight(r));
                add(CalcNextRemainExp(r), GetGameYear(r), GetGameMonth(r), CalcMoveSteps(r));
                add(CalcTurnGaugeDrain(r), CalcTurnGaugeFill(r), GetRangeRadius(r), CalcAttack(r));
                add(CalcDefence(r), CalcStanceDefence(r, 0xFFFFFFFF), CalcLevelFromStats(r));
                add(CalcLevelRemainder(r), GetClassBaseValue(r), CalcScoreGain(r, v), CalcKillPenalty(r, v));
                int m = 0, x = 0, y = 0;
                add(FindMapExit(v, v, v, &m, &x, &y), IsInSanctuary(v, v, v), GetMapMinLevel(v));
                EXPECT_GE(CalcTurnGaugeDrain(r), 1);
                EXPECT_GE(CalcTurnGaugeFill(r), 1);
                EXPECT_LE(CalcScoreGain(r, v), 30000);
                EXPECT_GE(CalcKillPenalty(r, v), 0);
            }
        }
    }
    EXPECT_NE(sink, 0);
}

}  // namespace
