#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/ExitGame.h"
#include "app/FrameClock.h"
#include "app/MainFrame.h"
#include "app/MouseState.h"
#include "app/QuillonApp.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "core/Display.h"
#include "core/HotKey.h"
#include "intro/IntroLayer.h"
#include "net/MySocket.h"
#include "support/FakeServer.h"
#include "support/Harness.h"
#include "world/ObjLayer.h"

namespace {

using Bytes = std::vector<uint8_t>;

class GameFrame : public ::testing::Test {
protected:
    // Starts the client and runs until its first frame has been built.
    void StartToFirstFrame()
    {
        server.UseForClient();
        server.Register();
        ASSERT_TRUE(h.Start());
        ASSERT_TRUE(h.RunUntil([] { return g_gameFrameCount >= 1; }, 100));
        view = g_pView;
        ASSERT_NE(view, nullptr);
    }
    // What the server has received so far, after letting the client send.
    const Bytes& Received()
    {
        h.Steps(3);
        for (int i = 0; i < 100; ++i)
            server.Pump();
        return server.AllReceived();
    }
    static Bytes Concat(const std::vector<Bytes>& packets)
    {
        Bytes all;
        for (const Bytes& p : packets)
            all.insert(all.end(), p.begin(), p.end());
        return all;
    }
    CHarness h{5000};
    CFakeServer server;
    CQuillonView* view = nullptr;
};

TEST_F(GameFrame, FirstFrameBuildsInOrderAndShowsTheIntroLayer)
{
    StartToFirstFrame();
    EXPECT_EQ(view->LoadingSteps(), (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 101, 102}));
    ASSERT_NE(view->m_pDisplay, nullptr);
    EXPECT_EQ(view->m_pDisplay->GetCount(), 1);
    EXPECT_EQ(view->m_pDisplay->GetChild(0), view->m_pIntroLayer);
    // The first frame runs at once (next due starts at 0) and is presented.
    EXPECT_EQ(g_gameFrameCount, 1u);
    EXPECT_EQ(g_nextFrameDue, h.Clock().NowMs() + 33);
}

TEST_F(GameFrame, FramesComeEvery33MsOfVirtualTime)
{
    StartToFirstFrame();
    const uint32_t frames = g_gameFrameCount;
    h.RunForMs(340);  // due at +33, +66, ..., +330
    EXPECT_EQ(g_gameFrameCount - frames, 10u);
    EXPECT_EQ(g_frameNotPresented, 0u);
}

TEST_F(GameFrame, LateFrameIsComputedButNotPresented)
{
    StartToFirstFrame();
    // The intro layer's finished flag forces presenting; see below.
    ASSERT_TRUE(view->m_pIntroLayer->IsFinished());
    view->m_pIntroLayer->ClearFinished();
    uint64_t presents = h.Platform().video.presents;
    h.Clock().Advance(33 + 100);  // the next frame is 100 ms late
    h.Step();
    EXPECT_EQ(g_frameNotPresented, 1u);
    EXPECT_EQ(h.Platform().video.presents, presents);
    h.Clock().Advance(300);  // far behind: the schedule restarts and draws
    h.Step();
    EXPECT_EQ(g_frameNotPresented, 0u);
    EXPECT_EQ(h.Platform().video.presents, presents + 1);
    EXPECT_EQ(g_nextFrameDue, h.Clock().NowMs() + 33);

    // While the intro layer is up a late frame is presented all the same.
    view->m_pIntroLayer->m_finished = 1;
    presents = h.Platform().video.presents;
    h.Clock().Advance(33 + 100);
    h.Step();
    EXPECT_EQ(g_frameNotPresented, 0u);
    EXPECT_EQ(h.Platform().video.presents, presents + 1);
}

TEST_F(GameFrame, AnAcceleratorsPressWaitsForAFrameLikeTheLatch)
{
    StartToFirstFrame();
    // Just after a frame: the next passes run none.
    h.KeyDown(56);  // Alt
    h.KeyDown(31);  // S: the Alt+S accelerator
    h.Click(1, 40, 50);
    const uint32_t frames = g_gameFrameCount;
    for (int pass = 0; pass < 3; ++pass) {
        h.Step();
        ASSERT_EQ(g_gameFrameCount, frames);
        EXPECT_EQ(g_accelKeyFlag, 56u);
        EXPECT_EQ(g_keyState[56], 1u);
        EXPECT_EQ(g_keyState[31], 1u);
        EXPECT_EQ(g_lastKey, 31u);
        EXPECT_TRUE(g_mouseState.IsMouseEvent(MOUSE_LDOWN | MOUSE_LUP));
    }
    ASSERT_TRUE(h.RunUntil([&] { return g_gameFrameCount > frames; }, 100));
    EXPECT_EQ(g_accelKeyFlag, 0u);
    EXPECT_EQ(g_keyState[56], 0u);
    EXPECT_EQ(g_keyState[31], 0u);
    EXPECT_EQ(g_lastKey, 0u);
    EXPECT_EQ(g_mouseState.GetMouseEvents(), 0u);
}

TEST_F(GameFrame, KeysAndClicksBetweenFramesAreLatchedUntilTheFrame)
{
    StartToFirstFrame();
    h.KeyDown(30);
    h.KeyUp(30);
    h.Click(1, 10, 10);
    h.Click(1, 20, 30);
    h.Step();
    EXPECT_EQ(g_keyState[30], 0u);
    EXPECT_EQ(g_lastKey, 0u);
    EXPECT_EQ(g_mouseState.GetMouseEvents(), MOUSE_LDOWN | MOUSE_LUP);
    EXPECT_EQ(g_mouseState.GetX(), 20);
    EXPECT_EQ(g_mouseState.GetY(), 30);
    EXPECT_FALSE(g_mouseState.IsMouseButtonHeld(1));
}

