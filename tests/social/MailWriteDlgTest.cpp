#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "app/QuillonView.h"
#include "fixtures/TempDir.h"
#include "net/MySocket.h"
#include "platform/FormDialog.h"
#include "platform/Window.h"
#include "social/BoardTestEnv.h"
#include "social/BoardUpload.h"
#include "social/ListStream.h"
#include "social/MailWriteDlg.h"

namespace {

using Dlg = CMailWriteDlg;

std::string ReadFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

class WritingDialog : public BoardTest {
protected:
    // The board (or mail) connection up, as the list window leaves it.
    CFakeServer& Connect(bool mail)
    {
        CFakeServer& server = mail ? MailServer() : BoardServer();
        CMySocket* socket = mail ? GetMailSocket() : GetBoardSocket();
        EXPECT_TRUE(OpenBoardConnection(socket, mail ? MailServerPort() : BoardServerPort(), mail ? "Arin\n" : "BOARD\n"));
        g_boardRequestStream.SetSocket(socket);
        EXPECT_TRUE(PumpUntil([&] { return socket->CanSend() && !Received(server).empty(); }));
        return server;
    }
    std::string Upload(const BoardUpload& up) { return std::string(up.bytes.begin(), up.bytes.end()); }
};

TEST_F(WritingDialog, PostIsAnnouncedSentAndFollowedByThePageAgain)
{
    CFakeServer& server = Connect(false);
    OpenWritingDialog(false);
    ASSERT_NE(Forms().Shown(Dlg::kTemplatePost), nullptr);
    EXPECT_EQ(g_pView->m_dialogOpen, 1u);
    const std::string body = std::string(120, 'a') + "\r\n" + std::string(77, 'b');
    ASSERT_TRUE(Forms().Type(Dlg::kTemplatePost, Dlg::kIdTitle, "First post"));
    ASSERT_TRUE(Forms().Type(Dlg::kTemplatePost, Dlg::kIdBody, body));
    ASSERT_TRUE(Forms().Press(Dlg::kTemplatePost, Dlg::kIdSend));
    const std::string upload = Upload(MakePostUpload("Arin", "arin01", "First post", body));
    ASSERT_EQ(upload.substr(0, 4), std::string("356\0", 4));
    const std::string expected = "BOARD\nW\n" + upload + "Z\n";
    ASSERT_TRUE(PumpUntil([&] { return Received(server).size() >= expected.size(); }));
    Pump();
    EXPECT_EQ(Received(server), expected);
    // The view was told with the post mode and took the dialog down.
    EXPECT_EQ(Forms().Shown(Dlg::kTemplatePost), nullptr);
    EXPECT_FALSE(g_pView->m_postWriteDlg.HasWindow());
    EXPECT_EQ(g_pView->m_dialogOpen, 0u);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Commands(), std::vector<int32_t>{57}) << "Send posts the list's reload";
}

TEST_F(WritingDialog, MailGoesOnTheMailConnectionInTheEnglishTemplate)
{
    CFakeServer& server = Connect(true);
    g_pView->m_nonKorean = 1;
    OpenWritingDialog(true);
    const int t = Dlg::kTemplateMailEnglish;
    ASSERT_NE(Forms().Shown(t), nullptr);
    EXPECT_EQ(Forms().Shown(t)->form.title, "Postal Charge");
    Forms().Type(t, Dlg::kIdRecipients, "bram cole dana");
    Forms().Type(t, Dlg::kIdTitle, "Meet");
    Forms().Type(t, Dlg::kIdBody, "at noon");
    Forms().Press(t, Dlg::kIdSend);
    const std::string expected =
        "Arin\nW\n" + Upload(MakeMailUpload("Arin", "arin01", "bram cole dana", "Meet", "at noon")) + "Z\n";
    ASSERT_TRUE(PumpUntil([&] { return Received(server).size() >= expected.size(); }));
    Pump();
    EXPECT_EQ(Received(server), expected);
    EXPECT_FALSE(g_pView->m_mailWriteDlg.HasWindow());
}

TEST_F(WritingDialog, FailedChecksShowTheirBoxAndSendNothing)
{
    CFakeServer& server = Connect(false);
    OpenWritingDialog(false);
    const int t = Dlg::kTemplatePost;
    Forms().Type(t, Dlg::kIdTitle, "abc");
    Forms().Type(t, Dlg::kIdBody, std::string(39, 'x'));
    Forms().Press(t, Dlg::kIdSend);
    Pump();
    Forms().Type(t, Dlg::kIdBody, std::string(40, 'x'));
    Forms().Press(t, Dlg::kIdSend);
    Pump(20);
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[0].text, "40자 이상의 내용을 입력하세요.");
    EXPECT_EQ(Boxes()[1].text, "4자 이상의 제목을 입력하세요.");
    EXPECT_EQ(Received(server), "BOARD\n");
    // The dialog stays with what was typed.
    EXPECT_EQ(Forms().Field(t, Dlg::kIdTitle), "abc");
    EXPECT_TRUE(Forms().IsEnabled(t, Dlg::kIdSend));
}

