// What a player writes in the sample town reaches the demo's board and mail
// servers, byte for byte on the connection that carries it: after a Send
// refused for its length and the body lengthened in the same form, and
// after the board or the mailbox was opened again while the form was up.
// Meanwhile the game goes on drawing and taking clicks beside the form.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "fixtures/BoardRecordWriter.h"
#include "platform/Settings.h"
#include "social/MailWriteDlg.h"
#include "support/DemoBoardServer.h"
#include "support/SampleTown.h"

namespace {

constexpr uint8_t kCtrl = 29, kM = 50;
constexpr int kFreeBoardX = 172, kFreeBoardY = 301;
// The list window once open, and its buttons.
constexpr int kListX = 96, kListY = 76;
constexpr int kWriteX = kListX + 390, kReloadX = kListX + 150, kQuitX = kListX + 450, kButtonY = kListY + 382;
// Past the request cooldown of the board commands (45 frames).
constexpr uint32_t kPastCooldownMs = 1600;

using Dlg = CMailWriteDlg;

std::string Str(const Bytes& b) { return std::string(b.begin(), b.end()); }

// An upload as the board server reads it: the length in 4 bytes (a NUL
// after 3 digits), the header, the body and its NUL.
std::string Upload(const Bytes& header, const std::string& body)
{
    char digits[8] = {};
    std::snprintf(digits, sizeof digits, "%zu", header.size() + body.size() + 1);
    return std::string(digits, 4) + Str(header) + body + std::string(1, '\0');
}

std::string PostUpload(const std::string& login, const std::string& title, const std::string& body)
{
    BoardRecordFields f;
    f.number = 0;
    f.name = "Hero";
    f.loginId = login;
    f.date = f.time = "";
    f.bodySize = static_cast<uint32_t>(body.size() + 1);
    f.lines = 1;
    f.title = title;
    return Upload(BoardRecord(f), body);
}

class WritingIsNeverLost : public testing::Test, protected CSampleTown {
protected:
    WritingIsNeverLost()
    {
        plat::Settings().SetString("Control Panel\\International", "Locale", "00000412");
        board.Register();
        mail.Register();
        UseBoardServers(board.Port(), mail.Port());
    }

    // Whether the list's first row shows this post of the demo board.
    bool FirstRowShows(int number, const char* name, const char* date, uint32_t lines, const std::string& title)
    {
        char row[160];
        std::snprintf(row, sizeof row, "%5d  %-17s  %8s  %5u %5u    %-s", number, name, date, lines, 0u,
                      title.c_str());
        return Shown(row, kListX + 15, kListY + 62, 162) == 1.0;
    }
    bool MyPostFirst(int number, const std::string& title)
    {
        return FirstRowShows(number, "Hero", "26-03-01", 1, title);
    }
    void Settle(uint32_t ms = kPastCooldownMs)
    {
        h.MouseMove(780, 590);
        h.RunForMs(ms);
    }
    plat::CScriptedFormDialogs& Forms() { return h.Platform().forms; }

