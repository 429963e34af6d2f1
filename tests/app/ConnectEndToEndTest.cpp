// The whole client against the scripted server on loopback.
#include <gtest/gtest.h>

#include "app/MainFrame.h"
#include "app/QuillonApp.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "app/StringTable.h"
#include "support/FakeServer.h"
#include "support/Harness.h"
#include "world/ObjLayer.h"

namespace {

Bytes Version(uint16_t v)
{
    Bytes b = {1};
    PutU16(b, v);
    return b;
}

Bytes PlayerId(uint16_t id)
{
    Bytes b = {2};
    PutU16(b, id);
    return b;
}

bool Showed(const CHarness& h, int id)
{
    for (const auto& b : h.Boxes())
        if (b.text == GetGameString(id))
            return true;
    return false;
}

// Pumps the server until the client has gone away.
bool WaitClientGone(CFakeServer& server)
{
    for (int i = 0; i < 100000 && !server.ClientClosed(); ++i)
        server.Pump();
    return server.ClientClosed();
}

}  // namespace

TEST(ClientSession, TakesVersionAndIdThenLogsOutOnExit)
{
    CHarness h;
    CFakeServer& server = h.Server();
    server.Send(Version(336)).Send(PlayerId(42));
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(h.RunUntil([] { return g_playerIdState == 1; }, 20000));
    EXPECT_TRUE(server.Accepted());
    EXPECT_EQ(g_versionConfirmed, 1u);
    EXPECT_EQ(g_myId, 42);
    EXPECT_EQ(g_pView->m_pObjLayer->m_myId, 42);
    EXPECT_NE(h.DebugText().find("#0 receive command 1\n"), std::string::npos);
    EXPECT_NE(h.DebugText().find("#1 receive command 2\n"), std::string::npos);
    EXPECT_TRUE(h.Boxes().empty());

    // In the world, the exit's log-out packets must reach the server before
    // the window closes.
    uint8_t* rec = g_pView->m_pObjLayer->MyRecord().bytes.data();
    rec[124] = 0x11;  // game time
    rec[132] = 0x22;  // HP
    g_pView->m_pObjLayer->m_inWorld = 1;
    h.KeyDown(0x1D);
    h.KeyDown(0x38);
    ASSERT_TRUE(h.RunUntil([&] { return h.Quit(); }, 20000));
    ASSERT_TRUE(WaitClientGone(server));

    const Bytes expected = Concat({{53, 7, 0x11, 0, 0, 0}, {53, 9, 0x22, 0, 0, 0}, {53, 10, 0, 0, 0, 0}, {51, 'O'}});
    EXPECT_TRUE(server.AllReceived() == expected) << server.AllReceived().size() << " bytes";
    EXPECT_EQ(server.Failure(), "");
}

TEST(ClientSession, WrongVersionEndsTheClient)
{
    CHarness h;
    CFakeServer& server = h.Server();
    server.Send(Version(335));
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(h.RunUntil([&] { return h.Quit(); }, 20000));
    EXPECT_TRUE(Showed(h, IDS_VERSION_MISMATCH));
    ASSERT_TRUE(WaitClientGone(server));
    EXPECT_TRUE(server.AllReceived().empty()) << "nothing to log out of";
}

TEST(ClientSession, DuplicateLoginRefusedEndsTheClient)
{
    CHarness h;
    CFakeServer& server = h.Server();
    h.Platform().dialogs.answers = {false};
    server.Send(Version(336)).Send(PlayerId(0));
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(h.RunUntil([&] { return h.Quit(); }, 20000));
    ASSERT_EQ(h.Boxes().size(), 1u);
    EXPECT_TRUE(h.Boxes()[0].yesNo);
    EXPECT_EQ(g_playerIdState, 0u);
}

TEST(ClientSession, ServerClosingIsConnectionLost)
{
    CHarness h;
    CFakeServer& server = h.Server();
    server.Send(Version(336)).Close();
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(h.RunUntil([&] { return h.Quit(); }, 20000));
    EXPECT_EQ(g_versionConfirmed, 1u) << "the bytes before the close were still handled";
    EXPECT_TRUE(Showed(h, IDS_CONNECTION_LOST));
    EXPECT_FALSE(Showed(h, IDS_SERVER_UNAVAILABLE));
}

TEST(ClientSession, NoServerIsServerUnavailable)
{
    CHarness h;
    uint16_t port;
    {
        CFakeServer gone;
        port = gone.Port();
    }
    plat::Settings().SetString("Software\\Brennix\\Quorvel\\Server", "Host", "127.0.0.1");
    plat::Settings().SetDword("Software\\Brennix\\Quorvel\\Server", "Port", port);
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(h.RunUntil([&] { return h.Quit(); }, 20000));
    EXPECT_TRUE(Showed(h, IDS_SERVER_UNAVAILABLE));
    EXPECT_FALSE(Showed(h, IDS_CONNECTION_LOST));
}

TEST(ClientSession, WindowCloseFlushesQueuedPackets)
{
    CHarness h;
    CFakeServer& server = h.Server();
    server.Send(Version(336));
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(h.RunUntil([] { return g_versionConfirmed == 1; }, 20000));

    // Queued with no loop pass left before the window goes.
    g_pView->m_pObjLayer->SendQuitNotice();
    g_pView->m_pObjLayer->SendLogout();
    theApp.m_pMainWnd->DestroyWindow();
    ASSERT_TRUE(WaitClientGone(server));
    EXPECT_TRUE(server.AllReceived() == Bytes({55, 51, 'O'}));
}

TEST(ClientSession, HarnessServerKeepsAQuietClientRunning)
{
    CHarness h;
    ASSERT_TRUE(h.Start());
    h.RunForMs(2000);
    EXPECT_FALSE(h.Quit());
    EXPECT_TRUE(h.Server().Accepted());
    EXPECT_TRUE(h.Boxes().empty());
}
