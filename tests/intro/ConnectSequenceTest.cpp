// The connect sequence against the scripted server, on the virtual clock:
// the exact bytes the client sends, in order.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "app/StringTable.h"
#include "colony/SimColony.h"
#include "core/Display.h"
#include "core/HanCodeConv.h"
#include "fixtures/IntroArchive.h"
#include "fixtures/MapFileBuilder.h"
#include "intro/IntroLayer.h"
#include "scriptc/ScriptCompiler.h"
#include "support/FakeServer.h"
#include "support/Harness.h"
#include "support/RunningScripts.h"
#include "world/BGLayer.h"
#include "world/ObjLayer.h"
#include "world/StageLoader.h"

namespace {

constexpr uint16_t kId = 7;

Bytes NameBytes(const char* name)
{
    Bytes b(12, 0);
    for (size_t i = 0; i < 11 && name[i]; ++i)
        b[i] = static_cast<uint8_t>(name[i]);
    return b;
}

Bytes Request(int field) { return Concat({U16Packet(52, kId), {static_cast<uint8_t>(field)}}); }

Bytes FieldReply(int field, const Bytes& payload)
{
    return Concat({U16Packet(52, kId), {static_cast<uint8_t>(field)}, payload});
}

Bytes Entered(uint16_t id)
{
    Bytes b = U16Packet(3, id);
    b.push_back(0);
    PutU16(b, 175);
    PutU16(b, 298);
    PutU16(b, 1);
    b.push_back(0);
    b.push_back(0);
    return b;
}

CArchiveBuilder ConnectArchive()
{
    CArchiveBuilder b = CIntroArchive::Game();
    CMapFileBuilder::ReplaceStartStage(b);
    // Runs as long as the client does, so a test sees that it started.
    b.Add("AutoExec.scr", CompileScript("proc Main() { while (1) { } } ;"));
    return b;
}

class ConnectSequence : public ::testing::Test {
protected:
    void SetUp() override
    {
        server = &h.Server();
        ASSERT_TRUE(h.Start());
        ASSERT_TRUE(h.RunUntil([] { return g_gameFrameCount >= 2; }, 200));
        intro = g_pView->m_pIntroLayer;
        layer = g_pView->m_pObjLayer;
        g_loginRecord.SetSlot(1, 0, "Eric", 5);
        g_selectedSlot = 1;
    }
    // What the character screen leaves when a slot is played.
    void BeginConnect() { intro->m_sceneState = kSceneConnect; }
    void NextFrame()
    {
        const uint32_t n = g_gameFrameCount;
        ASSERT_TRUE(h.RunUntil([&] { return g_gameFrameCount > n; }, 1000));
    }
    bool RunUntil(const std::function<bool()>& pred, int frames = 200)
    {
        for (int i = 0; i < frames && !h.Quit(); ++i) {
            if (pred())
                return true;
            NextFrame();
        }
        return pred();
    }
    // The server has taken everything the client sent.
    void Settle(int frames = 5)
    {
        for (int i = 0; i < frames && !h.Quit(); ++i)
            NextFrame();
        for (int i = 0; i < 200; ++i)
            server->Pump();
    }
    bool InWorld() const { return intro->m_sceneState == kSceneInWorld; }

