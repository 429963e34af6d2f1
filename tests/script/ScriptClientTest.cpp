// The whole client on the headless harness, in the sample world: once the
// player has entered stage 0 the archive's "AutoExec" runs; an NPC of the
// town talks through the in-game message box and gives an item, frame by
// frame, the old man answers by where the player stands, and scripts drive
// the UI through the command ring (its -1 entries, a suspension), with
// nothing of the game replaced.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/CommandRing.h"
#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "fixtures/PacketStream.h"
#include "fixtures/SampleWorld.h"
#include "intro/IntroLayer.h"
#include "scriptc/ScriptCompiler.h"
#include "support/FakeServer.h"
#include "support/Harness.h"
#include "support/RunningScripts.h"
#include "ui/WidgetContainer.h"
#include "windows/DaradirUzedo.h"
#include "windows/SystemWindows.h"
#include "world/BGLayer.h"
#include "world/Character.h"
#include "world/Npc.h"
#include "world/ObjLayer.h"

namespace {

constexpr uint16_t kId = 7;
constexpr int kStartX = 175, kStartY = 298;
// The message box's colour and the band of its newest line (line 4).
constexpr uint8_t kBoxColour = 197;
constexpr int kNewestLineY = 30 + 20 * 4;

Bytes FieldReply(int field, const Bytes& payload)
{
    return Concat({U16Packet(52, kId), {static_cast<uint8_t>(field)}, payload});
}

Bytes Request(int field) { return Concat({U16Packet(52, kId), {static_cast<uint8_t>(field)}}); }

class ScriptClient : public testing::Test {
protected:
    // Log-in as "Eric", script number 2, onto a cell of stage 0 (the start
    // cell unless another is given).
    void EnterStageZero(uint8_t x = kStartX, uint16_t y = kStartY)
    {
        CFakeServer& server = h.Server();
        ASSERT_TRUE(h.Start());
        ASSERT_TRUE(h.RunUntil([] { return g_gameFrameCount >= 2; }, 200));
        g_loginRecord.SetSlot(1, 0, "Eric", 5);
        g_selectedSlot = 1;
        Bytes record(436, 0);
        record[CharacterRecord::kScriptValue] = 2;
        Bytes entered = U16Packet(3, kId);
        entered.insert(entered.end(), {0, x, 0, static_cast<uint8_t>(y), static_cast<uint8_t>(y >> 8), 1, 0, 0, 0});
        Bytes name(12, 0);
        std::copy_n("Eric", 4, name.begin());
        server.Expect({1}).Send(U16Packet(1, 336));
        server.Expect(Concat({{2, 1, 6}, name})).Send(U16Packet(2, kId));
        server.Expect({50, 'W', 106}).Send({50, 1}).Send({106, 1});
        server.Expect(Request(50)).Send(FieldReply(50, record));
        server.Expect(Concat({Request(69), Request(68)}))
            .Send(FieldReply(69, {0, 0, 0, 0}))
            .Send(FieldReply(68, {0, 0, 0, 0}));
        server.Expect({3, 1, kStartX, 0, kStartY & 0xFF, kStartY >> 8})
            .Expect({'e', 3, kId, 0, 'e', 2, kId, 0, 'e', 4, kId, 0})
            .Send(entered);
        g_pView->m_pIntroLayer->m_sceneState = kSceneConnect;
        ASSERT_TRUE(Frames([] { return g_uiCreated != 0; }, 400)) << "connect step " << g_connectStep;
        EXPECT_EQ(server.Failure(), "");
        ui = g_layerHolder.GetLayer();
        ASSERT_NE(ui, nullptr);
    }
    bool Frames(const std::function<bool()>& pred, int n)
    {
        for (int i = 0; i < n && !pred(); ++i) {
            const uint32_t f = g_gameFrameCount;
            if (!h.RunUntil([&] { return g_gameFrameCount > f; }, 1000))
                return false;
        }
        return pred();
    }
    int32_t State(int32_t id) { return ui->GetRootContainer()->FindChild(id)->GetState(); }
    bool Received(const Bytes& packet)
    {
        const Bytes& all = h.Server().AllReceived();
        return std::search(all.begin(), all.end(), packet.begin(), packet.end()) != all.end();
    }
    // Pixels of the message box's colour in the band of one of its lines on
    // the last presented frame.
    int BoxPixels(int lineY)
    {
        const plat::PresentRecord& shown = h.Platform().video.lastPresent;
        if (shown.depth != 8 || shown.width != 800 || shown.pixels.size() < 800u * 600u)
            return -1;
        int n = 0;
        for (int y = lineY; y < lineY + 16; ++y)
            for (int x = 50; x < 50 + 67 * 8; ++x)
                n += shown.pixels[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)] == kBoxColour ? 1 : 0;
        return n;
    }
    const CNpc* NpcAt(int x, int y)
    {
        CObjLayer* layer = g_pView->m_pObjLayer;
        for (int i = 0; i < CObjLayer::kNpcs; ++i) {
            const CNpc& npc = layer->NpcSlot(i);
            if (npc.IsActive() && npc.GetTileX() == x && npc.GetTileY() == y)
                return &npc;
        }
        return nullptr;
    }
    void ClickNpc(const CNpc& npc)
    {
        int sx = 0, sy = 0;
        g_pView->m_pObjLayer->GetBackground()->WorldToScreen(npc.GetPixelX(), npc.GetPixelY(), sx, sy);
        Click(sx, sy - 20);
    }
    void Click(int x, int y)
    {
        h.MouseMove(x, y);
        h.RunForMs(100);
        h.Click(1, x, y);
        h.RunForMs(100);
    }

