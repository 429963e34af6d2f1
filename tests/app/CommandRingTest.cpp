#include <gtest/gtest.h>

#include <string>

#include "app/CommandRing.h"
#include "platform/Debug.h"

namespace {
constexpr uint32_t kEmpty = 0xFFFFFFFFu;
}

TEST(CommandRing, EmptyRingPopsMinusOne)
{
    CCommandRing ring;
    EXPECT_EQ(ring.Pop(), kEmpty);
    EXPECT_EQ(ring.Push(5), 5u);
    EXPECT_EQ(ring.Pop(), 5u);
    EXPECT_EQ(ring.Pop(), kEmpty);
}

TEST(CommandRing, KeepsOrderAcrossTheWrap)
{
    CCommandRing ring;
    for (uint32_t i = 0; i < 300; ++i) {
        ring.Push(i);
        ASSERT_EQ(ring.Pop(), i);
    }
    // Indices now sit past the wrap; a command with its two arguments stays
    // together and in order.
    ring.Push(42);
    ring.Push(10001);
    ring.Push(7);
    EXPECT_EQ(ring.Pop(), 42u);
    EXPECT_EQ(ring.Pop(), 10001u);
    EXPECT_EQ(ring.Pop(), 7u);
    EXPECT_EQ(ring.Pop(), kEmpty);
}

TEST(CommandRing, FullRingRefusesThePushAndKeepsWhatIsQueued)
{
    std::string trace;
    plat::SetDebugSink([&](std::string_view t) { trace.append(t); });
    CCommandRing ring;
    ring.Push(1);
    ring.Pop();  // start off index 0
    for (uint32_t i = 0; i < 255; ++i)
        ring.Push(100 + i);
    EXPECT_TRUE(ring.IsFull());
    EXPECT_EQ(ring.Count(), 255u);
    ring.Push(999);
    EXPECT_NE(trace.find("dropped"), std::string::npos);
    for (uint32_t i = 0; i < 255; ++i)
        ASSERT_EQ(ring.Pop(), 100 + i);
    EXPECT_EQ(ring.Pop(), kEmpty);
    plat::SetDebugSink({});
}

TEST(CommandRing, MinusOneIsQueuedLikeAnyValue)
{
    CCommandRing ring;
    ring.Push(75);
    ring.Push(kEmpty);
    ring.Push(3);
    EXPECT_EQ(ring.Count(), 3u);
    EXPECT_EQ(ring.Pop(), 75u);
    EXPECT_EQ(ring.Pop(), kEmpty) << "the pushed -1, looking like the empty marker";
    EXPECT_EQ(ring.Pop(), 3u);
    EXPECT_EQ(ring.Pop(), kEmpty);
}