TEST_F(WritingDialog, OneAnnouncementOnEachConnectionAndNothingSentOnClosing)
{
    CFakeServer& server = Connect(false);
    CMailWriteDlg& dlg = *::WritingDialog(false);
    EXPECT_EQ(dlg.Announce(GetBoardSocket()), 1);
    OpenWritingDialog(false);
    EXPECT_EQ(dlg.Announce(GetBoardSocket()), 0) << "its upload is announced already";
    Forms().Type(Dlg::kTemplatePost, Dlg::kIdBody, std::string(50, 'x'));
    ASSERT_TRUE(Forms().RequestClose(Dlg::kTemplatePost));
    Pump(20);
    EXPECT_EQ(Forms().Shown(Dlg::kTemplatePost), nullptr);
    EXPECT_EQ(g_pView->m_dialogOpen, 0u);
    EXPECT_EQ(Received(server), "BOARD\nW\n");
    // The server still awaits that upload: the next opening announces
    // nothing, and its upload goes after the one "W\n".
    EXPECT_EQ(dlg.Announce(GetBoardSocket()), 0);
    OpenWritingDialog(false);
    Forms().Type(Dlg::kTemplatePost, Dlg::kIdTitle, "Again");
    Forms().Type(Dlg::kTemplatePost, Dlg::kIdBody, std::string(50, 'y'));
    Forms().Press(Dlg::kTemplatePost, Dlg::kIdSend);
    const std::string expected =
        "BOARD\nW\n" + Upload(MakePostUpload("Arin", "arin01", "Again", std::string(50, 'y'))) + "Z\n";
    ASSERT_TRUE(PumpUntil([&] { return Received(server).size() >= expected.size(); }));
    Pump(20);
    EXPECT_EQ(Received(server), expected);
    // Sent, the next upload is announced again.
    EXPECT_EQ(dlg.Announce(GetBoardSocket()), 1);
}

TEST_F(WritingDialog, TwoQuickPressesSendOneUpload)
{
    CFakeServer& server = Connect(false);
    OpenWritingDialog(false);
    const int t = Dlg::kTemplatePost;
    Forms().Type(t, Dlg::kIdTitle, "Twice");
    Forms().Type(t, Dlg::kIdBody, std::string(60, 'q'));
    Forms().Press(t, Dlg::kIdSend);
    Forms().Press(t, Dlg::kIdSend);
    const std::string expected = "BOARD\nW\n" + Upload(MakePostUpload("Arin", "arin01", "Twice", std::string(60, 'q'))) + "Z\n";
    ASSERT_TRUE(PumpUntil([&] { return Received(server).size() >= expected.size(); }));
    Pump(20);
    EXPECT_EQ(Received(server), expected);
}

TEST_F(WritingDialog, TemplatesFollowTheDialogKindAndLimitTheirFields)
{
    struct Case {
        uint32_t kind;
        bool mail;
        int templateId;
        const char* title;
    };
    for (const Case c : {Case{0, false, Dlg::kTemplatePost, "게시판 (Bulletin Board)"},
                         Case{0, true, Dlg::kTemplateMail, "편지보내기 (Send Mail)"},
                         Case{1, false, Dlg::kTemplatePostEnglish, "Bulletin Board"},
                         Case{1, true, Dlg::kTemplateMailEnglish, "Postal Charge"}}) {
        g_pView->m_nonKorean = c.kind;
        OpenWritingDialog(c.mail);
        const plat::ScriptedForm* f = Forms().Shown(c.templateId);
        ASSERT_NE(f, nullptr) << c.templateId;
        EXPECT_EQ(f->form.title, c.title);
        // A post's recipient field is there but hidden.
        EXPECT_EQ(Forms().Type(c.templateId, Dlg::kIdRecipients, "x"), c.mail);
        Forms().Type(c.templateId, Dlg::kIdTitle, std::string(50, 'T'));
        EXPECT_EQ(Forms().Field(c.templateId, Dlg::kIdTitle), std::string(36, 'T'));
        // Opening again while it is up changes nothing.
        OpenWritingDialog(c.mail);
        EXPECT_EQ(Forms().OpenCount(), 1);
        (c.mail ? g_pView->m_mailWriteDlg : g_pView->m_postWriteDlg).DestroyWindow();
    }
    EXPECT_EQ(Forms().opened,
              (std::vector<int>{Dlg::kTemplatePost, Dlg::kTemplateMail, Dlg::kTemplatePostEnglish,
                                Dlg::kTemplateMailEnglish}));
}