    CHarness h{5000};
    CDaradirUzedo* ui = nullptr;
};

TEST_F(ScriptClient, TheMerchantOfStageZeroSpeaksTwoPagesThenGivesASword)
{
    CArchiveBuilder b = CSampleWorld::Builder();
    // The character's script number is 2: the numbered AutoExec wins, and
    // it sees the start cell as my tile.
    b.Add("AutoExec0002.scr", CompileScript("proc Main() { if (sys_TileX == 175 && sys_TileY == 298)"
                                            " call GiveItem(2); else call GiveItem(3); } ;"));
    b.Replace("AutoExec.scr", CompileScript("proc Main() { call GiveItem(4); } ;"));
    CTestArchive archive(b, false);
    EnterStageZero();
    ASSERT_TRUE(h.RunUntil([&] { return Received({53, 51, 0, 2, 0}); }, 20000)) << "the AutoExec's gift";
    EXPECT_FALSE(Received({53, 51, 0, 3, 0}));
    EXPECT_FALSE(Received({53, 51, 0, 4, 0}));

    // The merchant (talk id 50) stands a few cells from the start.
    const CNpc* merchant = NpcAt(179, 292);
    ASSERT_NE(merchant, nullptr);
    h.RunForMs(1000);
    ASSERT_EQ(BoxPixels(30), 0);
    ASSERT_EQ(BoxPixels(kNewestLineY), 0) << "nothing in the box yet";
    ClickNpc(*merchant);
    // The weapon shop comes in; its talk button starts "WepMerc".
    ASSERT_TRUE(Frames([&] { return State(102) == CWidget::kOpen; }, 200)) << State(102);
    Click(240 + 181 + 20, 123 + 85 + 10);

    const std::string page1 = "Welcome to my forge, Eric. Every blade here was made in town.";
    const std::string page2 = "Take this sword for the road, and come back when it is blunt.";
    const Bytes gift = {53, 51, 1, 1, 0};
    // Page 1 scrolls into the newest line and is drawn there; until then and
    // while page 2 waits in the box, nothing is given.
    ASSERT_TRUE(Frames([&] { return g_pMessageBoxWin->GetLine(4) == page1; }, 300)) << g_pMessageBoxWin->GetLine(4);
    // The box scrolls after drawing: the next frame shows the line.
    Frames([] { return false; }, 1);
    EXPECT_GT(BoxPixels(kNewestLineY), 20) << "the first page is drawn in the box";
    EXPECT_FALSE(Received(gift));
    ASSERT_TRUE(Frames([&] { return !g_pMessageBoxWin->IsEmpty(); }, 30)) << "then the second page";
    int frames = 0;
    for (; !g_pMessageBoxWin->IsEmpty() && frames < 200; ++frames) {
        EXPECT_FALSE(Received(gift)) << "the script waits while the box holds text";
        Frames([] { return false; }, 1);
    }
    EXPECT_GT(frames, 5);
    EXPECT_EQ(g_pMessageBoxWin->GetLine(4), page2);
    EXPECT_EQ(g_pMessageBoxWin->GetLine(3), page1);
    ASSERT_TRUE(h.RunUntil([&] { return Received(gift); }, 2000)) << "given once the box has emptied";
    EXPECT_EQ(h.Server().Failure(), "");
    EXPECT_TRUE(h.Boxes().empty());
}

