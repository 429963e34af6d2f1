#include "net/MySocket.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/Clock.h"
#include "platform/Debug.h"
#include "platform/Loop.h"
#include "support/FakeServer.h"

namespace {

// Pumps the server and the client until pred holds; false after ten
// seconds. Loopback traffic needs only a few rounds, but a stalled window
// waits for the system's timers.
bool PumpUntil(CFakeServer& server, CMySocket& sock, const std::function<bool()>& pred)
{
    plat::CRealClock real;
    const uint32_t start = real.NowMs();
    for (int i = 0; real.NowMs() - start < 10000; ++i) {
        if (pred())
            return true;
        server.Pump();
        sock.Pump();
        if (i > 1000)
            real.Sleep(1);
    }
    return pred();
}

bool ConnectTo(CFakeServer& server, CMySocket& sock)
{
    if (sock.Connect("127.0.0.1", server.Port()) < 0)
        return false;
    return PumpUntil(server, sock, [&] { return sock.CanSend() && server.Accepted(); });
}

Bytes Pattern(size_t n)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = static_cast<uint8_t>(i * 7 + i / 251);
    return b;
}

class SocketTest : public testing::Test {
protected:
    void SetUp() override
    {
        plat::SetDebugSink([this](std::string_view t) { trace.append(t); });
    }
    void TearDown() override { plat::SetDebugSink({}); }
    std::string trace;
};

}  // namespace

TEST_F(SocketTest, PartialSendKeepsPacketsWholeAndInOrder)
{
    CFakeServer server;
    CMySocket sock;
    ASSERT_TRUE(ConnectTo(server, sock));
    server.SetReading(false);

    const Bytes big = Pattern(1 << 20);
    const Bytes small = {9, 8, 7};
    ASSERT_EQ(sock.SendCommand(big.data(), static_cast<int>(big.size())), 1);
    ASSERT_EQ(sock.SendCommand(small.data(), 3), 1);
    EXPECT_EQ(sock.SendListSize(), 2u) << "nothing leaves inside SendCommand";
    for (int i = 0; i < 5; ++i)
        sock.Pump();
    EXPECT_GE(sock.SendListSize(), 1u) << "the peer does not read: the send stays partial";

    server.SetReading(true);
    ASSERT_TRUE(PumpUntil(server, sock, [&] { return server.AllReceived().size() >= big.size() + 3; }))
        << server.AllReceived().size() << " open " << sock.IsOpen() << " err " << sock.LastError() << " list " << sock.SendListSize();
    Bytes expected = big;
    expected.insert(expected.end(), small.begin(), small.end());
    EXPECT_TRUE(server.AllReceived() == expected);
    EXPECT_EQ(sock.SendListSize(), 0u);
    EXPECT_NE(trace.find("  #"), std::string::npos);
    EXPECT_NE(trace.find(" send command 9\n"), std::string::npos);
}

TEST_F(SocketTest, ReadSpansBlocksAndLeavesTheRest)
{
    CFakeServer server;
    CMySocket sock;
    ASSERT_TRUE(ConnectTo(server, sock));
    server.SendChunks({1, 2, 3, 4, 5, 6}, {1, 5});
    ASSERT_TRUE(PumpUntil(server, sock, [&] { return sock.ReceiveListSize() == 2; }));

    uint8_t buf[8] = {};
    int len = 3;
    EXPECT_EQ(sock.Read(buf, len), 3);
    EXPECT_EQ(len, 3);
    EXPECT_EQ(buf[0], 1);
    EXPECT_EQ(buf[2], 3);
    EXPECT_EQ(sock.ReceiveListSize(), 1u);
    EXPECT_EQ(sock.Peek(buf, 8), 3) << "a 3-byte head is left";
    EXPECT_EQ(buf[0], 4);
    len = 8;
    EXPECT_EQ(sock.Read(buf, len), 3);
    len = 8;
    EXPECT_EQ(sock.Read(buf, len), 0) << "an empty list of an open socket";
    EXPECT_EQ(len, 0);
}