    CTestArchive archive{ConnectArchive(), false};
    CHarness h{5000};
    CFakeServer* server = nullptr;
    CIntroLayer* intro = nullptr;
    CObjLayer* layer = nullptr;
};

TEST_F(ConnectSequence, ExistingCharacterEntersTheWorld)
{
    Bytes record(436, 0);
    record[CharacterRecord::kHp] = 90;
    const Bytes choice = Concat({{2, 1, 6}, NameBytes("Eric")});
    server->Expect({1}).Send(U16Packet(1, 336));
    server->Expect(choice).Send(U16Packet(2, kId));
    server->Expect({50, 'W', 106}).Send({50, 1}).Send({106, 1});
    server->Expect(Request(50)).Send(FieldReply(50, record));
    server->Expect(Concat({Request(69), Request(68)})).Send(FieldReply(69, {0, 0, 0, 0})).Send(FieldReply(68, {0, 0, 0, 0}));
    server->Expect({3, 1, 175, 0, 42, 1}).Expect({'e', 3, kId, 0, 'e', 2, kId, 0, 'e', 4, kId, 0}).Send(Entered(kId));
    BeginConnect();
    ASSERT_TRUE(RunUntil([&] { return InWorld(); })) << "stopped at step " << g_connectStep;
    Settle();
    EXPECT_EQ(server->Failure(), "");
    EXPECT_TRUE(server->ScriptDone());
    // Asked last, once in the world: the recall point and the cabinet.
    EXPECT_EQ(server->Unmatched(), Concat({Request(63), Request(37)}));
    EXPECT_EQ(layer->MyRecord().I32(CharacterRecord::kHp), 90);
    EXPECT_EQ(RunningScripts(), std::vector<std::string>{"AutoExec"});
    EXPECT_TRUE(g_pView->m_pDisplay->Holds(g_pView->m_pBGLayer));
    EXPECT_TRUE(g_pView->m_pDisplay->Holds(layer));
    EXPECT_EQ(layer->m_inWorld, 1u);
    EXPECT_EQ(g_connectStep, 0);
    EXPECT_EQ(g_lastLoadedStage, 0);
    EXPECT_EQ(layer->MyRecord().U16(CharacterRecord::kScriptValue), 0) << "an old character keeps its value";
    EXPECT_TRUE(h.Boxes().empty());
}

TEST_F(ConnectSequence, NewCharacterUploadsItselfThenCreatesItsColony)
{
    g_slotExists[0] = 0;
    g_loginRecord.SetSlot(1, 2, "Andrew", 1);
    const Bytes choice = Concat({{2, 1, 6}, NameBytes("Andrew")});
    Bytes creation(g_loginRecord.bytes.begin() + AccountRecord::kSlotKinds, g_loginRecord.bytes.end());
    layer->MyRecord().SetU32(CharacterRecord::kMoney, 1234);
    Bytes image(layer->MyRecord().bytes.begin(), layer->MyRecord().bytes.begin() + 436);

    char greeting[100] = "안녕하세요.";
    CHanCodeConv::CP949ToJohab(greeting, greeting);
    Bytes profile = {'d', 1};
    profile.insert(profile.end(), greeting, greeting + 100);

    server->Expect({1}).Send(U16Packet(1, 336));
    server->Expect(choice).Send(U16Packet(2, kId));
    server->Expect({50, 'W', 106});
    server->Expect(Concat({{53, 23, 0, 0, 0, 0}, {53, 50}, image, {53, 60}, creation, Request(69), Request(68)}));
    server->Send({50, 0}).Send({106, 0}).Send(FieldReply(69, {0, 0, 0, 0}));
    server->Expect({3, 1, 175, 0, 42, 1});
    // The new colony made at start-up: its 14 objects in drawing order (the
    // cursor's facility stays home), five cubes, rate 30 and 100 of wood,
    // stone and iron.
    Bytes facilities = {'d', 3, 112, 0};
    for (CSimMapObject* o : g_simColony) {
        if (o->m_type == 0)
            continue;
        facilities.push_back(static_cast<uint8_t>(o->m_type));
        PutU16(facilities, static_cast<uint16_t>(o->m_x));
        PutU16(facilities, static_cast<uint16_t>(o->m_y));
        const bool facility = o->m_type == 41 || o->m_type == 58;
        facilities.insert(facilities.end(), {0, 0, static_cast<uint8_t>(facility ? 1 : 0)});
    }
    ASSERT_EQ(facilities.size(), 116u);
    Bytes cubes = {'d', 4, 0, 1, 2, 3, 4};
    cubes.resize(22, 255);
    server->Expect(profile).Expect(facilities).Expect(cubes);
    server->Expect({'d', 2, 0, 0, 0, 0, 30, 100, 0, 100, 0, 100, 0, 0, 0}).Send(Entered(kId));
    BeginConnect();
    ASSERT_TRUE(RunUntil([&] { return InWorld(); }));
    Settle();
    EXPECT_EQ(server->Failure(), "");
    EXPECT_TRUE(server->ScriptDone());
    EXPECT_EQ(server->Unmatched(), Concat({Request(63), Request(37)}));
    EXPECT_EQ(layer->MyRecord().U16(CharacterRecord::kScriptValue), 256);
    EXPECT_EQ(RunningScripts(), std::vector<std::string>{"AutoExec"});
}

TEST_F(ConnectSequence, DuplicateLoginAnsweredYesCutsTheOtherAndChoosesAgain)
{
    h.Platform().dialogs.answers = {true};
    const Bytes choice = Concat({{2, 1, 6}, NameBytes("Eric")});
    server->Expect({1}).Send(U16Packet(1, 336));
    server->Expect(choice).Send(U16Packet(2, 0));
    server->Expect(Concat({{'c'}, NameBytes("Eric")})).Expect(choice).Send(U16Packet(2, kId));
    server->Expect({50, 'W', 106});
    BeginConnect();
    ASSERT_TRUE(RunUntil([&] { return g_connectStep == 5; }));
    Settle();
    EXPECT_EQ(server->Failure(), "");
    EXPECT_TRUE(server->ScriptDone());
    ASSERT_EQ(h.Boxes().size(), 1u);
    EXPECT_TRUE(h.Boxes()[0].yesNo);
    EXPECT_EQ(g_myId, kId);
}

TEST_F(ConnectSequence, VersionAndChoiceRunInTheFrameTheAnswerArrives)
{
    server->Expect({1});
    BeginConnect();
    ASSERT_TRUE(RunUntil([&] { return g_connectStep == 1; }));
    Settle();
    ASSERT_TRUE(server->ScriptDone());
    server->Send(U16Packet(1, 336));
    ASSERT_TRUE(RunUntil([] { return g_versionConfirmed == 1; }));
    // Steps 1 and 2 ran in the frame that took the answer.
    EXPECT_EQ(g_connectStep, 3);
}

TEST_F(ConnectSequence, WrongVersionEndsTheClient)
{
    server->Expect({1}).Send(U16Packet(1, 335));
    BeginConnect();
    ASSERT_TRUE(h.RunUntil([&] { return h.Quit(); }, 20000));
    ASSERT_FALSE(h.Boxes().empty());
    EXPECT_EQ(h.Boxes()[0].text, GetGameString(IDS_VERSION_MISMATCH));
    EXPECT_EQ(g_connectStep, 1);
}

TEST_F(ConnectSequence, LostConnectionEndsTheClient)
{
    server->Expect({1}).Close();
    BeginConnect();
    ASSERT_TRUE(h.RunUntil([&] { return h.Quit(); }, 20000));
    ASSERT_FALSE(h.Boxes().empty());
    EXPECT_EQ(h.Boxes().back().text, GetGameString(IDS_CONNECTION_LOST));
    EXPECT_TRUE(RunningScripts().empty()) << "never in the world";
}

TEST_F(ConnectSequence, EscOnTheConnectScreenExits)
{
    BeginConnect();
    NextFrame();
    h.KeyDown(1);
    ASSERT_TRUE(h.RunUntil([&] { return h.Quit(); }, 20000));
    EXPECT_TRUE(h.Boxes().empty());
}

TEST_F(ConnectSequence, RefusedEntryShowsAMessageAndEnds)
{
    server->Expect({1}).Send(U16Packet(1, 336));
    server->Expect(Concat({{2, 1, 6}, NameBytes("Eric")})).Send(U16Packet(2, kId));
    server->Expect({50, 'W', 106}).Send({50, 1}).Send({106, 1}).Expect(Request(50)).Send(FieldReply(50, Bytes(436, 0)));
    server->Expect(Concat({Request(69), Request(68)})).Send(FieldReply(69, {5, 0, 0, 0}));
    // A jail term: the second start cell.
    server->Expect({3, 1, 0x61, 1, 0xF3, 0}).Send(Entered(0));
    BeginConnect();
    ASSERT_TRUE(h.RunUntil([&] { return h.Quit(); }, 40000));
    EXPECT_EQ(server->Failure(), "");
    ASSERT_EQ(h.Boxes().size(), 1u);
    EXPECT_EQ(h.Boxes()[0].text, "게임에 들어갈 수 없습니다. 게임을 종료합니다.");
    EXPECT_TRUE(RunningScripts().empty()) << "never in the world";
    EXPECT_EQ(g_lastLoadedStage, 0) << "a jailed character's stage is loaded too";
}

TEST_F(ConnectSequence, JailTimeIsAskedOnceAndAgainOnlyAfterAWhile)
{
    server->Expect({1}).Send(U16Packet(1, 336));
    server->Expect(Concat({{2, 1, 6}, NameBytes("Eric")})).Send(U16Packet(2, kId));
    server->Expect({50, 'W', 106}).Send({50, 1}).Send({106, 1}).Expect(Request(50)).Send(FieldReply(50, Bytes(436, 0)));
    server->Expect(Concat({Request(69), Request(68)}));
    BeginConnect();
    ASSERT_TRUE(RunUntil([&] { return g_connectStep == 7; }));
    Settle(30);
    ASSERT_TRUE(server->ScriptDone());
    EXPECT_TRUE(server->Unmatched().empty()) << "no request every frame";
    h.Clock().Advance(kJailRequestRepeatMs);
    Settle(3);
    EXPECT_EQ(server->Unmatched(), Concat({Request(69), Request(68)}));
    EXPECT_EQ(g_connectStep, 7);
}

TEST_F(ConnectSequence, NewCharacterWithAReadyAnswerDoesNotSkipTheEntry)
{
    g_slotExists[0] = 0;
    g_connectStep = 5;
    g_myId = kId;
    g_readyAnswer = 1;
    layer->m_jailStartTime = -1;
    BeginConnect();
    NextFrame();
    // Uploaded and waiting for the jail time at step 7, field 50 not asked.
    EXPECT_EQ(g_connectStep, 7);
    Settle(1);
    const Bytes& got = server->AllReceived();
    const Bytes ask = Request(50);
    EXPECT_EQ(std::search(got.begin(), got.end(), ask.begin(), ask.end()), got.end());
}

TEST(ConnectScreen, BarFillsThreeTimesThenAsksToTryAgain)
{
    ResetIntroState();
    char text[96];
    CIntroLayer::FormatConnectText(0, text, sizeof text);
    EXPECT_STREQ(text, "Login Processing .. Pass 1   ( Press ESC to Quit )");
    CIntroLayer::FormatConnectText(3, text, sizeof text);
    EXPECT_STREQ(text, "Login Processing .. Try again (Press Esc to Quit)  ( Press ESC to Quit )");
    CIntroLayer layer(nullptr);
    for (int i = 0; i < 2807; ++i)
        layer.ConnectScreen();
    EXPECT_EQ(g_connectPass, 2);
    EXPECT_EQ(g_connectProgress, 233);
    layer.ConnectScreen();
    EXPECT_EQ(g_connectPass, 3);
    EXPECT_EQ(g_connectProgress, 234);
    for (int i = 0; i < 40; ++i)
        layer.ConnectScreen();
    EXPECT_EQ(g_connectProgress, 234);
    EXPECT_NE(std::string(layer.GetConnectText()).find("Try again"), std::string::npos);
    ResetIntroState();
}

}  // namespace