TEST_F(ScriptClient, TheOldManAnswersByWhereThePlayerStands)
{
    CTestArchive archive(CSampleWorld::Builder(), false);
    // Six cells east of him: outside the corner he asks the player into.
    EnterStageZero(247, 265);
    const CNpc* oldMan = NpcAt(241, 265);
    ASSERT_NE(oldMan, nullptr);
    h.RunForMs(1000);
    ClickNpc(*oldMan);
    auto says = [](const char* line) {
        return [line] { return g_pMessageBoxWin->GetLine(4) == std::string(line); };
    };
    ASSERT_TRUE(Frames(says("Come closer, Eric! I cannot hear you from over there."), 300))
        << g_pMessageBoxWin->GetLine(4);

    // Three cells closer, inside his corner, the same click has the other
    // answer.
    CCharacter* me = g_pView->m_pObjLayer->GetMyCharacter();
    int px = 0, py = 0, sx = 0, sy = 0;
    CBGLayer::TileToPixel(244, 265, px, py);
    g_pView->m_pBGLayer->WorldToScreen(px + 32, py + 16, sx, sy);
    Click(sx, sy);
    ASSERT_TRUE(Frames([&] { return me->GetTileX() == 244 && me->GetTileY() == 265; }, 300))
        << me->GetTileX() << "," << me->GetTileY();
    ASSERT_TRUE(Frames([] { return g_pMessageBoxWin->IsEmpty(); }, 300));
    h.RunForMs(1000);
    ClickNpc(*oldMan);
    EXPECT_TRUE(Frames(says("Sit down, Eric. The fountain was dry before you were born."), 300))
        << g_pMessageBoxWin->GetLine(4);
    EXPECT_EQ(h.Server().Failure(), "");
    EXPECT_TRUE(h.Boxes().empty());
}

// A script's pushes made while the field changes scene (no UI pass runs
// until the server has taken the player in again) wait in the ring and
// leave together: a -1 behind an id that takes an argument is that
// argument, a -1 on its own ends the pass, and what follows it runs in the
// next one.
TEST_F(ScriptClient, ScriptPushesOfMinusOneKeepTheirPlaceInTheRing)
{
    CArchiveBuilder b = CSampleWorld::Builder();
    b.Replace("AutoExec.scr", CompileScript("proc Main() { while (sys_Hp != 77) { }"
                                            " call PushCommand(75); call PushCommand(-1); call PushCommand(69);"
                                            " call PushCommand(-1); call PushCommand(11); } ;"));
    CTestArchive archive(b, false);
    EnterStageZero();
    h.RunForMs(1000);
    ASSERT_EQ(RunningScripts(), std::vector<std::string>{"AutoExec"});

    // The HP the script waits for, and the managers' teleport to the start
    // cell of stage 0: the screen wipes and the field waits for its entry.
    Bytes teleport = {8, 7, 99, 0, 21, 0};
    teleport.resize(teleport.size() + 12, 0);
    teleport.insert(teleport.end(), {1, kStartX, 0, kStartY & 0xFF, kStartY >> 8, 0, 0, 0, 0});
    h.Server().Send(Concat({FieldReply(9, {77, 0, 0, 0}), teleport}));
    ASSERT_TRUE(Frames([] { return RunningScripts().empty(); }, 400));
    EXPECT_EQ(g_commandRing.Count(), 5u) << "75, -1, 69, -1, 11";
    EXPECT_EQ(State(10), CWidget::kClosed);

    Bytes entered = U16Packet(3, kId);
    entered.insert(entered.end(), {0, kStartX, 0, kStartY & 0xFF, kStartY >> 8, 1, 0, 0, 0});
    h.Server().Send(entered);
    ASSERT_TRUE(Frames([&] { return State(10) != CWidget::kClosed; }, 400)) << "the help, after the talk's -1";
    EXPECT_EQ(State(35), CWidget::kClosed) << "the -1 behind the help ended the pass";
    EXPECT_EQ(g_commandRing.Count(), 1u);
    Frames([] { return false; }, 1);
    EXPECT_NE(State(35), CWidget::kClosed) << "the game menu, in the next pass";
    EXPECT_TRUE(g_commandRing.IsEmpty());
    EXPECT_TRUE(h.Boxes().empty());
}

// A script that suspends the UI commands and is then ended because its
// variables are full lifts its suspension: the hot keys work again.
TEST_F(ScriptClient, AScriptEndedForFullVariablesLeavesNoSuspension)
{
    constexpr uint8_t kF1 = 59;
    CArchiveBuilder b = CSampleWorld::Builder();
    b.Replace("AutoExec.scr", CompileScript("proc Main() { call SuspendCommands(1); while (sys_Hp != 77) { }"
                                            " while (1) { int n; } } ;"));
    CTestArchive archive(b, false);
    EnterStageZero();
    auto f1 = [&] {
        h.KeyDown(kF1);
        Frames([] { return false; }, 2);
        h.KeyUp(kF1);
        Frames([] { return false; }, 30);
    };
    h.RunForMs(1000);
    f1();
    EXPECT_EQ(State(10), CWidget::kClosed) << "suspended";
    h.Server().Send(FieldReply(9, {77, 0, 0, 0}));
    ASSERT_TRUE(Frames([] { return RunningScripts().empty(); }, 5000)) << "ended when its 513th variable came";
    f1();
    EXPECT_NE(State(10), CWidget::kClosed) << "F1 opens the help again";
    EXPECT_TRUE(h.Boxes().empty());
}

}  // namespace

