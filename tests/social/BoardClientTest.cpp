// The whole client on the headless platform with two scripted board
// servers: the view's own board and mail connections, the real loop and
// frame. The UI layer's commands are played by calling the windows' entries
// as the command dispatcher calls them.
#include <gtest/gtest.h>

#include <string>

#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "fixtures/BoardRecordWriter.h"
#include "fixtures/IntroArchive.h"
#include "intro/IntroLayer.h"
#include "net/MySocket.h"
#include "platform/Settings.h"
#include "social/BoardList.h"
#include "social/BoardListWin.h"
#include "social/BoardReadWin.h"
#include "social/BoardTestEnv.h"
#include "social/BoardUpload.h"
#include "social/ListStream.h"
#include "social/MailWriteDlg.h"
#include "support/FakeServer.h"
#include "support/Harness.h"

namespace {

constexpr const char* kServerKey = "Software\\Brennix\\Quorvel\\Server";

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

TEST(BoardClient, BoardPageReadEntryAndPostOnTheirOwnConnection)
{
    CHarness h(5000);
    CArchiveBuilder archive = CIntroArchive::Game();
    BoardTest::AddBoardImages(archive);
    CTestArchive installed(archive, false);
    CFakeServer board;
    CFakeServer mail;
    board.Register();
    mail.Register();
    plat::Settings().SetString(kServerKey, "BoardHost", "127.0.0.1");
    plat::Settings().SetDword(kServerKey, "BoardPort", board.Port());
    plat::Settings().SetDword(kServerKey, "MailPort", mail.Port());
    plat::Settings().SetString("Control Panel\\International", "Locale", "00000412");
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(h.RunUntil([] { return g_gameFrameCount >= 1 && GetBoardSocket() && GetMailSocket(); }));
    g_loginRecord.SetSlot(1, 0, "Arin", 3);
    g_loginRecord.SetText(AccountRecord::kId, AccountRecord::kIdSize, "arin01");
    g_selectedSlot = 1;

    // The free board opens (command 48): its connection and its first line.
    CBullWin list;
    CBullReadWin reader;
    list.SetTabFrame(1);
    list.CloseConnection();
    list.OpenConnection("BOARD\n");
    list.SetState(CWidget::kOpen);
    list.Refresh();
    g_boardRequestStream.SetSocket(GetBoardSocket());
    g_boardReceiveStream.SetWindows(&list, &reader);
    Bytes page = BoardListMarker();
    for (int i = 1; i <= 16; ++i) {
        BoardRecordFields f;
        f.number = 200 + i;
        f.name = i == 4 ? "Arin" : "Bram";
        page = Concat({page, BoardRecord(f)});
    }
    board.Expect(Text("BOARD\n")).Expect(Text("LS\n")).Send(page, 100);
    ASSERT_TRUE(h.RunUntil([&] { return board.Unmatched().empty() && board.Accepted(); }));
    // The list button (command 56).
    g_boardRequestStream.SendRequest("LS\n");
    ASSERT_TRUE(h.RunUntil([&] {
        list.Draw(nullptr);
        return list.GetRowsReceived() == 15 && board.ScriptDone();
    }));
    h.Steps(40);
    list.Draw(nullptr);
    EXPECT_EQ(list.GetRowsReceived(), 15);
    EXPECT_EQ(g_boardList.GetEntry(14)->number, 215);

    // Reading the entry of row 3 (command 58) while the list shows.
    list.OnLButtonDown(list.GetPos()->x + 40, list.GetPos()->y + 60 + 19 * 3 + 1);
    ASSERT_EQ(list.GetSelected(), 204);
    list.RequestEntry(&reader);
    reader.SetState(CWidget::kOpen);
    BoardRecordFields entry;
    entry.number = 204;
    entry.lines = 2;
    board.Expect(Text("204\n")).Send(BoardReadReply(entry, std::string(100, 'w') + "\r\nbye", false), 37);
    ASSERT_TRUE(h.RunUntil([&] {
        list.Draw(nullptr);
        reader.Draw(nullptr);
        return reader.GetRecordCount() == 2;
    }));
    ASSERT_EQ(reader.GetLineCount(), 3);
    EXPECT_EQ(std::string(reader.GetLine(0)), std::string(80, 'w') + "\r");
    EXPECT_EQ(std::string(reader.GetLine(1)), std::string(20, 'w') + "\r");
    EXPECT_EQ(std::string(reader.GetLine(2)), "bye");

    // Back to the list (command 63: the reader closes, then "Z\n"); the page
    // comes again, though nobody reads text any more.
    reader.SetState(CWidget::kClosed);
    g_boardRequestStream.SendRequest("Z\n");
    board.Expect(Text("Z\n")).Send(page);
    ASSERT_TRUE(h.RunUntil([&] {
        list.Draw(nullptr);
        return board.ScriptDone() && list.GetRowsReceived() == 15;
    }));

    // Writing a post through the desktop dialog (command 59).
    OpenWritingDialog(false);
    plat::CScriptedFormDialogs& forms = h.Platform().forms;
    ASSERT_NE(forms.Shown(CMailWriteDlg::kTemplatePost), nullptr);
    const std::string body = "A post of more than forty bytes,\r\nwritten on the desktop.";
    forms.Type(CMailWriteDlg::kTemplatePost, CMailWriteDlg::kIdTitle, "Hello all");
    forms.Type(CMailWriteDlg::kTemplatePost, CMailWriteDlg::kIdBody, body);
    forms.Press(CMailWriteDlg::kTemplatePost, CMailWriteDlg::kIdSend);
    const BoardUpload upload = MakePostUpload("Arin", "arin01", "Hello all", body);
    board.Expect(Text("W\n")).Expect(upload.bytes).Expect(Text("Z\n"));
    ASSERT_TRUE(h.RunUntil([&] { return board.ScriptDone(); }));
    EXPECT_EQ(forms.Shown(CMailWriteDlg::kTemplatePost), nullptr);
    EXPECT_TRUE(board.Failure().empty()) << board.Failure();

    // The mailbox (command 51): the board list closes, the mail connection
    // opens with the character name line.
    list.CloseConnection();
    CMailWin mailbox;
    CMailReadWin mailReader;
    mailbox.SetTabFrame(3);
    mailbox.OpenConnection(nullptr);
    g_boardRequestStream.SetSocket(GetMailSocket());
    g_boardReceiveStream.SetWindows(&mailbox, &mailReader);
    mail.Expect(Text("Arin\n"));
    ASSERT_TRUE(h.RunUntil([&] { return mail.ScriptDone() && board.ClientClosed(); }));
    EXPECT_TRUE(mail.Failure().empty()) << mail.Failure();
}

}  // namespace
