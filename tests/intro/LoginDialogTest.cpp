#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "fixtures/PacketStream.h"
#include "fixtures/TempDir.h"
#include "intro/AuthDlg.h"
#include "intro/DupLoginDlg.h"
#include "intro/IntroLayer.h"
#include "platform/Dialogs.h"
#include "platform/headless/HeadlessPlatform.h"
#include "support/FakeServer.h"
#include "support/Harness.h"

namespace {

TEST(DupLoginDlg, AsksWithItsCaptionAndButtons)
{
    plat::CRecordingDialogs dialogs;
    plat::SetDialogs(&dialogs);
    dialogs.answers = {true, false};
    CDupLoginDlg dlg;
    EXPECT_EQ(dlg.DoModal(), CDupLoginDlg::IDOK);
    EXPECT_EQ(dlg.DoModal(), CDupLoginDlg::IDCANCEL);
    plat::SetDialogs(nullptr);
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_TRUE(dialogs.boxes[0].yesNo);
    EXPECT_EQ(dialogs.boxes[0].caption, "☞ 확인 ☜");
    EXPECT_EQ(dialogs.boxes[0].text, "귀하의 아이디는 이미 접속되어 있습니다.\n접속된 아이디를 끊을까요?");
    EXPECT_EQ(plat::ModalDepth(), 0);
}

TEST(DupLoginDlg, YesDuringTheLoginFormSendsTheIdAndClearsThePendingRequest)
{
    CHarness h{5000};
    CFakeServer server;
    server.UseForClient();
    server.Register();
    Bytes id0 = {2};
    PutU16(id0, 0);
    h.Platform().dialogs.answers = {true};
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(h.RunUntil([] { return g_gameFrameCount >= 2; }, 1000));
    g_requestPending = 1;
    server.Send(id0);
    ASSERT_TRUE(h.RunUntil([&] { return !h.Boxes().empty(); }, 5000));
    EXPECT_TRUE(h.Boxes()[0].yesNo);
    // The next frame sends 'c' with the form's ID (still empty here).
    ASSERT_TRUE(h.RunUntil([] { return g_playerIdState == 0; }, 1000));
    EXPECT_EQ(g_requestPending, 0);
    Bytes expected = {'c'};
    expected.resize(13, 0);
    ASSERT_TRUE(h.RunUntil(
        [&] {
            server.Pump();
            return server.AllReceived().size() >= expected.size();
        },
        5000));
    EXPECT_EQ(server.AllReceived(), expected);
}

class AuthDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::SetDialogs(&dialogs);
        dlg.m_gameRoomFile = dir.Path() + "/gameroom.txt";
        dlg.OnInitDialog();
    }
    void TearDown() override { plat::SetDialogs(nullptr); }
    plat::CRecordingDialogs dialogs;
    CTempDir dir;
    CAuthDlg dlg;
};

TEST_F(AuthDialog, OkChecksKindFieldsAndSpaces)
{
    EXPECT_EQ(dlg.OnOK(), 0);
    dlg.OnKind1();
    dlg.SetId("someone");
    EXPECT_EQ(dlg.OnOK(), 0);
    dlg.SetPassword("pw");
    dlg.SetId("some one");
    EXPECT_EQ(dlg.OnOK(), 0);
    ASSERT_EQ(dialogs.boxes.size(), 3u);
    EXPECT_EQ(dialogs.boxes[0].text, "사용 구분을 선택하세요.");
    EXPECT_EQ(dialogs.boxes[1].text, "모든 내용을 빠짐없이 입력하시길 바랍니다.");
    EXPECT_EQ(dialogs.boxes[2].text, "잘못 입력된 내용이 있습니다.");
    dlg.SetId("someone");
    EXPECT_EQ(dlg.OnOK(), 1);
    EXPECT_FALSE(dlg.m_okEnabled);
    // A kind 2 account needs neither field.
    dlg.OnKind2();
    EXPECT_FALSE(dlg.m_idEnabled);
    EXPECT_EQ(dlg.OnOK(), 1);
}

TEST_F(AuthDialog, GameRoomIdComesFromTheFilesFirstLine)
{
    dlg.OnKind3();
    // No file yet: created empty, the ID left for the user to type.
    EXPECT_TRUE(std::ifstream(dlg.m_gameRoomFile).good());
    EXPECT_TRUE(dlg.m_id.empty());
    EXPECT_TRUE(dlg.m_idEnabled);
    EXPECT_FALSE(dlg.m_passwordEnabled);
    EXPECT_EQ(dlg.OnOK(), 0);
    std::ofstream(dlg.m_gameRoomFile) << "room0123456789abcdef\r\nsecond\r\n";
    dlg.OnKind3();
    EXPECT_EQ(dlg.m_id, "room0123456789ab");  // 16 characters at most
    EXPECT_FALSE(dlg.m_idEnabled);
    EXPECT_EQ(dlg.m_kind, 3);
}

TEST_F(AuthDialog, ProgressRunsOnlyWhileSetAndWraps)
{
    dlg.OnTimer();
    EXPECT_EQ(dlg.m_progress, 0);
    dlg.SetProgressRunning(1);
    for (int i = 0; i < 2501; ++i)
        dlg.OnTimer();
    EXPECT_EQ(dlg.m_progress, 2);
}

}  // namespace