TEST_F(SocketTest, AFloodingPeerWaitsWhileTheUnreadListIsFull)
{
    CFakeServer server;
    CMySocket sock;
    ASSERT_TRUE(ConnectTo(server, sock));
    const Bytes flood = Pattern(12 << 20);
    server.Send(flood);
    ASSERT_TRUE(PumpUntil(server, sock, [&] { return sock.ReceiveListSize() >= CMySocket::kMaxReceiveBlocks; }));
    for (int i = 0; i < 200; ++i) {
        server.Pump();
        sock.Pump();
    }
    EXPECT_EQ(sock.ReceiveListSize(), CMySocket::kMaxReceiveBlocks) << "nothing is read past the limit";

    // Reading makes room; every byte then arrives once and in order.
    Bytes got;
    ASSERT_TRUE(PumpUntil(server, sock, [&] {
        uint8_t buf[65536];
        int len = sizeof buf;
        if (sock.Read(buf, len) > 0)
            got.insert(got.end(), buf, buf + len);
        return got.size() >= flood.size();
    }));
    EXPECT_TRUE(got == flood);
    EXPECT_TRUE(sock.IsOpen());
}

TEST_F(SocketTest, DataBeforeAPeerCloseStaysReadable)
{
    CFakeServer server;
    CMySocket sock;
    ASSERT_TRUE(ConnectTo(server, sock));
    server.Send(Pattern(10)).Close();
    ASSERT_TRUE(PumpUntil(server, sock, [&] { return !sock.IsOpen(); }));

    sock.Pump();  // a closed socket has nothing left to poll
    uint8_t buf[16];
    int len = 16;
    EXPECT_EQ(sock.Read(buf, len), 10);
    EXPECT_EQ(buf[9], Pattern(10)[9]);
    len = 16;
    EXPECT_EQ(sock.Read(buf, len), -1) << "closed and drained";
    EXPECT_EQ(sock.SendCommand(buf, 1), 0);
    EXPECT_FALSE(sock.CanSend());
    EXPECT_TRUE(sock.HasConnected());
}

TEST_F(SocketTest, RefusedConnectClosesTheSocket)
{
    uint16_t port;
    {
        CFakeServer gone;
        port = gone.Port();
    }
    CMySocket sock;
    const int r = sock.Connect("127.0.0.1", port);
    for (int i = 0; i < 1000 && sock.IsOpen(); ++i)
        sock.Pump();
    EXPECT_FALSE(sock.IsOpen()) << "connect result " << r;
    EXPECT_FALSE(sock.HasConnected());
    EXPECT_NE(sock.LastError(), 0);
    uint8_t b = 1;
    int len = 1;
    EXPECT_EQ(sock.SendCommand(&b, 1), 0);
    EXPECT_EQ(sock.Read(&b, len), -1);
}

TEST_F(SocketTest, HostNamesResolveOnALaterPass)
{
    CFakeServer server;
    CMySocket sock;
    EXPECT_EQ(sock.Connect("localhost", server.Port()), 1);
    EXPECT_TRUE(sock.IsResolving());
    EXPECT_FALSE(sock.CanSend());

    // The look-up runs on its own thread; its result comes through the loop.
    plat::CRealClock real;
    const uint32_t start = real.NowMs();
    while (!sock.CanSend() && real.NowMs() - start < 10000) {
        plat::Loop().Step();
        server.Pump();
        if (sock.IsResolving())
            real.Sleep(1);
    }
    EXPECT_TRUE(sock.CanSend());
    EXPECT_TRUE(server.Accepted());

    CMySocket direct;
    EXPECT_GE(direct.Connect("127.0.0.1", server.Port()), 0);
    EXPECT_FALSE(direct.IsResolving());
    EXPECT_FALSE(direct.CanSend()) << "a connect never completes inside Connect";
}