TEST_F(GameFrame, CtrlAltEndsTheGameOnceEvenWithoutAFrameDue)
{
    StartToFirstFrame();
    h.KeyDown(29);
    h.KeyDown(56);
    const uint32_t t0 = h.Clock().NowMs();
    h.Step();  // no frame due, yet the exit starts: one second's wait, then the close
    EXPECT_TRUE(IsExiting());
    EXPECT_EQ(h.Clock().NowMs() - t0, 1000u);
    h.Steps(5);
    EXPECT_TRUE(h.Quit());
    // The frame's own tear-down waits a second before closing the socket.
    EXPECT_EQ(h.Clock().NowMs() - t0, 2000u);
    EXPECT_EQ(g_pView->m_pDisplay, nullptr);
}

TEST_F(GameFrame, ExitGameSendsTheLogOutInOrder)
{
    StartToFirstFrame();
    g_myId = 0x1234;
    CObjLayer* layer = view->m_pObjLayer;
    layer->m_inField = 1;
    layer->m_areaCenterSet = 1;
    layer->m_inBattle = 1;
    layer->m_battleNumber = 20001;
    layer->m_inWorld = 1;
    uint8_t* rec = layer->MyRecord().bytes.data();
    rec[124] = 7;      // game time
    rec[132] = 100;    // HP
    rec[136] = 50;     // MP
    rec[218] = 0xFF;   // log-outs during a death match: 255 -> 256
    const size_t before = Received().size();
    const uint32_t t0 = h.Clock().NowMs();
    ExitGame();
    ExitGame();  // a second call while exiting does nothing
    EXPECT_EQ(h.Clock().NowMs() - t0, 1000u);
    const std::vector<Bytes> expected = {
        {5, 0x34, 0x12},
        {34, 0x34, 0x12},
        {53, 36, 0x00, 0x01},
        {53, 7, 7, 0, 0, 0},
        {53, 9, 100, 0, 0, 0},
        {53, 10, 50, 0, 0, 0},
        {51, 'O'},
    };
    EXPECT_EQ(h.Loop().PendingMessages(), 1u);  // the close
    const Bytes& got = Received();
    EXPECT_TRUE(h.Quit());
    EXPECT_EQ(Bytes(got.begin() + static_cast<long>(before), got.end()), Concat(expected));
}

TEST_F(GameFrame, ExitOutsideTheWorldSendsNothing)
{
    StartToFirstFrame();
    const size_t before = Received().size();
    ExitGame();
    EXPECT_EQ(Received().size(), before);
}

TEST_F(GameFrame, LogOutToTitleSendsTheQuitNoticeAndKeepsRunning)
{
    StartToFirstFrame();
    view->m_pObjLayer->m_inWorld = 1;
    const size_t before = Received().size();
    const uint32_t t0 = h.Clock().NowMs();
    LogOutToTitle();
    EXPECT_EQ(h.Clock().NowMs(), t0);
    const Bytes& got = Received();
    ASSERT_GT(got.size(), before);
    EXPECT_EQ(got.back(), 55);
    EXPECT_FALSE(IsExiting());
    EXPECT_EQ(h.Loop().PendingMessages(), 0u);
}

TEST_F(GameFrame, GameMasterHotKeysOnlyWhenTheFlagIsSetAtTheFirstFrame)
{
    auto ids = [] {
        std::vector<uint32_t> out;
        for (CHotKey* k = g_hotKeys; k; k = k->next)
            out.push_back(k->id);
        return out;
    };
    StartToFirstFrame();
    EXPECT_EQ(ids(), (std::vector<uint32_t>{100, 4, 5, 6, 7, 11, 18, 109, 108, 146}));
    g_gmFlag = 1;
    view->LoadPalette();
    EXPECT_EQ(ids(), (std::vector<uint32_t>{100, 4, 5, 6, 7, 11, 48, 49, 50, 51, 89, 18, 109, 108, 146}));
}

TEST_F(GameFrame, FinishedIntroLeavesTheDisplayOnce)
{
    StartToFirstFrame();
    CIntroLayer* intro = view->m_pIntroLayer;
    intro->m_finished = 1;
    h.RunForMs(40);
    EXPECT_EQ(view->m_pDisplay->GetCount(), 1);  // scene not 0 yet: stays
    intro->m_sceneState = 0;
    h.RunForMs(40);
    EXPECT_EQ(view->m_pDisplay->GetCount(), 0);
    EXPECT_FALSE(intro->IsFinished());
}

TEST_F(GameFrame, DeactivationEndsTheGameExceptForAGameMaster)
{
    StartToFirstFrame();
    g_gmFlag = 1;
    h.FocusLost();
    h.Step();
    EXPECT_FALSE(IsExiting());
    g_gmFlag = 0;
    h.FocusLost();
    h.Step();
    EXPECT_TRUE(IsExiting());
}

TEST_F(GameFrame, NonLauncherCommandLineEndsSilently)
{
    EXPECT_FALSE(h.Start("something else"));
    EXPECT_TRUE(h.Boxes().empty());
}

}  // namespace
