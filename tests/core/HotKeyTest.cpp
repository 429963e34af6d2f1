#include <gtest/gtest.h>

#include "app/MouseState.h"
#include "core/HotKey.h"

namespace {

class HotKeyTest : public testing::Test {
protected:
    void SetUp() override { ResetInputState(); }
    void TearDown() override
    {
        FreeHotKeys();
        ResetInputState();
    }
    // The view's latch after the keys went down, the last one last.
    void Press(std::initializer_list<uint32_t> keys)
    {
        for (uint32_t k : keys) {
            g_keyState[k] = 1;
            g_lastKey = k;
        }
    }
    void Register(bool gm)
    {
        AddHotKey(100, {29, 15});
        AddHotKey(4, {29, 31});
        AddHotKey(5, {29, 30});
        if (gm)
            AddHotKey(48, {29, 48});
        AddHotKey(18, {29, 45});
    }
};

}  // namespace

TEST_F(HotKeyTest, CtrlCombinations)
{
    Register(false);
    Press({29, 31});
    EXPECT_EQ(GetHotKeyDown(), 4u);
    EXPECT_EQ(IsHotKeyDown(4), 1);
    EXPECT_EQ(IsHotKeyDown(5), 0);
    EXPECT_EQ(IsHotKeyDown(77), 0);
    g_lastKey = 0;  // no key since the last reset
    EXPECT_EQ(GetHotKeyDown(), 0u);
    EXPECT_EQ(IsHotKeyDown(4), 0);

    ResetInputState();
    Press({29, 48});
    EXPECT_EQ(GetHotKeyDown(), 0u);  // registered only for a game master
    FreeHotKeys();
    Register(true);
    EXPECT_EQ(GetHotKeyDown(), 48u);
}

TEST_F(HotKeyTest, FirstMatchInListOrder)
{
    AddHotKey(7, {29});
    AddHotKey(8, {29, 31});
    Press({29, 31});
    EXPECT_EQ(GetHotKeyDown(), 7u);
    SetHotKeyKeys(7, {29, 30});
    EXPECT_EQ(GetHotKeyDown(), 8u);
    EXPECT_FALSE(SetHotKeyKeys(99, {1}));
}

TEST_F(HotKeyTest, KeysAreChecked)
{
    EXPECT_FALSE(AddHotKey(1, {}));
    EXPECT_FALSE(AddHotKey(1, {1, 2, 3, 4, 5, 6}));
    EXPECT_FALSE(AddHotKey(1, {29, 256}));
    EXPECT_FALSE(AddHotKey(1, {29, 0}));
    EXPECT_EQ(g_hotKeys, nullptr);
    EXPECT_TRUE(AddHotKey(1, {1, 2, 3, 4, 5}));

    Press({30});
    EXPECT_EQ(IsKeyPressed(30), 1);
    EXPECT_EQ(IsKeyPressed(31), 0);
    EXPECT_EQ(GetPressedKey(), 30u);
    g_keyState[30] = 0;  // released
    EXPECT_EQ(IsKeyPressed(30), 0);
    EXPECT_EQ(GetPressedKey(), 0u);
    // A code beyond the table is never down (no wrap onto code 30).
    g_keyState[30] = 1;
    g_lastKey = 256 + 30;
    EXPECT_EQ(GetPressedKey(), 0u);
    EXPECT_EQ(IsKeyPressed(256 + 30), 0);

    FreeHotKeys();
    EXPECT_EQ(g_hotKeys, nullptr);
    EXPECT_EQ(GetHotKeyDown(), 0u);
}
