#include "net/PacketAssembler.h"

#include <gtest/gtest.h>

#include <random>

#include "fixtures/PacketStream.h"

namespace {

// Feeds bytes to a fresh assembler in the given chunking and collects the
// packets, each as the bytes of the buffer it was complete in.
struct FramedRun {
    std::vector<std::vector<uint8_t>> packets;
    CPacketAssembler::Result last = CPacketAssembler::kIncomplete;
};

FramedRun Feed(const std::vector<uint8_t>& stream, const std::vector<size_t>& chunks, bool closeAtEnd = false)
{
    CPacketAssembler a;
    CMemoryByteSource src;
    FramedRun run;
    size_t off = 0;
    auto drain = [&] {
        for (;;) {
            run.last = a.Assemble(src);
            if (run.last != CPacketAssembler::kReady)
                return;
            run.packets.emplace_back(a.Packet(), a.Packet() + a.PacketLength());
        }
    };
    for (size_t n : chunks) {
        n = std::min(n, stream.size() - off);
        src.Append(stream.data() + off, n);
        off += n;
        drain();
        if (run.last > CPacketAssembler::kReady)
            return run;
    }
    src.Append(stream.data() + off, stream.size() - off);
    src.SetClosed(closeAtEnd);
    drain();
    if (closeAtEnd && run.last == CPacketAssembler::kIncomplete)
        drain();  // the call after the last bytes finds the stream closed
    return run;
}

FramedRun FeedWhole(const std::vector<uint8_t>& stream) { return Feed(stream, {}); }

struct LengthCase {
    const char* what;
    std::vector<uint8_t> packet;
    size_t length;
};

}  // namespace

TEST(PacketFraming, EveryCommandHasItsExactLength)
{
    const LengthCase cases[] = {
        {"1", MakePacket(1, 2), 3},
        {"3", MakePacket(3, 11), 12},
        {"7 tail 3", MakePacket(7, 17, {{16, 3}}, 3), 21},
        {"8 tail 4", MakePacket(8, 5, {{4, 4}}, 4), 10},
        {"10 count 2", MakePacket(10, 6, {{5, 2}}, 20), 27},
        {"10 count 0", MakePacket(10, 6), 7},
        {"27 count 3", MakePacket(27, 11, {{11, 3}}, 60), 72},
        {"29 count 2", MakePacket(29, 2, {{1, 2}}, 12), 15},
        {"45 count 2", MakePacket(45, 2, {{1, 2}}, 12), 15},
        {"30 tail 5", MakePacket(30, 6, {{5, 5}}, 5), 12},
        {"30 tail 256", MakePacket(30, 6, {{6, 1}}, 256), 263},
        {"43", MakePacket(43, 0), 1},
        {"44", MakePacket(44, 0), 1},
        {"47", MakePacket(47, 0), 1},
        {"48", MakePacket(48, 0), 1},
        {"49", MakePacket(49, 9), 10},
        {"52 field 0", MakePacket(52, 3, {{3, 0}}, 12), 16},
        {"52 field 5", MakePacket(52, 3, {{3, 5}}), 4},
        {"52 field 7", MakePacket(52, 3, {{3, 7}}, 4), 8},
        {"52 field 20", MakePacket(52, 3, {{3, 20}}, 2), 6},
        {"52 field 33", MakePacket(52, 3, {{3, 33}}, 200), 204},
        {"52 field 34", MakePacket(52, 3, {{3, 34}}, 16), 20},
        {"52 field 37", MakePacket(52, 3, {{3, 37}}, 40), 44},
        {"52 field 50", MakePacket(52, 3, {{3, 50}}, 436), 440},
        {"52 field 63", MakePacket(52, 3, {{3, 63}}, 5), 9},
        {"52 field 69", MakePacket(52, 3, {{3, 69}}, 4), 8},
        {"81", MakePacket(81, 80), 81},
        {"102 sub 1", MakePacket(102, 3, {{1, 1}}, 98), 102},
        {"102 sub 2", MakePacket(102, 3, {{1, 2}}, 11), 15},
        {"102 sub 3 len 0", MakePacket(102, 3, {{1, 3}}), 4},
        {"102 sub 3 len 7", MakePacket(102, 3, {{1, 3}, {2, 7}}, 7), 11},
        {"102 sub 4", MakePacket(102, 3, {{1, 4}}, 18), 22},
        {"102 sub 9", MakePacket(102, 3, {{1, 9}}), 4},
        {"110 e", MakePacket(110, 1, {{1, 'e'}}), 2},
        {"110 other", MakePacket(110, 1, {{1, 'k'}}, 90), 92},
        {"120 result 5", MakePacket(120, 2, {{1, 5}}, 341), 344},
        {"120 result 6", MakePacket(120, 2, {{1, 6}}, 341), 344},
        {"120 result 1", MakePacket(120, 2, {{1, 1}}), 3},
        {"125", MakePacket(125, 1), 2},
    };
    for (const LengthCase& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(c.packet.size(), c.length) << "the case itself is wrong";
        // The packet followed by a marker packet: the marker must come out
        // as the second packet, so the first took exactly its length.
        std::vector<uint8_t> stream = c.packet;
        stream.push_back(43);
        FramedRun r = FeedWhole(stream);
        ASSERT_EQ(r.packets.size(), 2u);
        EXPECT_EQ(r.packets[0], c.packet);
        EXPECT_EQ(r.packets[1], std::vector<uint8_t>{43});
    }
}

