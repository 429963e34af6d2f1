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
#include "net/MySocket.h"
#include "platform/LauncherAtoms.h"
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

const std::string kLauncherLine = "tolmar gate-key 10.0.0.7 9100 x x x x ombrix 4242 1200";

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

class HandOffConnect : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::SetLauncherAtoms(&atoms);
        ASSERT_TRUE(h.Start(kLauncherLine));
        ASSERT_TRUE(IsHandOffPath());
        EXPECT_EQ(g_handOff.host, "10.0.0.7");
        EXPECT_EQ(g_handOff.port, 9100);
        h.Steps(3);
        ASSERT_NE(g_pMainSocket, nullptr);
        ASSERT_FALSE(g_pMainSocket->m_sent.empty());
        const std::vector<uint8_t>& first = g_pMainSocket->m_sent.front();
        text.assign(first.begin(), first.end());
    }
    FakeAtoms atoms;
    CHarness h;
    std::string text;
};

TEST_F(HandOffConnect, AcceptedReplyStartsTheGame)
{
    EXPECT_EQ(g_pMainSocket->m_host, "10.0.0.7");
    const std::string tail = "/Tolmar.exe " + kLauncherLine;
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_EQ(g_pView->m_bRunning, 0u);
    g_pMainSocket->m_received.push_back('~');
    h.Steps(3);
    EXPECT_EQ(g_pView->m_bRunning, 0u);  // half a reply decides nothing
    g_pMainSocket->m_received.push_back('0');
    ASSERT_TRUE(h.RunUntil([] { return g_pView->m_bRunning != 0; }, 10));
    EXPECT_TRUE(h.Boxes().empty());
}

TEST_F(HandOffConnect, IdInUseElsewhereEndsTheProgram)
{
    g_pMainSocket->m_received.push_back('~');
    g_pMainSocket->m_received.push_back('1');
    ASSERT_TRUE(h.RunUntil([&] { return h.Quit(); }, 100));
    ASSERT_EQ(h.Boxes().size(), 1u);
    EXPECT_EQ(h.Boxes()[0].text, "귀하의 아이디로 다른 사용자가 사용하고 있습니다.");
}
