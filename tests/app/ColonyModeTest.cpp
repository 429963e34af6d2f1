#include <gtest/gtest.h>

#include <algorithm>

#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "audio/MusicPlayer.h"
#include "core/Display.h"
#include "net/MySocket.h"
#include "support/FakeServer.h"
#include "support/Harness.h"
#include "ui/InputFocus.h"
#include "ui/Widget.h"
#include "ui/WidgetWindow.h"
#include "windows/DaradirUzedo.h"
#include "world/GameLayer.h"
#include "world/ObjLayer.h"
#include "world/StageLoader.h"

extern uint16_t g_myId;

namespace {

class ColonyMode : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(h.Start());
        ASSERT_TRUE(h.RunUntil([] { return g_pView && g_pView->m_pGameLayer && g_pView->m_pDisplay; }));
        CWidgetContainer* root = g_layerHolder.GetLayer()->GetRootContainer();
        for (int32_t id : {2, 69, 59, 60, 65, 64, 61, 70})
            root->AddChild(id == 2 ? new CWidgetWindow(id, nullptr, 0, 0, 0, 0, 0) : new CWidget(id));
        view = g_pView;
        view->m_pDisplay->AddLayer(view->m_pObjLayer);
        g_myId = 0x1234;
        ASSERT_TRUE(h.RunUntil([&] { return h.Server().Accepted() && g_pMainSocket->CanSend(); }, 20000));
    }
    // The root owns the windows; they go with the UI layer.
    CWidget& Window(int32_t id) { return *g_layerHolder.GetLayer()->GetRootContainer()->FindChild(id); }

    // Steps until the server has n bytes more than `from`; those bytes.
    Bytes Sent(size_t from, size_t n)
    {
        h.RunUntil([&] { return h.Server().AllReceived().size() >= from + n; }, 20000);
        const Bytes& all = h.Server().AllReceived();
        return Bytes(all.begin() + static_cast<long>(std::min(from, all.size())), all.end());
    }

    CHarness h;
    CQuillonView* view = nullptr;
};

}  // namespace

TEST_F(ColonyMode, EnteringSwapsTheLayersOpensItsWindowAndLeavesTheField)
{
    view->ToggleColonyMode();
    EXPECT_EQ(g_colonyMode, 1u);
    EXPECT_FALSE(view->m_pDisplay->Holds(view->m_pObjLayer));
    EXPECT_TRUE(view->m_pDisplay->Holds(view->m_pGameLayer));
    EXPECT_EQ(Window(69).GetState(), CWidget::kOpening);
    EXPECT_EQ(Window(2).GetState(), CWidget::kClosed);  // chat only for a game master
    EXPECT_EQ(g_musicPlayer.GetFileName(), "Simul.mid");  // no MIDI files in the test archive: not played
    // Leaving the field, then the colony's cube slots (filled from the
    // carried cube items: none).
    Bytes sent = {5, 0x34, 0x12, 'd', 4, 0, 1, 2, 3, 4};
    sent.resize(25, 255);
    EXPECT_EQ(Sent(0, 25), sent);
}

TEST_F(ColonyMode, LeavingReturnsToTheStartCellAndClosesTheColonyWindows)
{
    view->ToggleColonyMode();
    for (int32_t id : {59, 60, 61})
        Window(id).SetState(CWidget::kOpen);
    const size_t before = Sent(0, 25).size();
    view->ToggleColonyMode();
    EXPECT_EQ(g_colonyMode, 0u);
    EXPECT_TRUE(view->m_pDisplay->Holds(view->m_pObjLayer));
    EXPECT_FALSE(view->m_pDisplay->Holds(view->m_pGameLayer));
    for (int32_t id : {69, 59, 60, 65, 64, 61})
        EXPECT_EQ(Window(id).GetState(), CWidget::kClosing) << id;
    EXPECT_EQ(Window(70).GetState(), CWidget::kClosed);
    // Stage 0 + 1, x 219, y 314.
    EXPECT_EQ(Sent(before, 6), (Bytes{3, 1, 219, 0, 0x3A, 0x01}));
}

TEST_F(ColonyMode, AGameMasterGetsTheChatWindow)
{
    g_gmFlag = 1;
    CWidget& chat = Window(2);
    g_inputFocus.SetHomeWidget(&chat);
    g_inputFocus.ClearFocus();
    view->ToggleColonyMode();
    EXPECT_EQ(Window(2).GetState(), CWidget::kOpening);
    EXPECT_EQ(g_inputFocus.GetFocusWidget(), &chat);
}

TEST_F(ColonyMode, LeavingPlaysTheMusicOfTheStageThePlayerWasOn)
{
    g_currentMapId = 4;
    view->ToggleColonyMode();
    view->ToggleColonyMode();
    EXPECT_EQ(g_musicPlayer.GetFileName(), "Summer1.mid");
    EXPECT_EQ(g_currentMapId, 0) << "back at the start cell's stage";
}
