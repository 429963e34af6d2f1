#include <gtest/gtest.h>

#include "platform/Crt.h"
#include "rules/CalcData.h"
#include "rules/RulesTestSupport.h"
#include "support/TestWorld.h"

namespace {

// Attacker: S 40, Ag 30, K 20, W 50, Cr 10, skill A 100 (level 18), skill B
// 100 (level 20): TA 61, TB 63. Target: class 0, K 20, Ag 10: defence 10,
// H = 6, HP 1000.
CharacterRecord Attacker(int cls = 0)
{
    CharacterRecord r = MakeRecord({cls, 0, 40, 30, 20, 50, 10});
    r.SetU16(CharacterRecord::kInputA, 100);
    r.SetU16(CharacterRecord::kInputB, 100);
    return r;
}

CharacterRecord Target(int cls = 0, int hp = 1000)
{
    CharacterRecord r = MakeRecord({cls, 0, 0, 10, 20, 0, 0});
    SetI32(r, CharacterRecord::kHp, hp);
    return r;
}

class CalcDamageTest : public testing::Test {
protected:
    CTestWorld world;
};

TEST_F(CalcDamageTest, EveryAbilityIdFollowsItsFormulaAndSpread)
{
    // Base values computed by hand from the formulas; DevilHealing and
    // Psychicforce return theirs without the spread.
    struct Row {
        int id;
        int cls;
        int base;
        bool spread;
    };
    const Row rows[] = {
        {1, 0, 44, true},   // sqrt(15S+10Ag+5Cr)=30 + 20 - 6
        {1, 1, 43, true},   // class 1: sqrt(12S+12Ag+5Cr)=29 + 20 - 6
        {3, 0, 54, true},   {4, 0, 49, true},  {5, 0, 44, true},  {6, 0, 63, true},
        {8, 0, 43, true},   // sqrt(15K+10W+5Cr)=29 + 20 - 6
        {8, 5, 43, true},   // class 5: sqrt(12K+12W+5Cr)=29
        {11, 0, 38, true},  {13, 0, 74, true},  // trunc((sqrt(500)+15)*2)
        {14, 0, 21, false},                     // sqrt(61*30*0.25): W/200 is 0.25, not 0
        {16, 0, 47, true},  {16, 3, 45, true},  {19, 0, 42, true},
        {20, 0, 67, true},  {21, 0, 73, true},
        {23, 0, 21, false},  // sqrt(630*0.25)=12 + sqrt(630*0.15)=9
        {0, 0, 0, true},    {2, 0, 0, true},   {7, 0, 0, true},   {9, 0, 0, true},
        {10, 0, 0, true},   {12, 0, 0, true},  {15, 0, 0, true},  {17, 0, 0, true},
        {18, 0, 0, true},   {22, 0, 0, true},  {24, 0, 0, true},  {-2, 0, 0, true},
    };
    const CharacterRecord target = Target();
    for (const Row& row : rows) {
        for (uint32_t seed : {1u, 77u, 4242u}) {
            plat::SRand(seed);
            Draws d(seed);
            const int expected = row.spread ? row.base + d.Next() % 10 : row.base;
            EXPECT_EQ(CalcDamage(row.id, Attacker(row.cls), target), expected)
                << "id " << row.id << " class " << row.cls << " seed " << seed;
            // Exactly the draws the formula makes: the next one is the same.
            EXPECT_EQ(plat::Rand(), d.Next()) << "id " << row.id;
        }
    }
    EXPECT_EQ(g_lastStatLevelA, 18);
    EXPECT_EQ(g_lastStatLevelB, 20);
}

TEST_F(CalcDamageTest, PlainAttackRollsBetweenLoAndHi)
{
    // A = (2*40+30)/4 = 27; lo = 21+2-6 = 17, hi = 25+8-6 = 27; lo += 10*10/100.
    for (uint32_t seed = 1; seed < 40; ++seed) {
        plat::SRand(seed);
        Draws d(seed);
        EXPECT_EQ(CalcDamage(-1, Attacker(), Target()), 18 + d.Next() % 9);
    }
}

TEST_F(CalcDamageTest, PlainAttackEdgesDrawNothing)
{
    plat::SRand(5);
    Draws d(5);
    // Courage 100 lifts lo to hi: hi without a draw.
    CharacterRecord brave = Attacker();
    SetI32(brave, CharacterRecord::kCourage, 100);
    EXPECT_EQ(CalcDamage(-1, brave, Target()), 27);
    // A defence far above the attack: both fall to 1.
    CharacterRecord wall = Target();
    SetI32(wall, CharacterRecord::kConstitution, 5000);
    EXPECT_EQ(CalcDamage(-1, Attacker(), wall), 1);
    EXPECT_EQ(plat::Rand(), d.Next());
}

TEST_F(CalcDamageTest, NegativeBaseBecomesOneAndZeroStaysZero)
{
    CharacterRecord wall = Target();
    SetI32(wall, CharacterRecord::kConstitution, 5000);  // H = 1000
    plat::SRand(9);
    Draws d(9);
    EXPECT_EQ(CalcDamage(1, Attacker(), wall), 1 + d.Next() % 10);
    // Thunder Bolt: sqrt(15W+10Ag+5Cr)=33 + 15 - H is 0 for H = 48, D = 94.
    CharacterRecord exact = Target();
    SetI32(exact, CharacterRecord::kConstitution, 230);  // (460+10)/5 = 94
    EXPECT_EQ(CalcDamage(19, Attacker(), exact), d.Next() % 10);
}

TEST_F(CalcDamageTest, PsychicforceLeavesAPlayerOneHpWithoutCritical)
{
    // Skill B 0 (TB 30), W 24, Ag 6: 6 + 3 = 9 against 5 HP left.
    CharacterRecord caster = MakeRecord({2, 1, 0, 6, 0, 24, 0});
    caster.SetU16(CharacterRecord::kInputB, 0);
    plat::SRand(3);
    Draws d(3);
    EXPECT_EQ(CalcDamage(23, caster, Target(0, 5)), 4);
    EXPECT_EQ(CalcDamage(23, caster, Target(0, 9)), 8);
    EXPECT_EQ(CalcDamage(23, caster, Target(0, 10)), 9);
    EXPECT_EQ(plat::Rand(), d.Next());
}

// With the skill inside the window: rand%10 == 0 starts the critical, whose
// second draw r gives v*p/100 + 2v (p = 100 for r 0, else 10r).
int CriticalOf(int v, uint32_t seed)
{
    Draws d(seed);
    if (d.Next() % 10 != 0)
        return v;
    const int r = d.Next() % 10;
    return v * (r == 0 ? 100 : 10 * r) / 100 + 2 * v;
}

TEST_F(CalcDamageTest, CriticalWindowsAreInclusive)
{
    struct Case {
        int id;
        int skill;
        bool inWindow;
        int base;
    };
    // DevilHealing on skill A: level 78 or 77 both give TA 95, v 26.
    // Psychicforce on a monster (class 100): TB 95 at levels 77 and 78, W 50,
    // Ag 30: 21 + 16.
    const Case cases[] = {
        {14, 1976, false, 26}, {14, 1977, true, 26}, {14, 2028, true, 26}, {14, 2029, false, 26},
        {23, 1483, false, 37}, {23, 1484, true, 37}, {23, 1522, true, 37}, {23, 1523, false, 37},
    };
    const CharacterRecord monster = Target(100, 1);
    bool sawCritical = false;
    for (const Case& c : cases) {
        CharacterRecord caster = Attacker();
        caster.SetU16(c.id == 14 ? CharacterRecord::kInputA : CharacterRecord::kInputB, static_cast<uint32_t>(c.skill));
        for (uint32_t seed = 1; seed <= 60; ++seed) {
            plat::SRand(seed);
            const int expected = c.inWindow ? CriticalOf(c.base, seed) : c.base;
            sawCritical |= expected != c.base;
            EXPECT_EQ(CalcDamage(c.id, caster, monster), expected) << c.id << " skill " << c.skill << " seed " << seed;
        }
    }
    EXPECT_TRUE(sawCritical);
}

TEST_F(CalcDamageTest, ArenaBattlesHaveNoCriticalAgainstPlayers)
{
    CharacterRecord caster = Attacker();
    caster.SetU16(CharacterRecord::kInputA, 2000);
    world.Layer().m_battleNumber = 20001;
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        plat::SRand(seed);
        EXPECT_EQ(CalcDamage(14, caster, Target()), 26);
        plat::SRand(seed);
        EXPECT_EQ(CalcDamage(14, caster, Target(100)), CriticalOf(26, seed));
    }
    world.Layer().m_battleNumber = 20000;
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        plat::SRand(seed);
        EXPECT_EQ(CalcDamage(14, caster, Target()), CriticalOf(26, seed));
    }
}

