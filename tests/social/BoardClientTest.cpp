// The whole client in the sample world, logged in on the demo server, with
// scripted board and mail servers or the demo's own. Everything is done with
// clicks and keys: a board structure on the field opens the bulletin board
// on its own connection, the list, read, write and search buttons talk to
// the board server byte for byte, a game master's Ctrl+M opens the mail.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/ExitGame.h"
#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "core/TextLayer.h"
#include "fixtures/BoardRecordWriter.h"
#include "fixtures/SampleWorld.h"
#include "intro/IntroLayer.h"
#include "platform/Settings.h"
#include "social/ListStream.h"
#include "social/MailWriteDlg.h"
#include "support/DemoBoardServer.h"
#include "support/DemoServer.h"
#include "support/FakeServer.h"
#include "support/Harness.h"
#include "support/SampleTown.h"
#include "ui/MessageRing.h"
#include "world/BGLayer.h"

namespace {

constexpr uint8_t kCtrl = 29;
constexpr uint8_t kD = 32, kE = 18, kH = 35, kI = 23, kL = 38, kM = 50, kN = 49, kS = 31;
// The free board of the sample town.
constexpr int kFreeBoardX = 172, kFreeBoardY = 301;
constexpr int kNoticeBoardX = 178, kNoticeBoardY = 295;
// The list window stands at (96, 76) once open; its buttons and rows are
// placed from there.
constexpr int kListX = 96, kListY = 76;
// The reader's place once open.
constexpr int kReadX = 94, kReadY = 76;

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }
// An upload's length: its decimal digits in 4 bytes, a NUL after 3.
Bytes LengthField(size_t total)
{
    char digits[8] = {};
    std::snprintf(digits, sizeof digits, "%zu", total);
    return Bytes(digits, digits + 4);
}

class BoardClient : public testing::Test, protected CSampleTown {
protected:
    BoardClient() { plat::Settings().SetString("Control Panel\\International", "Locale", "00000412"); }

    static std::string BoardRow(const BoardRecordFields& f)
    {
        char row[160];
        std::snprintf(row, sizeof row, "%5d  %-17s  %8s  %5u %5u    %-s", f.number, f.name.c_str(),
                      f.date.c_str() + 2, f.lines, f.counter, f.title.c_str());
        return row;
    }
};

