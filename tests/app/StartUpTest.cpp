#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "app/GameData.h"
#include "app/HandOff.h"
#include "app/QuillonApp.h"
#include "app/QuillonView.h"
#include "app/StringTable.h"
#include "fixtures/ArchiveBuilder.h"
#include "platform/Process.h"
#include "platform/LauncherAtoms.h"
#include "support/FakeServer.h"
#include "support/Harness.h"

namespace {

struct FakeAtoms : plat::ILauncherAtoms {
    std::map<uint16_t, std::string> atoms{{4242, "gate-key"}};
    std::optional<std::string> Lookup(uint16_t atom) override
    {
        auto it = atoms.find(atom);
        if (it == atoms.end())
            return std::nullopt;
        return it->second;
    }
};

}  // namespace

TEST(StartUp, WithoutACommandLineTheClientConnectsOnItsOwn)
{
    CHarness h;
    ASSERT_TRUE(h.Start());
    EXPECT_FALSE(IsHandOffPath());
    EXPECT_STREQ(g_insultWords[0].data(), "badword");
    ASSERT_TRUE(h.RunUntil([] { return g_pView->m_bRunning != 0; }));
    EXPECT_TRUE(h.Boxes().empty());
}

TEST(StartUp, ARefusedHandOffEndsBeforeAnyWindow)
{
    FakeAtoms atoms;
    {
        CHarness h;
        plat::SetLauncherAtoms(&atoms);
        EXPECT_FALSE(h.Start("tolmar gate-key 10.0.0.7 9100 x x x x ombrix 4242 999"));
        ASSERT_EQ(h.Boxes().size(), 1u);
        EXPECT_EQ(h.Boxes()[0].text, HandOffMessage(HandOffRefusal::Version));
        EXPECT_EQ(theApp.m_pMainWnd, nullptr);
        EXPECT_EQ(theApp.m_startExitCode, 1);
    }
    {
        CHarness h;
        EXPECT_FALSE(h.Start("--help"));
        EXPECT_TRUE(h.Boxes().empty());  // not the launcher: silent
    }
}

TEST(StartUp, DamagedDataTablesShowTheResourceMessage)
{
    CArchiveBuilder b = CArchiveBuilder::MinimalGame();
    b.Damage().badTrailers = true;
    CTestArchive archive(b);
    CHarness h;
    EXPECT_FALSE(h.Start());
    ASSERT_EQ(h.Boxes().size(), 1u);
    EXPECT_EQ(h.Boxes()[0].text, GetGameString(IDS_RESOURCE_DAMAGED));
}

TEST(StartUp, WithoutTheWordFileTheFilterIsEmptyAndTheGameRuns)
{
    CArchiveBuilder b = CArchiveBuilder::MinimalGame();
    b.Remove("insult.txt");
    CTestArchive archive(b);
    g_insultWords[0] = {'o', 'l', 'd'};
    CHarness h;
    ASSERT_TRUE(h.Start());
    for (const auto& word : g_insultWords)
        ASSERT_EQ(word[0], 0);
    ASSERT_TRUE(h.RunUntil([] { return g_pView->m_bRunning != 0; }));
    EXPECT_TRUE(h.Boxes().empty());
}

class HandOffConnect : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::SetLauncherAtoms(&atoms);
        line = "tolmar gate-key 127.0.0.1 " + std::to_string(h.Server().Port()) + " x x x x ombrix 4242 1200";
        const std::string exe = plat::ExePath();
        const std::string text = exe.substr(0, exe.rfind('/')) + "/Tolmar.exe " + line;
        h.Server().Expect(Bytes(text.begin(), text.end()));
    }
    void StartAndWaitForTheText()
    {
        ASSERT_TRUE(h.Start(line));
        ASSERT_TRUE(IsHandOffPath());
        EXPECT_EQ(g_handOff.host, "127.0.0.1");
        EXPECT_EQ(g_handOff.port, h.Server().Port());
    }
    FakeAtoms atoms;
    CHarness h;
    std::string line;
};

TEST_F(HandOffConnect, AcceptedReplyStartsTheGame)
{
    h.Server().SendChunks({'~', '0'}, {1, 1});
    StartAndWaitForTheText();
    ASSERT_TRUE(h.RunUntil([] { return g_pView->m_bRunning != 0; }, 20000));
    EXPECT_EQ(h.Server().Failure(), "");
    EXPECT_TRUE(h.Boxes().empty());
}

TEST_F(HandOffConnect, IdInUseElsewhereEndsTheProgram)
{
    h.Server().Send({'~', '1'});
    StartAndWaitForTheText();
    ASSERT_TRUE(h.RunUntil([&] { return h.Quit(); }, 20000));
    EXPECT_EQ(h.Server().Failure(), "");
    EXPECT_EQ(g_pView->m_bRunning, 0u);
    ASSERT_EQ(h.Boxes().size(), 1u);
    EXPECT_EQ(h.Boxes()[0].text, "귀하의 아이디로 다른 사용자가 사용하고 있습니다.");
}

TEST_F(HandOffConnect, NoReplyKeepsWaitingUntilTheTimeLimit)
{
    StartAndWaitForTheText();
    h.RunForMs(kLoginReplyTimeoutMs - 1000);
    EXPECT_FALSE(h.Quit());
    EXPECT_EQ(g_pView->m_bRunning, 0u);
    ASSERT_TRUE(h.RunUntil([&] { return h.Quit(); }, 200000));
    EXPECT_EQ(h.Boxes().size(), 1u);
}

TEST_F(HandOffConnect, ServerClosingAfterHalfAReplyIsConnectionLost)
{
    h.Server().Send({'~'}).Close();
    StartAndWaitForTheText();
    // No more bytes can come: the client must not wait out the time limit.
    ASSERT_TRUE(h.RunUntil([&] { return h.Quit(); }, 5000));
    EXPECT_EQ(g_pView->m_bRunning, 0u);
    ASSERT_EQ(h.Boxes().size(), 1u);
    EXPECT_EQ(h.Boxes()[0].text, GetGameString(IDS_CONNECTION_LOST));
}