    CDemoBoardServer board{CDemoBoardServer::Kind::Board};
    CDemoBoardServer mail{CDemoBoardServer::Kind::Mail};
};

TEST_F(WritingIsNeverLost, APostRefusedForItsLengthIsPostedOnceLengthenedInTheSameForm)
{
    ASSERT_TRUE(board.Listening() && mail.Listening());
    ASSERT_TRUE(LogIn(false));
    ClickCell(kFreeBoardX, kFreeBoardY);
    Settle(1000);
    ClickAt(kWriteX, kButtonY);
    const int t = Dlg::kTemplatePost;
    ASSERT_NE(Forms().Shown(t), nullptr);
    Settle();

    // Beside the form the game goes on presenting and takes a click: the
    // reload brings the page the write button cleared.
    const uint64_t presents = h.Platform().video.presents;
    ClickAt(kReloadX, kButtonY);
    Settle();
    EXPECT_GE(h.Platform().video.presents, presents + 45);
    EXPECT_TRUE(FirstRowShows(18, "Cora", "26-02-18", 3, "Selling a sword (18)"));

    Forms().Type(t, Dlg::kIdTitle, "Lengthened");
    Forms().Type(t, Dlg::kIdBody, "Too short.");
    Forms().Press(t, Dlg::kIdSend);
    Settle();
    ASSERT_EQ(h.Boxes().size(), 1u);
    EXPECT_EQ(h.Boxes()[0].text, "40자 이상의 내용을 입력하세요.");
    ASSERT_NE(Forms().Shown(t), nullptr);
    EXPECT_EQ(board.Uploads(), 0);

    const std::string body = "Too short. Now long enough for the free board.";
    Forms().Type(t, Dlg::kIdBody, body);
    Forms().Press(t, Dlg::kIdSend);
    Settle();
    EXPECT_EQ(Forms().Shown(t), nullptr);
    ASSERT_EQ(board.Uploads(), 1);
    // One "W\n" and one upload; the reloads around the refusal in between.
    ASSERT_EQ(board.Sessions().size(), 1u);
    EXPECT_EQ(board.Sessions()[0], "BOARD\nW\nZ\nZ\n" + PostUpload("123", "Lengthened", body) + "Z\nZ\n");
    EXPECT_TRUE(MyPostFirst(19, "Lengthened"));
    EXPECT_EQ(h.Boxes().size(), 1u);
}

// The announcement belongs to the connection: opened again, the board or
// the mailbox has a new one, on which Send announces its upload itself.
TEST_F(WritingIsNeverLost, APostOrMailBegunBeforeItsConnectionWasOpenedAgainGoesOnTheNewOne)
{
    ASSERT_TRUE(LogIn(true));
    ClickCell(kFreeBoardX, kFreeBoardY);
    Settle(1000);
    ClickAt(kWriteX, kButtonY);
    const int t = Dlg::kTemplatePost;
    ASSERT_NE(Forms().Shown(t), nullptr);
    const std::string body = "Begun on one connection and sent on the next.";
    Forms().Type(t, Dlg::kIdTitle, "Reopened");
    Forms().Type(t, Dlg::kIdBody, body);
    Settle();
    // Quit and the board structure again, with the form up.
    ClickAt(kQuitX, kButtonY);
    Settle(1000);
    ClickCell(kFreeBoardX, kFreeBoardY);
    Settle();
    ASSERT_EQ(board.Connections(), 2);
    Forms().Press(t, Dlg::kIdSend);
    Settle();
    EXPECT_EQ(Forms().Shown(t), nullptr);
    ASSERT_EQ(board.Sessions().size(), 2u);
    EXPECT_EQ(board.Sessions()[0], "BOARD\nW\n");
    EXPECT_EQ(board.Sessions()[1], "BOARD\nW\n" + PostUpload("gm1", "Reopened", body) + "Z\nZ\n");
    EXPECT_TRUE(MyPostFirst(19, "Reopened"));

    // The mailbox (a game master's Ctrl+M), its write button, Ctrl+M again.
    Chord({kCtrl, kM});
    Settle();
    ClickAt(kWriteX, kButtonY);
    const int m = Dlg::kTemplateMail;
    ASSERT_NE(Forms().Shown(m), nullptr);
    Forms().Type(m, Dlg::kIdRecipients, "arin");
    Forms().Type(m, Dlg::kIdTitle, "Noon");
    Forms().Type(m, Dlg::kIdBody, "At the well.");
    Settle();
    Chord({kCtrl, kM});
    Settle();
    ASSERT_EQ(mail.Connections(), 2);
    Forms().Press(m, Dlg::kIdSend);
    Settle();
    EXPECT_EQ(Forms().Shown(m), nullptr);
    Bytes header(328, 0);
    auto put = [&](size_t at, const std::string& text) { std::copy(text.begin(), text.end(), header.begin() + at); };
    put(8, "Hero");
    put(25, "gm1");
    put(37, "arin");
    header[232] = 13;
    header[236] = 1;
    put(240, "Noon");
    ASSERT_EQ(mail.Sessions().size(), 2u);
    EXPECT_EQ(mail.Sessions()[0], "Hero\nW\n");
    EXPECT_EQ(mail.Sessions()[1], "Hero\nW\n" + Upload(header, "At the well.") + "Z\nZ\n");
    EXPECT_EQ(mail.Uploads(), 1);
    char row[160];
    std::snprintf(row, sizeof row, "%5d  %-17s  %s  %5d   %s", 2, "Hero", "2026-03-01", 1, "Noon");
    EXPECT_EQ(Shown(row, kListX + 15, kListY + 62, 162), 1.0);
    EXPECT_TRUE(h.Boxes().empty());
}

}  // namespace
