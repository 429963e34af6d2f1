#include <gtest/gtest.h>

#include "app/FrameClock.h"
#include "app/MainFrame.h"
#include "app/QuillonApp.h"
#include "app/QuillonView.h"
#include "support/Harness.h"
#include "world/ObjLayer.h"

namespace {

class MainFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(h.Start());
        ASSERT_TRUE(h.RunUntil([] { return g_pView && g_pView->m_pObjLayer; }));
        g_pView->m_pObjLayer->m_inWorld = 1;
    }
    CHarness h;
};

}  // namespace

TEST_F(MainFrame, SwitchingAwayEndsTheGameForAPlayer)
{
    h.FocusLost();
    ASSERT_TRUE(h.RunUntil([&] { return h.Quit(); }, 5000));
    EXPECT_NE(h.DebugText().find("send command 51\n"), std::string::npos);
    EXPECT_FALSE(theApp.m_pMainWnd->IsWindow());
}

TEST_F(MainFrame, SwitchingAwayLeavesAGameMasterPlaying)
{
    g_gmFlag = 1;
    h.FocusLost();
    h.Steps(200);
    EXPECT_FALSE(h.Quit());
    EXPECT_EQ(h.DebugText().find("send command 51\n"), std::string::npos);
    EXPECT_TRUE(theApp.m_pMainWnd->IsWindow());
}

TEST_F(MainFrame, TheDesktopsCloseRequestIsIgnored)
{
    plat::RawEvent close;
    close.kind = plat::RawKind::CloseRequest;
    h.Loop().InjectInput(close);
    h.Steps(200);
    EXPECT_FALSE(h.Quit());
    EXPECT_EQ(h.Loop().Input().CloseRequests(), 1);
    EXPECT_TRUE(theApp.m_pMainWnd->IsWindow());
}
