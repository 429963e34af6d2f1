#include <gtest/gtest.h>

#include "app/MouseState.h"

TEST(MouseLatch, TwoEventsBetweenFramesKeepBothBitsAndTheLastPosition)
{
    CMouseState m;
    m.SetMouseEvent(MOUSE_LDOWN, 10, 20);
    m.SetMouseEvent(MOUSE_LUP, 30, 40);
    EXPECT_EQ(m.GetMouseEvents(), MOUSE_LDOWN | MOUSE_LUP);
    int x = 0, y = 0;
    m.GetMousePos(x, y);
    EXPECT_EQ(x, 30);
    EXPECT_EQ(y, 40);
    m.ResetMouseEvents();
    EXPECT_EQ(m.GetMouseEvents(), 0u);
    EXPECT_FALSE(m.HasMouseEvent(MOUSE_LDOWN));
}

TEST(MouseLatch, ClearingOneEventDropsTheFrameFlag)
{
    CMouseState m;
    m.SetMouseEvent(MOUSE_LDOWN, 1, 1);
    m.SetMouseEvent(MOUSE_MOVE, 2, 2);
    m.ClearMouseEvent(MOUSE_LDOWN, 5, 6);
    EXPECT_TRUE(m.HasMouseEvent(MOUSE_MOVE));
    EXPECT_FALSE(m.IsMouseEvent(MOUSE_MOVE));
    EXPECT_EQ(m.GetMouseEvents(), 0u);
    EXPECT_EQ(m.GetX(), 5);
}

TEST(MouseLatch, ConsumingNeverCreatesAnEvent)
{
    CMouseState m;
    m.SetMouseEvent(MOUSE_LDOWN, 0, 0);
    m.ConsumeMouseEvent(MOUSE_RDOWN | MOUSE_LDOWN);
    EXPECT_FALSE(m.HasMouseEvent(MOUSE_RDOWN));
    EXPECT_FALSE(m.IsMouseEvent(MOUSE_LDOWN));
    EXPECT_EQ(m.GetMouseEvents(), 0u);

    m.SetMouseEvent(MOUSE_LDOWN, 0, 0);
    m.SetMouseEvent(MOUSE_LUP, 0, 0);
    m.ConsumeMouseEvent(MOUSE_LDOWN);
    EXPECT_TRUE(m.IsMouseEvent(MOUSE_LUP));  // the flag stays while a bit remains
}

TEST(MouseLatch, UnknownEventCodeChangesNoBit)
{
    CMouseState m;
    m.SetMouseEvent(3, 7, 8);
    m.SetMouseEvent(128, 7, 8);
    EXPECT_FALSE(m.HasMouseEvent(0xFFFFFFFFu));
    EXPECT_EQ(m.GetX(), 7);
}