TEST_F(BoardClient, BoardsAndMailAreReachedWithClicksAndKeys)
{
    CFakeServer board, mail;
    board.Register();
    mail.Register();
    UseBoardServers(board.Port(), mail.Port());
    ASSERT_TRUE(LogIn(true));

    // A click on the free board of the town: its connection, its line.
    ClickCell(kFreeBoardX, kFreeBoardY);
    board.Expect(Text("BOARD\n"));
    ASSERT_TRUE(h.RunUntil([&] { return board.ScriptDone(); }, 20000)) << board.Failure();
    h.RunForMs(1000);

    // The list button: "LS\n", answered by a page of 16 records in small
    // pieces; 15 rows show the first 15, the 16th is read and dropped.
    Bytes page = BoardListMarker();
    std::vector<BoardRecordFields> records;
    for (int i = 1; i <= 16; ++i) {
        BoardRecordFields f;
        f.number = 200 + i;
        f.name = i == 4 ? "Hero" : "Bram";
        f.counter = static_cast<uint32_t>(i);
        f.title = "Title " + std::to_string(i);
        records.push_back(f);
        page = Concat({page, BoardRecord(f)});
    }
    board.Expect(Text("LS\n")).Send(page, 100);
    ClickAt(kListX + 90, kListY + 382);
    ASSERT_TRUE(h.RunUntil([&] { return board.ScriptDone(); }, 20000)) << board.Failure();
    // A second press inside the cooldown is dropped, not sent later.
    h.RunForMs(700);
    ClickAt(kListX + 90, kListY + 382);
    h.RunForMs(1000);
    EXPECT_TRUE(board.Unmatched().empty()) << "one list request in 45 frames";
    for (int row = 0; row < 15; ++row)
        EXPECT_EQ(Shown(BoardRow(records[static_cast<size_t>(row)]), kListX + 15, kListY + 62 + 19 * row, 162), 1.0)
            << "row " << row;

    // A double click on row 3 reads its entry; the reader shows the text,
    // 17 lines of its 20.
    BoardRecordFields entry = records[3];
    std::string text = "Hello from the board.\nSecond line.";
    for (int line = 3; line <= 20; ++line)
        text += "\nLine " + std::to_string(line);
    board.Expect(Text("204\n")).Send(BoardReadReply(entry, text, false), 50);
    const int rowY = kListY + 60 + 19 * 3 + 5;
    DoubleClickAt(kListX + 100, rowY);
    ASSERT_TRUE(h.RunUntil([&] { return board.ScriptDone(); }, 20000)) << board.Failure();
    // Past the cooldown of the read request.
    h.MouseMove(780, 590);
    h.RunForMs(1500);
    EXPECT_EQ(Shown("Hello from the board.", kReadX + 25, kReadY + 117, 60), 1.0);
    EXPECT_EQ(Shown("Second line.", kReadX + 25, kReadY + 117 + 14, 60), 1.0);

    // The reader's page buttons: down shows the last 17 lines, up the first.
    ClickAt(kReadX + 60 + 12, kReadY + 385 + 12);
    h.MouseMove(780, 590);
    h.RunForMs(1600);
    EXPECT_EQ(Shown("Line 4", kReadX + 25, kReadY + 117, 60), 1.0);
    EXPECT_EQ(Shown("Line 20", kReadX + 25, kReadY + 117 + 14 * 16, 60), 1.0);
    ClickAt(kReadX + 20 + 12, kReadY + 385 + 12);
    h.MouseMove(780, 590);
    h.RunForMs(1600);
    EXPECT_EQ(Shown("Hello from the board.", kReadX + 25, kReadY + 117, 60), 1.0);

    // The next and the previous entry, each a read reply of its own.
    struct Neighbour {
        const char* request;
        int buttonX;
        const char* text;
    };
    for (const Neighbour& n : {Neighbour{"N\n", 542, "The entry after."}, Neighbour{"A\n", 486, "The entry before."}}) {
        board.Expect(Text(n.request)).Send(BoardReadReply(records[4], n.text, false));
        ClickAt(kReadX + n.buttonX + 12, kReadY + 385 + 12);
        ASSERT_TRUE(h.RunUntil([&] { return board.ScriptDone(); }, 20000)) << n.request << board.Failure();
        h.MouseMove(780, 590);
        h.RunForMs(1600);
        EXPECT_EQ(Shown(n.text, kReadX + 25, kReadY + 117, 60), 1.0) << n.request;
    }

    // Back to the list: the reader closes, "Z\n" asks for the page again.
    board.Expect(Text("Z\n")).Send(page);
    ClickAt(kReadX + 420 + 30, kReadY + 370 + 12);
    ASSERT_TRUE(h.RunUntil([&] { return board.ScriptDone(); }, 20000)) << board.Failure();
    h.RunForMs(1600);
    EXPECT_EQ(Shown(BoardRow(records[0]), kListX + 15, kListY + 62, 162), 1.0);

    // The list's page buttons, each answered by a page; then my own entry
    // on row 3 is selected and erased.
    for (const char* request : {"F\n", "B\n"}) {
        board.Expect(Text(request)).Send(page);
        ClickAt(request[0] == 'F' ? kListX + 501 + 12 : kListX + 547 + 12, kListY + 385 + 12);
        ASSERT_TRUE(h.RunUntil([&] { return board.ScriptDone(); }, 20000)) << request << board.Failure();
        h.MouseMove(780, 590);
        h.RunForMs(1600);
    }
    EXPECT_EQ(Shown(BoardRow(records[14]), kListX + 15, kListY + 62 + 19 * 14, 162), 1.0);
    board.Expect(Text("DD204\n")).Send(page);
    ClickAt(kListX + 100, rowY);
    ClickAt(kListX + 180 + 30, kListY + 370 + 12);
    ASSERT_TRUE(h.RunUntil([&] { return board.ScriptDone(); }, 20000)) << board.Failure();
    h.MouseMove(780, 590);
    h.RunForMs(1600);

    // The write button announces an upload and opens the desktop form; Send
    // gives the upload and "Z\n", and the reload it posts "Z\n" once more.
    board.Expect(Text("W\n"));
    ClickAt(kListX + 390, kListY + 382);
    ASSERT_TRUE(h.RunUntil([&] { return board.ScriptDone(); }, 20000)) << board.Failure();
    plat::CScriptedFormDialogs& forms = h.Platform().forms;
    ASSERT_NE(forms.Shown(CMailWriteDlg::kTemplatePost), nullptr);
    h.RunForMs(1600);
    const std::string body = "A post of more than forty bytes,\r\nwritten on the desktop.";
    forms.Type(CMailWriteDlg::kTemplatePost, CMailWriteDlg::kIdTitle, "Hello all");
    forms.Type(CMailWriteDlg::kTemplatePost, CMailWriteDlg::kIdBody, body);
    forms.Press(CMailWriteDlg::kTemplatePost, CMailWriteDlg::kIdSend);
    BoardRecordFields header;
    header.number = 0;
    header.name = "Hero";
    header.loginId = "gm1";
    header.date = header.time = "";
    header.bodySize = static_cast<uint32_t>(body.size() + 1);
    header.lines = 2;
    header.title = "Hello all";
    board.Expect(Concat({LengthField(156 + body.size() + 1), BoardRecord(header), Text(body), {0}, Text("Z\nZ\n")}));
    ASSERT_TRUE(h.RunUntil([&] { return board.ScriptDone(); }, 20000)) << board.Failure();
    h.RunForMs(200);
    EXPECT_EQ(forms.Shown(CMailWriteDlg::kTemplatePost), nullptr);

    // Ctrl+M, a game master's key: the board's connection closes and the
    // mailbox opens on its own with the character's name; its page shows.
    BoardRecordFields letter;
    letter.number = 7;
    letter.name = "Warden";
    letter.date = "2026-02-28";
    letter.lines = 2;
    letter.title = "Welcome";
    mail.Expect(Text("Hero\n")).Send(Concat({BoardListMarker(), MailRecord(letter)}));
    Chord({kCtrl, kM});
    ASSERT_TRUE(h.RunUntil([&] { return mail.ScriptDone() && board.ClientClosed(); }, 20000)) << mail.Failure();
    h.RunForMs(500);
    char mailRow[160];
    std::snprintf(mailRow, sizeof mailRow, "%5d  %-17s  %s  %5d   %s", 7, "Warden", "2026-02-28", 2, "Welcome");
    EXPECT_EQ(Shown(mailRow, kListX + 15, kListY + 62, 162), 1.0);
    h.RunForMs(2000);

    // The list button, then the write button inside the request cooldown:
    // no "W\n" from the button, so Send announces its upload itself; the
    // reload Send posts falls in the cooldown too.
    mail.Expect(Text("LS\n"));
    ClickAt(kListX + 90, kListY + 382);
    ClickAt(kListX + 390, kListY + 382);
    ASSERT_TRUE(h.RunUntil([&] { return mail.ScriptDone(); }, 20000)) << mail.Failure();
    const int t = CMailWriteDlg::kTemplateMail;
    ASSERT_NE(forms.Shown(t), nullptr);
    EXPECT_TRUE(mail.Unmatched().empty());
    forms.Type(t, CMailWriteDlg::kIdRecipients, "arin bram");
    forms.Type(t, CMailWriteDlg::kIdTitle, "Meet");
    forms.Type(t, CMailWriteDlg::kIdBody, "See you at noon.");
    forms.Press(t, CMailWriteDlg::kIdSend);
    Bytes letterHeader(328, 0);
    auto put = [&](size_t at, const std::string& text) { std::copy(text.begin(), text.end(), letterHeader.begin() + at); };
    put(8, "Hero");
    put(25, "gm1");
    put(37, "arin");
    put(37 + 17, "bram");
    letterHeader[232] = 17;
    letterHeader[236] = 1;
    put(240, "Meet");
    mail.Expect(Concat({Text("W\n"), LengthField(328 + 17), letterHeader, Text("See you at noon."), {0}, Text("Z\n")}));
    ASSERT_TRUE(h.RunUntil([&] { return mail.ScriptDone(); }, 20000)) << mail.Failure();
    h.RunForMs(1000);
    EXPECT_TRUE(mail.Unmatched().empty()) << "the reload fell in the cooldown";
    EXPECT_EQ(forms.Shown(t), nullptr);

    // A board server that refuses: a line says so and the game goes on.
    plat::CTcpListener gone;
    ASSERT_EQ(gone.Listen(0), 0);
    plat::Settings().SetDword(kServerKey, "BoardPort", gone.Port());
    gone.Close();
    Chord({kCtrl, kN});
    h.RunForMs(1000);
    ASSERT_NE(g_messageRing.GetLine(0), nullptr);
    EXPECT_STREQ(g_messageRing.GetLine(0)->text, "게시판 서버에 연결할 수 없습니다.");
    const uint32_t frames = g_gameFrameCount;
    h.RunForMs(1000);
    // A frame every 33 ms: 30 or 31 in a second, by where the clock stands.
    EXPECT_GE(g_gameFrameCount, frames + 30);
    EXPECT_FALSE(IsExiting());
    EXPECT_FALSE(game.ClientGone());
    EXPECT_TRUE(h.Boxes().empty());
    // A game master writes a notice there: the box says it was not sent and
    // the text stays in the form.
    ClickAt(kListX + 390, kListY + 382);
    ASSERT_NE(forms.Shown(CMailWriteDlg::kTemplatePost), nullptr);
    forms.Type(CMailWriteDlg::kTemplatePost, CMailWriteDlg::kIdTitle, "Notice");
    forms.Type(CMailWriteDlg::kTemplatePost, CMailWriteDlg::kIdBody, body);
    forms.Press(CMailWriteDlg::kTemplatePost, CMailWriteDlg::kIdSend);
    h.RunForMs(200);
    ASSERT_EQ(h.Boxes().size(), 1u);
    EXPECT_EQ(h.Boxes()[0].text, "게시판 서버에 연결되어 있지 않아 보내지 못했습니다.");
    ASSERT_NE(forms.Shown(CMailWriteDlg::kTemplatePost), nullptr);
    EXPECT_EQ(forms.Shown(CMailWriteDlg::kTemplatePost)->fields.at(CMailWriteDlg::kIdBody), body);
    EXPECT_TRUE(board.Failure().empty()) << board.Failure();
    EXPECT_TRUE(mail.Failure().empty()) << mail.Failure();
}