TEST_F(WritingDialog, OpenAndSaveMoveTheBodyAsCp949WithCrLf)
{
    CTempDir dir;
    const std::string in = dir.Path() + "/in.txt";
    {
        std::ofstream f(in, std::ios::binary);
        f << "first\nsecond\r\n\xC7\xD1\xB1\xDB";
        f.write("\0tail", 5);
    }
    OpenWritingDialog(false);
    const int t = Dlg::kTemplatePost;
    Forms().Type(t, Dlg::kIdBody, "kept");
    // Cancel, then a file that is not there: the body stays.
    Forms().fileAnswers = {std::nullopt, dir.Path() + "/missing.txt", in};
    for (int i = 0; i < 2; ++i) {
        Forms().Press(t, Dlg::kIdOpenFile);
        Pump(2);
    }
    EXPECT_EQ(Forms().Field(t, Dlg::kIdBody), "kept");
    Forms().Press(t, Dlg::kIdOpenFile);
    Pump(2);
    EXPECT_EQ(Forms().Field(t, Dlg::kIdBody), "first\r\nsecond\r\n\xC7\xD1\xB1\xDB");

    const std::string out = dir.Path() + "/out.txt";
    Forms().fileAnswers = {out};
    Forms().Press(t, Dlg::kIdSaveFile);
    Pump(2);
    EXPECT_EQ(ReadFile(out), std::string("first\r\nsecond\r\n\xC7\xD1\xB1\xDB\0", 20));
    ASSERT_EQ(Forms().fileRequests.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(Forms().fileRequests[i].save, i == 3);
        EXPECT_EQ(Forms().fileRequests[i].defaultExtension, "Txt");
        EXPECT_EQ(Forms().fileRequests[i].initialName, "*.Txt;*.Cap;*.Doc");
        EXPECT_EQ(Forms().fileRequests[i].filterName, "Only the Text Document");
    }

    Forms().Type(t, Dlg::kIdTitle, "title");
    Forms().Press(t, Dlg::kIdNew);
    Pump(2);
    EXPECT_EQ(Forms().Field(t, Dlg::kIdBody), "");
    EXPECT_EQ(Forms().Field(t, Dlg::kIdTitle), "");
}

TEST_F(WritingDialog, WithoutADesktopABoxSaysWritingIsNotAvailable)
{
    Forms().available = false;
    English(true);
    EXPECT_FALSE(::WritingDialog(true)->MayAnnounce(GetMailSocket())) << "no upload can follow";
    OpenWritingDialog(true);
    EXPECT_EQ(Forms().OpenCount(), 0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "Writing posts and mail is not available on this desktop.");
    EXPECT_EQ(g_pView->m_dialogOpen, 0u);
}

// Records what reaches the game's window and frame.
class CWindowProbe : public plat::IWindowHandler {
public:
    void OnLButtonDown(uint32_t, int, int) override { log += "down "; }
    void OnLButtonUp(uint32_t, int, int) override { log += "up "; }
    void OnKeyDown(uint32_t, uint32_t, uint32_t) override { log += "key "; }
    void OnActivateApp(bool active) override { log += active ? "active " : "inactive "; }
    std::string log;
};

TEST_F(WritingDialog, GameWindowTakesTheMouseAndKeysBesideTheDialog)
{
    CWindowProbe view, frame;
    plat::Loop().SetWindowHandlers(&view, &frame);
    auto event = [](plat::RawKind kind) {
        plat::RawEvent e;
        e.kind = kind;
        e.button = 1;
        e.scan = 30;
        return e;
    };
    OpenWritingDialog(false);
    for (plat::RawKind k : {plat::RawKind::ButtonDown, plat::RawKind::ButtonUp, plat::RawKind::KeyDown,
                            plat::RawKind::FocusLost})
        plat::Loop().InjectInput(event(k));
    Pump(2);
    // The desktop's dialog taking the focus is not the game losing it.
    EXPECT_EQ(view.log, "down up key ");
    EXPECT_EQ(frame.log, "");
    // The desktop tells of the form's focus late, after the form is gone.
    g_pView->m_postWriteDlg.DestroyWindow();
    plat::Loop().InjectInput(event(plat::RawKind::FocusLost));
    Pump(2);
    EXPECT_EQ(frame.log, "");
    World().Platform().clock.Advance(plat::CInputRouter::kOwnWindowFocusGraceMs);
    plat::Loop().InjectInput(event(plat::RawKind::FocusLost));
    Pump(2);
    EXPECT_EQ(frame.log, "inactive ");
    plat::Loop().SetWindowHandlers(nullptr, nullptr);
}

}  // namespace
