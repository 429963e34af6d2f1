// The whole client on the headless harness: once the player has entered the
// world, the archive's "AutoExec" runs, frame by frame.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/CommandRing.h"
#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "fixtures/IntroArchive.h"
#include "fixtures/MapFileBuilder.h"
#include "fixtures/PacketStream.h"
#include "intro/IntroLayer.h"
#include "script/ScriptManager.h"
#include "scriptc/ScriptCompiler.h"
#include "support/FakeMessageBox.h"
#include "support/FakeServer.h"
#include "support/Harness.h"
#include "world/ObjLayer.h"

namespace {

constexpr uint16_t kId = 7;

Bytes FieldReply(int field, const Bytes& payload)
{
    return Concat({U16Packet(52, kId), {static_cast<uint8_t>(field)}, payload});
}

Bytes Request(int field) { return Concat({U16Packet(52, kId), {static_cast<uint8_t>(field)}}); }

TEST(ScriptClient, AutoExecRunsOnceThePlayerIsInTheWorld)
{
    FakeMessageBox box;
    CHarness h(5000);
    CArchiveBuilder b = CIntroArchive::Game();
    CMapFileBuilder::ReplaceStartStage(b);
    // The character's script number is 2: the numbered entry wins.
    b.Add("AutoExec0002.scr", CompileScript("proc Main() { call PushCommand(31); call Dialogue(\"Welcome, $$id$$\");"
                                            "call PushCommand(32); } ;"));
    b.Add("AutoExec.scr", CompileScript("proc Main() { call PushCommand(99); } ;"));
    CTestArchive archive(b, false);
    CFakeServer& server = h.Server();
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(h.RunUntil([] { return g_gameFrameCount >= 2; }, 200));
    g_loginRecord.SetSlot(1, 0, "Eric", 5);
    g_selectedSlot = 1;

    Bytes record(436, 0);
    record[CharacterRecord::kScriptValue] = 2;
    Bytes entered = U16Packet(3, kId);
    entered.insert(entered.end(), {0, 175, 0, 42, 1, 1, 0, 0, 0});
    Bytes name(12, 0);
    std::copy_n("Eric", 4, name.begin());
    server.Expect({1}).Send(U16Packet(1, 336));
    server.Expect(Concat({{2, 1, 6}, name})).Send(U16Packet(2, kId));
    server.Expect({50, 'W', 106}).Send({50, 1}).Send({106, 1});
    server.Expect(Request(50)).Send(FieldReply(50, record));
    server.Expect(Concat({Request(69), Request(68)})).Send(FieldReply(69, {0, 0, 0, 0})).Send(FieldReply(68, {0, 0, 0, 0}));
    server.Expect({3, 1, 175, 0, 42, 1}).Expect({'e', 3, kId, 0, 'e', 2, kId, 0, 'e', 4, kId, 0}).Send(entered);
    g_pView->m_pIntroLayer->m_sceneState = kSceneConnect;

    auto frames = [&](const std::function<bool()>& pred, int n) {
        for (int i = 0; i < n; ++i) {
            if (pred())
                return true;
            const uint32_t f = g_gameFrameCount;
            if (!h.RunUntil([&] { return g_gameFrameCount > f; }, 1000))
                return false;
        }
        return pred();
    };
    ASSERT_TRUE(frames([] { return g_pView->m_pIntroLayer->m_sceneState == kSceneInWorld; }, 300)) << g_connectStep;
    EXPECT_EQ(server.Failure(), "");
    ASSERT_EQ(g_scriptManager.CountRunning(), 1);
    EXPECT_TRUE(g_scriptManager.GetSlot(0).GetName() == "AutoExec");

    // A few frames on, the dialogue is up and the command waits in the
    // ring for the UI's command pass.
    ASSERT_TRUE(frames([&] { return !box.texts.empty(); }, 30));
    EXPECT_EQ(box.texts, std::vector<std::string>{"Welcome, Eric"});
    EXPECT_EQ(g_commandRing.Pop(), 31u);
    frames([] { return false; }, 10);
    EXPECT_TRUE(g_commandRing.IsEmpty()) << "the script waits while the dialogue shows";
    EXPECT_EQ(g_scriptManager.CountRunning(), 1);

    box.empty = true;  // the player pages through the box
    ASSERT_TRUE(frames([] { return g_scriptManager.CountRunning() == 0; }, 30));
    EXPECT_EQ(g_commandRing.Pop(), 32u);
    EXPECT_TRUE(g_commandRing.IsEmpty());
    EXPECT_TRUE(h.Boxes().empty());
}

}  // namespace