TEST_F(SocketTest, NothingWakesTheLoopWhileTheNameIsLookedUp)
{
    CFakeServer server;
    CMySocket sock;
    ASSERT_EQ(sock.Connect("localhost", server.Port()), 1);
    const uint8_t packet[] = {54};
    ASSERT_EQ(sock.SendCommand(packet, 1), 1);
    ASSERT_TRUE(sock.IsResolving()) << "the result is taken only by a loop pass";

    // A socket that is not connecting yet reports a hang-up at once: in the
    // wait set it would end every wait and spin the idle loop.
    std::vector<struct pollfd> fds;
    sock.AppendPollFds(fds);
    if (!fds.empty()) {
        EXPECT_EQ(::poll(fds.data(), fds.size(), 0), 0);
    }
}

TEST_F(SocketTest, FailedLookUpClosesTheSocket)
{
    CMySocket sock;
    // An empty name fails in the resolver itself, with no query sent.
    ASSERT_EQ(sock.Connect("", 8020), 1);
    plat::CRealClock real;
    const uint32_t start = real.NowMs();
    while (sock.IsResolving() && real.NowMs() - start < 20000) {
        plat::Loop().Step();
        real.Sleep(1);
    }
    EXPECT_FALSE(sock.IsOpen());
    EXPECT_FALSE(sock.HasConnected());
}

TEST_F(SocketTest, SendingToAResetPeerRaisesNoSignal)
{
    CFakeServer server;
    CMySocket sock;
    ASSERT_TRUE(ConnectTo(server, sock));
    server.Reset();
    server.Pump();
    const Bytes data = Pattern(4000);
    for (int i = 0; i < 50 && sock.IsOpen(); ++i) {
        sock.SendCommand(data.data(), static_cast<int>(data.size()));
        sock.Pump();
    }
    EXPECT_FALSE(sock.IsOpen()) << "the reset closed the socket and the process lives";
    EXPECT_NE(sock.LastError(), 0);
}

TEST_F(SocketTest, ReconnectStartsWithEmptyLists)
{
    CFakeServer first;
    CMySocket sock;
    ASSERT_TRUE(ConnectTo(first, sock));
    first.Send({1, 2, 3}).Close();
    ASSERT_TRUE(PumpUntil(first, sock, [&] { return !sock.IsOpen(); }));
    ASSERT_EQ(sock.ReceiveListSize(), 1u);

    CFakeServer second;
    ASSERT_GE(sock.ConnectSecondary("127.0.0.1", second.Port()), 0);
    EXPECT_EQ(sock.ReceiveListSize(), 0u) << "no stale bytes from the last connection";
    ASSERT_TRUE(PumpUntil(second, sock, [&] { return sock.CanSend() && second.Accepted(); }));
    uint8_t b = 5;
    sock.SendCommand(&b, 1);
    ASSERT_TRUE(PumpUntil(second, sock, [&] { return second.AllReceived().size() == 1; }));
    EXPECT_EQ(second.AllReceived()[0], 5);
}

TEST_F(SocketTest, NothingIsAcceptedBeforeAConnectStarts)
{
    CFakeServer server;
    CMySocket sock;
    const uint8_t early = 9;
    EXPECT_EQ(sock.SendCommand(&early, 1), 0) << "no connection to send on";
    EXPECT_EQ(sock.SendListSize(), 0u);

    ASSERT_GE(sock.Connect("127.0.0.1", server.Port()), 0);
    const uint8_t late = 54;
    EXPECT_EQ(sock.SendCommand(&late, 1), 1) << "a connect under way takes packets";
    ASSERT_TRUE(PumpUntil(server, sock, [&] { return !server.AllReceived().empty(); }));
    server.Pump();
    EXPECT_TRUE(server.AllReceived() == Bytes({54})) << "the packet of before the connect stayed behind";
}

TEST_F(SocketTest, UnreadBlocksAreTracedAtDestruction)
{
    CFakeServer server;
    {
        CMySocket sock;
        ASSERT_TRUE(ConnectTo(server, sock));
        server.SendChunks({1, 2}, {1, 1});
        ASSERT_TRUE(PumpUntil(server, sock, [&] { return sock.ReceiveListSize() == 2; }));
        trace.clear();
    }
    size_t count = 0;
    for (size_t pos = 0; (pos = trace.find("\n", pos)) != std::string::npos; ++pos)
        ++count;
    EXPECT_EQ(count, 4u) << "two lines of two newlines each";
}
