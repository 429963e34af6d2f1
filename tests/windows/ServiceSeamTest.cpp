#include <gtest/gtest.h>

#include <string>

#include "app/QuillonView.h"
#include "effects/EffectManager.h"
#include "script/ScriptManager.h"
#include "social/ChatLine.h"
#include "support/FakeColony.h"
#include "support/FakeEffects.h"
#include "support/FakeScripts.h"
#include "support/FakeSocial.h"
#include "support/FakeUi.h"
#include "support/RunningScripts.h"
#include "support/SentPackets.h"
#include "support/TestWorld.h"
#include "ui/FieldView.h"
#include "ui/FloatTextList.h"
#include "ui/MessageRing.h"
#include "ui/NoticeList.h"
#include "windows/DaradirUzedo.h"
#include "windows/MouseCursor.h"
#include "windows/SystemWindows.h"

namespace {

class ServiceSeamTest : public testing::Test {
protected:
    CTestWorld world;
};

TEST_F(ServiceSeamTest, FakesRecordEveryCallInOrderWhileTheyLive)
{
    int creature = 0;
    auto* owner = reinterpret_cast<CCreature*>(&creature);
    {
        FakeEffects fx;
        FakeUi ui;
        FakeSocial social;
        FakeColony colony;
        FakeScripts scripts;
        scripts.loadResult = 7;
        fx.routineResult[23] = 0;
        ui.routeChatResult = 1;

        Effects().StartDamage(10, 20, -5, 0, owner);
        Effects().ResetDeathMan();
        EXPECT_EQ(Effects().RunAbilityRoutine(23, owner), 0);
        EXPECT_EQ(Effects().RunAbilityRoutine(1, owner), 1);
        Effects().DrawAll(nullptr);  // per-frame: not logged by default
        Ui().AddLine("hello");
        Ui().ToggleWindow(8);
        EXPECT_TRUE(Ui().IsWindowOpen(8));
        Ui().SetWindowState(8, 3);
        EXPECT_FALSE(Ui().IsWindowOpen(8));
        EXPECT_EQ(Ui().RouteChatMessage("hi"), 1);
        Ui().ShowNotice("note", 200);
        g_lastMouseCursor.PickUp(5, 1, 2);
        Ui().ReturnCarried(g_lastMouseCursor);
        EXPECT_EQ(g_lastMouseCursor.GetItemId(), 0);
        Ui().AddFloatText(1, 2, "name");
        social.rescuerId = 44;
        EXPECT_EQ(Social().GetRescuerId(), 44);
        Social().ClearRescuer();
        Colony().Tick();
        Colony().SendRequest(3, 9);
        EXPECT_EQ(Scripts().Load("AutoExec"), 7);

        EXPECT_EQ(fx.log.Joined(), CCallLog::Call("StartDamage", 10, 20, -5, 0, static_cast<const void*>(owner)) +
                                       "\nResetDeathMan(-1)\n" +
                                       CCallLog::Call("RunAbilityRoutine", 23, static_cast<const void*>(owner)) + "\n" +
                                       CCallLog::Call("RunAbilityRoutine", 1, static_cast<const void*>(owner)));
        EXPECT_EQ(ui.log.Joined(),
                  "AddLine(\"hello\")\nToggleWindow(8)\nSetWindowState(8, 3)\nRouteChatMessage(\"hi\")\n"
                  "ShowNotice(\"note\", 200)\nReturnCarried(\"last\")");
        EXPECT_EQ(social.log.Joined(), "ClearRescuer()");
        EXPECT_EQ(social.rescuerId, 0);
        EXPECT_EQ(colony.log.Joined(), "Tick()\nSendRequest(3, 9)");
        EXPECT_EQ(scripts.log.Calls(), std::vector<std::string>{"Load(\"AutoExec\")"});
        EXPECT_EQ(ui.log.Count("AddLine"), 1);
        // Nothing reached the real objects.
        EXPECT_EQ(g_messageRing.GetLineCount(), 0);
        EXPECT_EQ(g_rescuerId, 0);
        EXPECT_TRUE(RunningScripts().empty());
    }
    // The defaults are back: the real ring and the script manager.
    Ui().AddLine("real");
    EXPECT_STREQ(g_messageRing.GetLine(0)->text, "real");
    EXPECT_EQ(Scripts().Load("Battle101"), 0) << "the real manager: no such script";
    g_rescuerId = 5;
    g_rescueBattle = 6;
    EXPECT_EQ(Social().GetRescuerId(), 5);
    EXPECT_EQ(Social().GetRescueBattle(), 6u);
}

TEST_F(ServiceSeamTest, DefaultsForwardToTheRealObjects)
{
    // Effects: nothing before the view has a manager, then the view's.
    EXPECT_EQ(Effects().StartDeathMan(1, 2, 0), nullptr);
    CEffectManager manager(&world.Layer());
    g_pView->m_pEffectManager = &manager;
    EXPECT_EQ(&Effects(), &manager);
    g_pView->m_pEffectManager = nullptr;

    // Windows of the UI layer by id.
    CDaradirUzedo uiLayer(nullptr);
    g_layerHolder.SetLayer(&uiLayer);
    auto* window = new CWidget(71);  // the root owns it
    uiLayer.GetRootContainer()->AddChild(window);
    EXPECT_FALSE(Ui().IsWindowOpen(71));
    Ui().ToggleWindow(71);
    EXPECT_EQ(window->GetState(), 1);
    EXPECT_TRUE(Ui().IsWindowOpen(71));
    Ui().SetWindowState(71, 2);
    EXPECT_TRUE(uiLayer.IsWindowOpen(71));
    Ui().SetWindowState(71, 3);
    EXPECT_FALSE(Ui().IsWindowOpen(71));
    EXPECT_EQ(Ui().GetWindowState(72), 0);
    EXPECT_FALSE(Ui().IsWindowOpen(-1));
    g_layerHolder.SetLayer(nullptr);
    EXPECT_FALSE(Ui().IsWindowOpen(71));

    // The notice line shows through the one shown last.
    Ui().ShowNotice("none yet", 60);
    CNoticeLine line;
    line.Show("first", 200);
    Ui().ShowNotice("second", 60);
    EXPECT_STREQ(line.GetText(), "second");
    EXPECT_EQ(line.GetCountdown(), 60);

    // Names go into the float texts as they are, never as a format.
    Ui().AddFloatText(400, 100, "50%s%n");
    EXPECT_STREQ(g_floatTexts.First()->text, "50%s%n");
    EXPECT_EQ(g_floatTexts.First()->x, 400 - 6 * 6 / 2);

    // The colony's senders still send.
    OpenTestMainSocket();
    TakeSentPackets();
    Colony().SendRequest(4, 0x0102);
    EXPECT_EQ(TakeSentPackets(), (std::vector<SentPacket>{{'e', 4, 0x02, 0x01}}));
    CloseTestMainSocket();
}

TEST_F(ServiceSeamTest, MessageRingFloatTextsAndNotices)
{
    for (int i = 0; i < 10; ++i)
        g_messageRing.AddLine(("line " + std::to_string(i)).c_str());
    ASSERT_EQ(g_messageRing.GetLineCount(), 7);
    EXPECT_STREQ(g_messageRing.GetLine(0)->text, "line 9");
    EXPECT_STREQ(g_messageRing.GetLine(6)->text, "line 3");
    EXPECT_EQ(g_messageRing.GetLine(7), nullptr);
    EXPECT_EQ(g_messageRing.GetLine(0)->colour, 15);
    CMessageRing::AddLineF(&g_messageRing, "%s", std::string(200, 'x').c_str());
    EXPECT_EQ(std::string(g_messageRing.GetLine(0)->text).size(), 79u);  // the shared 80-byte buffer
    g_messageRing.Clear();
    EXPECT_EQ(g_messageRing.GetLineCount(), 0);
    CMessageRing big(0, 0, 1, 1, 40);
    for (int i = 0; i < 40; ++i)
        big.AddLine("x");
    EXPECT_EQ(big.GetLineCount(), 29);  // 30 slots

    g_floatTexts.AddCentered(400, 100, "abc");
    EXPECT_EQ(g_floatTexts.First()->x, 391);
    for (int i = 0; i < 120; ++i)
        g_floatTexts.Add(i, i, std::string(300, 'n').c_str());
    EXPECT_EQ(g_floatTexts.GetCount(), 100);
    int walked = 0;
    for (const auto* e = g_floatTexts.First(); e; e = g_floatTexts.Next())
        walked += std::string(e->text).size() <= 131 ? 1 : 0;
    EXPECT_EQ(walked, 100);

    int stored = 0;
    for (int i = 0; i < 9; ++i)
        stored += g_noticeList.Add(i, 2, 3, 4, 5, 6, i - 1);
    EXPECT_EQ(stored, 7);
    EXPECT_EQ((*g_noticeList.First())[6], -1);
    g_noticeList.Clear();
    EXPECT_EQ(g_noticeList.First(), nullptr);

    EXPECT_EQ(GetFieldViewRight(), 800);
    LowerFieldViewRight(900);
    LowerFieldViewRight(600);
    LowerFieldViewRight(700);
    EXPECT_EQ(GetFieldViewRight(), 600);
}

}  // namespace
