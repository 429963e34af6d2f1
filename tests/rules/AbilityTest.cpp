#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "app/CommandRing.h"
#include "rules/AbilitySet.h"
#include "rules/CreatureStatus.h"
#include "rules/RulesTestSupport.h"
#include "support/Harness.h"

namespace {

class AbilityTest : public testing::Test {
protected:
    void SetUp() override { ResetGameGlobals(); }
    void TearDown() override { ResetGameGlobals(); }
};

// The owned abilities as the ability windows list them (an owned bit read
// with the owner's class group).
std::set<int> Owned(const CAbilitySet& set)
{
    std::set<int> ids;
    for (int category = 1; category <= 6; ++category)
        for (int n = 0; const AbilityRow* row = set.GetNthOwned(category, n); ++n)
            ids.insert(row->id);
    return ids;
}

TEST_F(AbilityTest, RowsAreIdOrderedAndUniquePerCategoryBitAndGroup)
{
    std::set<std::tuple<int, uint32_t, int>> seen;
    for (int i = 0; i < kAbilityCount; ++i) {
        const AbilityRow& row = AbilityTable[static_cast<size_t>(i)];
        EXPECT_EQ(row.id, i);
        EXPECT_EQ(std::popcount(row.bit), 1) << i;
        EXPECT_TRUE(row.category == 1 || row.category == 2 || row.category == 6) << i;
        EXPECT_TRUE(row.classGroup <= 2 || row.classGroup == kAnyClassGroup) << i;
        EXPECT_TRUE(seen.insert({row.category, row.bit, row.classGroup}).second) << i;
        EXPECT_NE(row.korean[0], '\0');
        EXPECT_NE(row.english[0], '\0');
    }
    EXPECT_STREQ(AbilityTable[0].english, "Escape");
    EXPECT_EQ(AbilityTable[0].bit, 0x80000000u);
    EXPECT_STREQ(AbilityTable[23].english, "Psychicforce");
    EXPECT_EQ(CAbilitySet::GetRow(-1), nullptr);
    EXPECT_EQ(CAbilitySet::GetRow(24), nullptr);
}

TEST_F(AbilityTest, ANewSetOwnsAndArmsNothing)
{
    CAbilitySet set;
    for (int c = 0; c <= 8; ++c) {
        EXPECT_EQ(set.CountOwned(c), 0);
        EXPECT_EQ(set.GetCurrentRow(c), nullptr);
        EXPECT_EQ(set.GetNthOwned(c, 0), nullptr);
    }
    EXPECT_EQ(set.GetSelectedAbilityId(), -1);
    EXPECT_EQ(set.SelectCategory(1), 0);  // nothing current yet
    EXPECT_EQ(set.Select(1), 0);          // not owned
}

TEST_F(AbilityTest, TheOwnersClassGroupReadsTheSharedBits)
{
    for (int group : {0, 1, 2, 3}) {
        const CharacterRecord owner = MakeRecord({0, group});
        CAbilitySet set(&owner);
        set.SetOwned(1);  // bit 0x1 of category 1: PowerBreak, FireStorm or ElectricEye
        ASSERT_EQ(set.CountOwned(1), 1);
        const AbilityRow* row = set.GetNthOwned(1, 0);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->id, (group == 1 ? 16 : group == 2 ? 8 : 1)) << group;
        EXPECT_EQ(set.GetNthOwned(1, 1), nullptr);
        EXPECT_EQ(set.GetNthOwned(1, 32), nullptr);
    }
}

TEST_F(AbilityTest, ClassRestrictionRefusesOtherGroups)
{
    const CharacterRecord warrior = MakeRecord({0, 0});
    CAbilitySet set(&warrior);
    EXPECT_EQ(set.SetOwnedIfAllowed(8), 1);
    EXPECT_EQ(set.GetOwnedMask(1), 0u);
    set.SetOwnedIfAllowed(0);  // any group
    set.SetOwnedIfAllowed(2);
    EXPECT_EQ(set.GetOwnedMask(2), 0x80000002u);
    set.ToggleOwnedIfAllowed(2);
    set.ToggleOwnedIfAllowed(9);  // group 2's: refused
    EXPECT_EQ(set.GetOwnedMask(2), 0x80000000u);
    set.ToggleOwned(0);
    EXPECT_EQ(set.GetOwnedMask(2), 0u);
}