TEST_F(CalcDamageTest, StatLevelIndicesClampIntoTheTables)
{
    CharacterRecord caster = Attacker();
    caster.SetU16(CharacterRecord::kInputA, 0x8000);  // -32768
    caster.SetU16(CharacterRecord::kInputB, 0x7FFF);
    plat::SRand(1);
    CalcDamage(14, caster, Target());
    EXPECT_EQ(g_lastStatLevelA, 0);
    EXPECT_EQ(g_lastStatLevelB, 78);
}

TEST(RollHit, ThresholdIsTheSquaredOddsTimes150)
{
    struct Case {
        int agility;
        int v;
        int threshold;
    };
    const Case cases[] = {
        {10, 10, 84},   // (10 + 5) / 20 = 0.75
        {30, 90, 58},   // 0.625^2 * 150 = 58.59
        {0, 1, 150},    // always
        {50, 49, 86},   // (50 + 25) / 99
    };
    for (const Case& c : cases) {
        const CharacterRecord rec = MakeRecord({0, 0, 0, c.agility, 0, 0, 0});
        for (uint32_t seed = 1; seed <= 100; ++seed) {
            plat::SRand(seed);
            Draws d(seed);
            EXPECT_EQ(RollHit(rec, c.v), d.Next() % 100 < c.threshold ? 1 : 0) << c.agility << "/" << c.v;
        }
    }
}

TEST(RollHit, NoOddsMeansAHitWithoutADraw)
{
    plat::SRand(11);
    Draws d(11);
    EXPECT_EQ(RollHit(MakeRecord({}), 0), 1);
    EXPECT_EQ(RollHit(MakeRecord({0, 0, 0, -5, 0, 0, 0}), 5), 1);
    EXPECT_EQ(plat::Rand(), d.Next());
}

}  // namespace