// A read reply whose reader was closed before its text had come is passed
// over by its header's body length: the next page shows at once, and an
// entry read meanwhile shows its own text on the same connection.
TEST_F(BoardClient, AReplyLeftByAClosedReaderHoldsUpNeitherTheListNorTheNextRead)
{
    CFakeServer board, mail;
    board.Register();
    mail.Register();
    UseBoardServers(board.Port(), mail.Port());
    ASSERT_TRUE(LogIn(false));
    auto page = [](const char* title) {
        Bytes out = BoardListMarker();
        for (int n = 1; n <= 2; ++n) {
            BoardRecordFields f;
            f.number = n;
            f.title = std::string(title) + " " + std::to_string(n);
            out = Concat({out, BoardRecord(f)});
        }
        return out;
    };
    auto firstRow = [&](const char* title) {
        BoardRecordFields f;
        f.title = std::string(title) + " 1";
        return Shown(BoardRow(f), kListX + 15, kListY + 62, 162);
    };
    auto settle = [&] {
        h.MouseMove(780, 590);
        h.RunForMs(1600);
    };
    const int rowY = kListY + 60 + 5;
    const int backX = kReadX + 420 + 30, backY = kReadY + 370 + 12;

    board.Expect(Text("BOARD\n")).Send(page("First"));
    ClickCell(kFreeBoardX, kFreeBoardY);
    settle();
    ASSERT_EQ(firstRow("First"), 1.0);

    // Entry 1's header comes, its 6-byte body only once the reader is gone;
    // the next page is right behind it.
    BoardRecordFields entry;
    const Bytes reply = BoardReadReply(entry, "hello", false);
    const size_t headerEnd = 4 + kBoardRecordSize;
    board.Expect(Text("1\n")).Send(Bytes(reply.begin(), reply.begin() + headerEnd));
    DoubleClickAt(kListX + 100, rowY);
    ASSERT_TRUE(h.RunUntil([&] { return board.ScriptDone(); }, 20000)) << board.Failure();
    settle();
    board.Expect(Text("Z\n")).Send(Concat({Bytes(reply.begin() + headerEnd, reply.end()), page("Second")}));
    ClickAt(backX, backY);
    ASSERT_TRUE(h.RunUntil([&] { return board.ScriptDone(); }, 20000)) << board.Failure();
    // Once the reader has slid away.
    h.RunForMs(500);
    EXPECT_EQ(firstRow("Second"), 1.0);

    // Entry 2's long text stops coming with the reader closed; entry 1 is
    // read before the rest of it has come.
    settle();
    const Bytes longReply = BoardReadReply(entry, std::string(9000, 'x'), false);
    board.Expect(Text("2\n")).Send(Bytes(longReply.begin(), longReply.begin() + headerEnd + 1000));
    DoubleClickAt(kListX + 100, rowY + 19);
    ASSERT_TRUE(h.RunUntil([&] { return board.ScriptDone(); }, 20000)) << board.Failure();
    settle();
    board.Expect(Text("Z\n"));
    ClickAt(backX, backY);
    ASSERT_TRUE(h.RunUntil([&] { return board.ScriptDone(); }, 20000)) << board.Failure();
    settle();
    board.Expect(Text("1\n"))
        .Send(Concat({Bytes(longReply.begin() + headerEnd + 1000, longReply.end()),
                      BoardReadReply(entry, "Read while the last text was still coming.", false)}),
              1500);
    DoubleClickAt(kListX + 100, rowY);
    ASSERT_TRUE(h.RunUntil([&] { return board.ScriptDone(); }, 20000)) << board.Failure();
    settle();
    EXPECT_EQ(Shown("Read while the last text was still coming.", kReadX + 25, kReadY + 117, 60), 1.0);
    EXPECT_FALSE(board.ClientClosed());
    EXPECT_TRUE(board.Unmatched().empty());
}