TEST_F(AbilityTest, SelectArmsAndCyclesWithOneRefreshPush)
{
    const CharacterRecord mage = MakeRecord({4, 2});
    CAbilitySet set(&mage);
    for (int id : {8, 11, 14, 1})  // 1 is group 0's and stays out of the cycle
        set.SetOwned(id);
    EXPECT_EQ(set.CountOwned(1), 3);
    ASSERT_EQ(set.Select(8), 1);
    ASSERT_EQ(set.SelectCategory(1), 1);
    EXPECT_EQ(set.GetSelectedAbilityId(), 8);
    EXPECT_EQ(set.SelectCategory(7), 0);
    EXPECT_EQ(set.SelectCategory(0), 0);
    const int expected[] = {11, 14, 8, 11};
    for (int id : expected) {
        set.SelectNext(1);
        EXPECT_EQ(set.GetCurrentRow(1)->id, id);
        EXPECT_EQ(g_commandRing.Count(), 1u);
        EXPECT_EQ(g_commandRing.Pop(), kCommandRefreshAbilities);
    }
    // A current ability no longer among the owned: nothing happens.
    set.ToggleOwned(11);
    set.SelectNext(1);
    EXPECT_EQ(set.GetCurrentRow(1)->id, 11);
    EXPECT_TRUE(g_commandRing.IsEmpty());
    set.ClearSelectedCategory();
    EXPECT_EQ(set.GetSelectedAbilityId(), -1);
}

TEST_F(AbilityTest, SharedSlotOfCategoriesFourAndFive)
{
    CAbilitySet set;
    // No row uses categories 4 and 5: category 7 is the sum of their slots
    // and the further one, -3 while all are empty.
    EXPECT_EQ(set.GetCurrentId(7), -3);
    EXPECT_EQ(set.GetCurrentRow(7), nullptr);
    set.SetOwned(0);
    ASSERT_EQ(set.Select(0), 1);
    EXPECT_EQ(set.GetCurrentRow(2)->id, 0);
    EXPECT_EQ(set.GetCurrentId(7), -3);
}

TEST_F(AbilityTest, LearnTableByClassAndLevel)
{
    struct Case {
        int cls;
        int group;
        int level;
        std::set<int> owned;
    };
    const Case cases[] = {
        {0, 0, 1, {1}},
        {0, 0, 2, {1, 0, 2}},
        {0, 0, 60, {1, 0, 2, 3, 4, 5, 7}},  // 16 is group 1's
        {0, 1, 60, {0, 16}},                // a record whose group disagrees
        {1, 0, 59, {1, 0, 2, 3, 4, 6}},
        {1, 0, 60, {1, 0, 2, 3, 4, 6, 7}},
        {2, 1, 40, {16, 0, 17, 18, 19, 21, 23}},
        {3, 1, 25, {16, 0, 17, 18, 20, 22}},
        {4, 2, 39, {8, 0, 9, 10, 11, 12}},
        {4, 2, 40, {8, 0, 9, 10, 11, 12, 14, 15}},
        {5, 2, 40, {8, 0, 9, 10, 11, 13, 14, 15}},
        {5, 2, -5, {8}},
        {0, 3, 60, {}},  // no class group: nothing is allowed
        {6, 0, 99, {}},
        {100, 3, 99, {}},
    };
    for (const Case& c : cases) {
        CharacterRecord rec = MakeRecord({c.cls, c.group});
        SetI32(rec, CharacterRecord::kLevel, c.level);
        CAbilitySet set(&rec);
        LearnAbilities(set, rec);
        EXPECT_EQ(Owned(set), c.owned) << "class " << c.cls << " level " << c.level;
        LearnAbilities(set, rec);  // adds, never toggles
        EXPECT_EQ(Owned(set), c.owned);
    }
}

}  // namespace