TEST(PacketFraming, AnyChunkingGivesTheSamePackets)
{
    const std::vector<uint8_t> stream = MakeServerPacketMix();
    const FramedRun whole = FeedWhole(stream);
    ASSERT_GT(whole.packets.size(), 40u);

    const FramedRun byByte = Feed(stream, std::vector<size_t>(stream.size(), 1));
    EXPECT_EQ(byByte.packets, whole.packets);

    std::mt19937 rng(1234);
    for (int trial = 0; trial < 20; ++trial) {
        std::vector<size_t> chunks;
        for (size_t total = 0; total < stream.size();) {
            size_t n = 1 + rng() % 700;
            chunks.push_back(n);
            total += n;
        }
        EXPECT_EQ(Feed(stream, chunks).packets, whole.packets) << "trial " << trial;
    }
}

TEST(PacketFraming, OnePacketPerCall)
{
    CPacketAssembler a;
    CMemoryByteSource src;
    src.Append([] { auto p = MakePacket(50, 1, {{1, 1}}); auto q = MakePacket(84, 2, {{1, 9}}); p.insert(p.end(), q.begin(), q.end()); return p; }());
    ASSERT_EQ(a.Assemble(src), CPacketAssembler::kReady);
    EXPECT_EQ(a.CurrentCommand(), 50u);
    EXPECT_EQ(src.Available(), 3u) << "the second packet stays queued";
    ASSERT_EQ(a.Assemble(src), CPacketAssembler::kReady);
    EXPECT_EQ(a.CurrentCommand(), 84u);
    EXPECT_EQ(a.Assemble(src), CPacketAssembler::kIncomplete);
}

TEST(PacketFraming, ProtocolErrorsStopTheStream)
{
    const std::vector<std::vector<uint8_t>> bad = {
        {0}, {5}, {126}, {255},
        MakePacket(52, 3, {{3, 38}}), MakePacket(52, 3, {{3, 58}}), MakePacket(52, 3, {{3, 70}}),
        MakePacket(52, 3, {{3, 255}}),
    };
    for (const auto& b : bad) {
        SCOPED_TRACE(testing::PrintToString(b));
        std::vector<uint8_t> stream = b;
        stream.push_back(43);  // nothing after the error is interpreted
        FramedRun r = FeedWhole(stream);
        EXPECT_TRUE(r.packets.empty());
        EXPECT_EQ(r.last, CPacketAssembler::kProtocolError);
    }
}

TEST(PacketFraming, PacketsLongerThanTheBufferAreRefused)
{
    // Command 10 with 1000 entries would need 10,007 bytes.
    std::vector<uint8_t> big = MakePacket(10, 6, {{5, 1000 & 255}, {6, 1000 >> 8}});
    big.resize(10007, 0x11);
    FramedRun r = FeedWhole(big);
    EXPECT_TRUE(r.packets.empty());
    EXPECT_EQ(r.last, CPacketAssembler::kProtocolError);

    // The largest tails the 16-bit fields can name.
    for (int cmd : {7, 8, 10, 29, 30, 45}) {
        std::vector<uint8_t> p = MakePacket(cmd, PacketFixedLength(cmd));
        const int at = cmd == 7 ? 16 : cmd == 8 ? 4 : (cmd == 10 || cmd == 30) ? 5 : 1;
        p[static_cast<size_t>(at)] = 0xFF;
        p[static_cast<size_t>(at + 1)] = 0xFF;
        EXPECT_EQ(FeedWhole(p).last, CPacketAssembler::kProtocolError) << "command " << cmd;
    }
    std::vector<uint8_t> colony = MakePacket(102, 3, {{1, 3}, {2, 0xFF}, {3, 0xFF}});
    EXPECT_EQ(FeedWhole(colony).last, CPacketAssembler::kProtocolError);

    // Exactly 10,000 bytes is accepted: command 30 with a tail of 9,993.
    std::vector<uint8_t> exact = MakePacket(30, 6, {{5, 9993 & 255}, {6, 9993 >> 8}}, 9993);
    ASSERT_EQ(exact.size(), 10000u);
    FramedRun ok = FeedWhole(exact);
    ASSERT_EQ(ok.packets.size(), 1u);
    EXPECT_EQ(ok.packets[0], exact);
}

TEST(PacketFraming, ClosedSourceIsAReadError)
{
    // Bytes that arrived before the close are framed first.
    std::vector<uint8_t> stream = MakePacket(84, 2, {{1, 1}});
    FramedRun r = Feed(stream, {}, true);
    ASSERT_EQ(r.packets.size(), 1u);
    EXPECT_EQ(r.last, CPacketAssembler::kReadError);

    // Mid-packet as well.
    FramedRun half = Feed({60, 1, 2}, {}, true);
    EXPECT_TRUE(half.packets.empty());
    EXPECT_EQ(half.last, CPacketAssembler::kReadError);
}

TEST(PacketFraming, NetReadStaysInsideThePacket)
{
    CPacketAssembler a;
    uint8_t buf[8];
    std::fill(std::begin(buf), std::end(buf), 0xEE);
    EXPECT_EQ(a.NetRead(buf, 4), 0) << "no packet yet";
    EXPECT_EQ(buf[0], 0);

    CMemoryByteSource src;
    src.Append(MakePacket(68, 4, {{1, 1}, {2, 2}, {3, 3}, {4, 4}}));
    ASSERT_EQ(a.Assemble(src), CPacketAssembler::kReady);
    uint8_t cmd = 0;
    EXPECT_EQ(a.NetRead(&cmd, 1), 1);
    EXPECT_EQ(cmd, 68);
    std::fill(std::begin(buf), std::end(buf), 0xEE);
    EXPECT_EQ(a.NetRead(buf, 8), 4);
    EXPECT_EQ(buf[0], 1);
    EXPECT_EQ(buf[3], 4);
    for (int i = 4; i < 8; ++i)
        EXPECT_EQ(buf[i], 0) << "the rest is zero-filled";
    EXPECT_EQ(a.NetRead(buf, 2), 0);
}