// The demo's own servers answer a player of the sample town: the first page
// comes with the board, an entry reads, a post is kept and listed first, a
// search by title lists its matches; the mail key and writing on the notice
// board are a game master's.
TEST_F(BoardClient, TheDemoBoardServerAnswersAPlayerOfTheSampleTown)
{
    CDemoBoardServer board(CDemoBoardServer::Kind::Board);
    CDemoBoardServer mail(CDemoBoardServer::Kind::Mail);
    ASSERT_TRUE(board.Listening() && mail.Listening());
    board.Register();
    mail.Register();
    UseBoardServers(board.Port(), mail.Port());
    ASSERT_TRUE(LogIn(false));
    auto row = [](int number, const char* name, const char* date, uint32_t lines, const std::string& title) {
        BoardRecordFields f;
        f.number = number;
        f.name = name;
        f.date = date;
        f.lines = lines;
        f.counter = 0;
        f.title = title;
        return BoardRow(f);
    };

    ClickCell(kFreeBoardX, kFreeBoardY);
    h.MouseMove(780, 590);
    h.RunForMs(1000);
    EXPECT_EQ(board.Requests(), std::vector<std::string>{"BOARD"});
    EXPECT_EQ(Shown(row(18, "Cora", "2026-02-18", 3, "Selling a sword (18)"), kListX + 15, kListY + 62, 162), 1.0);

    DoubleClickAt(kListX + 100, kListY + 65);
    h.MouseMove(780, 590);
    h.RunForMs(1000);
    EXPECT_EQ(board.Requests().back(), "18");
    EXPECT_EQ(Shown("Hello from Cora.", kReadX + 25, kReadY + 117, 60), 1.0);
    ClickAt(kReadX + 420 + 30, kReadY + 370 + 12);
    h.RunForMs(1000);

    ClickAt(kListX + 390, kListY + 382);
    plat::CScriptedFormDialogs& forms = h.Platform().forms;
    ASSERT_NE(forms.Shown(CMailWriteDlg::kTemplatePost), nullptr);
    forms.Type(CMailWriteDlg::kTemplatePost, CMailWriteDlg::kIdTitle, "My first post");
    forms.Type(CMailWriteDlg::kTemplatePost, CMailWriteDlg::kIdBody, "Forty bytes and more, written in the town.");
    forms.Press(CMailWriteDlg::kTemplatePost, CMailWriteDlg::kIdSend);
    h.MouseMove(780, 590);
    // Past the cooldown of the write button's "W\n".
    h.RunForMs(1600);
    EXPECT_EQ(board.Uploads(), 1);
    EXPECT_EQ(Shown(row(19, "Hero", "2026-03-01", 1, "My first post"), kListX + 15, kListY + 62, 162), 1.0);

    // The search window: the title button, the text, the search button.
    ClickAt(kListX + 270, kListY + 382);
    h.RunForMs(1000);
    ClickAt(288 + 85 + 30, 221 + 81);
    ClickAt(288 + 100, 221 + 40);
    Type({kS, kH, kI, kE, kL, kD}, true);
    ClickAt(288 + 26 + 30, 221 + 103 + 12);
    h.MouseMove(780, 590);
    h.RunForMs(1000);
    EXPECT_EQ(board.Requests().back(), "LTshield");
    EXPECT_EQ(Shown(row(16, "Arin", "2026-02-16", 3, "Lost my shield (16)"), kListX + 15, kListY + 62, 162), 1.0);

    // A post begun and closed unsent: the server awaits no upload after the
    // next request.
    ClickAt(kListX + 390, kListY + 382);
    ASSERT_TRUE(forms.RequestClose(CMailWriteDlg::kTemplatePost));
    h.RunForMs(1600);
    ClickAt(kListX + 90, kListY + 382);
    h.RunForMs(1000);
    EXPECT_EQ(board.Requests().back(), "LS");

    // Ctrl+M is a game master's key only.
    Chord({kCtrl, kM});
    h.RunForMs(1000);
    EXPECT_EQ(mail.Connections(), 0);

    // Quit, then the notice board: its posts, but a player may not write.
    ClickAt(kListX + 420 + 30, kListY + 370 + 12);
    h.RunForMs(1000);
    ClickCell(kNoticeBoardX, kNoticeBoardY);
    h.MouseMove(780, 590);
    h.RunForMs(1000);
    EXPECT_EQ(board.Connections(), 2);
    EXPECT_EQ(board.Requests().back(), "NOTICE");
    EXPECT_EQ(Shown(row(2, "Warden", "2026-02-20", 2, "Boards and mail"), kListX + 15, kListY + 62, 162), 1.0);
    ClickAt(kListX + 390, kListY + 382);
    h.RunForMs(500);
    EXPECT_EQ(forms.Shown(CMailWriteDlg::kTemplatePost), nullptr);
    EXPECT_TRUE(h.Boxes().empty());
}

}  // namespace
