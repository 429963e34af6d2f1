#include "social/MailWriteDlg.h"

#include <cstdio>
#include <cstring>

#include "app/CommandRing.h"
#include "app/QuillonView.h"
#include "core/BiString.h"
#include "net/MySocket.h"
#include "platform/Dialogs.h"
#include "platform/Window.h"
#include "social/BoardUpload.h"
#include "social/ListStream.h"
#include "windows/PlayerInfo.h"

namespace {

using plat::FormControl;
using plat::FormControlKind;

const CBiString kNotAvailableText(
    "이 화면에서는 글을 쓸 수 없습니다.\0Writing posts and mail is not available on this desktop.");

const CBiString kPostNotSentText(
    "게시판 서버에 연결되어 있지 않아 보내지 못했습니다.\0Not sent: there is no connection to the board server.");
const CBiString kMailNotSentText(
    "편지 서버에 연결되어 있지 않아 보내지 못했습니다.\0Not sent: there is no connection to the mail server.");

// The write button's request: an upload follows.
constexpr char kAnnounce[] = "W\n";
constexpr int kAnnounceSize = 2;
// The list's reload command: "Z\n", the page again.
constexpr int32_t kCmdReload = 57;

// More of a file than the body can take is never read.
constexpr size_t kFileReadLimit = 2 * CMailWriteDlg::kBodyLimit;

FormControl Label(const char* text) { return FormControl{FormControlKind::Label, 0, text, 0, false}; }
FormControl Edit(int id, size_t limit, bool hidden = false)
{
    return FormControl{FormControlKind::Edit, id, "", limit, hidden};
}
FormControl Body() { return FormControl{FormControlKind::MultiLineEdit, CMailWriteDlg::kIdBody, "", CMailWriteDlg::kBodyLimit, false}; }
FormControl Button(int id, const char* caption) { return FormControl{FormControlKind::Button, id, caption, 0, false}; }

void AddButtons(plat::FormTemplate& t, bool korean)
{
    t.controls.push_back(Button(CMailWriteDlg::kIdSend, korean ? "보내기Sen&ding" : "Sen&ding"));
    t.controls.push_back(Button(CMailWriteDlg::kIdNew, korean ? "새 글 &New" : "&New"));
    t.controls.push_back(Button(CMailWriteDlg::kIdOpenFile, korean ? "읽어오기&Open" : "&Open"));
    t.controls.push_back(Button(CMailWriteDlg::kIdSaveFile, korean ? "저장하기&Save" : "&Save"));
}

// The edit control's line breaks: every line feed follows a carriage return.
std::string WithCrLf(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

}  // namespace

CMailWriteDlg::CMailWriteDlg(plat::IMessageTarget* parent) : m_parent(parent) {}

CMailWriteDlg::~CMailWriteDlg()
{
    DestroyWindow();
    plat::Loop().ForgetTarget(this);
}

plat::FormTemplate CMailWriteDlg::Template(int templateId)
{
    plat::FormTemplate t;
    t.id = templateId;
    switch (templateId) {
    case kTemplatePost:
        t.title = "게시판 (Bulletin Board)";
        t.controls = {Edit(kIdTitle, kTitleLimit), Body()};
        AddButtons(t, true);
        t.controls.push_back(Edit(kIdRecipients, kRecipientLimit, true));
        break;
    case kTemplateMail:
        t.title = "편지보내기 (Send Mail)";
        t.controls = {Label("받을사람.\n(Receiver)"), Edit(kIdRecipients, kRecipientLimit), Edit(kIdTitle, kTitleLimit),
                      Body()};
        AddButtons(t, true);
        break;
    case kTemplatePostEnglish:
        t.title = "Bulletin Board";
        t.controls = {Label("Subject"), Edit(kIdTitle, kTitleLimit), Body()};
        AddButtons(t, false);
        t.controls.push_back(Edit(kIdRecipients, kRecipientLimit, true));
        break;
    case kTemplateMailEnglish:
        t.title = "Postal Charge";
        t.controls = {Label("Receiver :"), Edit(kIdRecipients, kRecipientLimit), Label("Subject"),
                      Edit(kIdTitle, kTitleLimit), Body()};
        AddButtons(t, false);
        break;
    default:
        break;
    }
    return t;
}

plat::FileChoice CMailWriteDlg::FileChoice(bool save)
{
    return plat::FileChoice{save, "Txt", "*.Txt;*.Cap;*.Doc", "Only the Text Document"};
}

int CMailWriteDlg::Open(int kind, int isMail)
{
    if (m_handle)
        return 1;
    m_mode = isMail ? kModeMail : kModePost;
    if (kind == 0)
        m_templateId = isMail ? kTemplateMail : kTemplatePost;
    else
        m_templateId = isMail ? kTemplateMailEnglish : kTemplatePostEnglish;
    m_handle = plat::FormDialogs().Open(Template(m_templateId), this);
    if (!m_handle)
        return 0;
    m_sendEnabled = true;
    plat::Window().ShowCursor(true);
    if (g_pView)
        g_pView->m_dialogOpen = 1;
    return 1;
}

void CMailWriteDlg::DestroyWindow()
{
    if (!m_handle)
        return;
    plat::FormDialogs().Destroy(m_handle);
    m_handle = 0;
    m_sendEnabled = false;
    // Closed unsent: nothing goes to the server, which still awaits the
    // upload on that connection.
    plat::Window().ShowCursor(false);
    if (g_pView)
        g_pView->m_dialogOpen = 0;
}

void CMailWriteDlg::OnMessage(uint32_t msg, uintptr_t wParam, intptr_t)
{
    // Presses that were on their way when the window went are dropped.
    if (!m_handle)
        return;
    if (msg == plat::kWmClose) {
        OnClose();
        return;
    }
    if (msg != plat::kWmFormCommand)
        return;
    switch (static_cast<int>(wParam)) {
    case kIdSend: OnSend(); break;
    case kIdNew: OnNew(); break;
    case kIdOpenFile: OnOpenFile(); break;
    case kIdSaveFile: OnSaveFile(); break;
    default: break;
    }
}

void CMailWriteDlg::OnClose()
{
    if (m_parent)
        plat::Loop().PostMessage(m_parent, kMsgFinished, static_cast<uintptr_t>(m_mode));
    DestroyWindow();
}

std::string CMailWriteDlg::Field(int id) const { return plat::FormDialogs().GetFieldText(m_handle, id); }

void CMailWriteDlg::OnNew()
{
    plat::IFormDialogs& forms = plat::FormDialogs();
    forms.SetFieldText(m_handle, kIdBody, "");
    forms.SetFieldText(m_handle, kIdTitle, "");
    forms.SetFieldText(m_handle, kIdRecipients, "");
}

void CMailWriteDlg::OnOpenFile()
{
    const std::optional<std::string> path = plat::FormDialogs().ChooseFile(m_handle, FileChoice(false));
    if (!path)
        return;
    std::FILE* f = std::fopen(path->c_str(), "rb");
    if (!f)
        return;
    std::string text;
    char block[4096];
    size_t got;
    while (text.size() < kFileReadLimit && (got = std::fread(block, 1, sizeof block, f)) > 0)
        text.append(block, got);
    std::fclose(f);
    // The body shows the file as far as its first NUL.
    text.resize(strnlen(text.c_str(), text.size()));
    plat::FormDialogs().SetFieldText(m_handle, kIdBody, WithCrLf(text));
}

void CMailWriteDlg::OnSaveFile()
{
    const std::optional<std::string> path = plat::FormDialogs().ChooseFile(m_handle, FileChoice(true));
    if (!path)
        return;
    const std::string body = Field(kIdBody);
    if (std::FILE* f = std::fopen(path->c_str(), "wb")) {
        // The text and its NUL, as the dialog always wrote them.
        std::fwrite(body.c_str(), 1, body.size() + 1, f);
        std::fclose(f);
    }
}

void CMailWriteDlg::OnSend()
{
    if (!m_sendEnabled)
        return;
    // The list asks for its page again, whatever becomes of the upload.
    g_commandRing.Push(kCmdReload);
    char name[32] = {};
    char login[32] = {};
    g_playerInfo.GetCharName(name, sizeof name);
    g_playerInfo.GetLoginId(login, sizeof login);
    const std::string title = Field(kIdTitle);
    const std::string body = Field(kIdBody);
    const BoardUpload upload = m_mode == kModeMail
                                   ? MakeMailUpload(name, login, Field(kIdRecipients), title, body)
                                   : MakePostUpload(name, login, title, body);
    if (upload.check != UploadCheck::Ok) {
        // Nothing is sent: the dialog stays as it is.
        plat::MessageBox("", UploadCheckMessage(upload.check));
        return;
    }
    const int queued = m_mode == kModeMail ? SendMail(upload.bytes) : SendPost(upload.bytes);
    if (!queued) {
        // No connection to take it: the text stays in the dialog.
        plat::MessageBox("", (m_mode == kModeMail ? kMailNotSentText : kPostNotSentText).Get());
        return;
    }
    Finish();
    if (m_parent)
        plat::Loop().PostMessage(m_parent, kMsgFinished, static_cast<uintptr_t>(m_mode));
    m_sendEnabled = false;
    plat::FormDialogs().EnableButton(m_handle, kIdSend, false);
}

bool CMailWriteDlg::AnnouncedOn(const CMySocket* socket) const
{
    return socket && socket == m_announcedOn && socket->ConnectionNumber() == m_announcedConnection &&
           socket->IsOpen();
}

bool CMailWriteDlg::MayAnnounce(const CMySocket* socket) const
{
    return !AnnouncedOn(socket) && plat::FormDialogs().Available();
}

int CMailWriteDlg::Announce(CMySocket* socket)
{
    if (!socket || !MayAnnounce(socket) || !socket->SendCommand(kAnnounce, kAnnounceSize))
        return 0;
    m_announcedOn = socket;
    m_announcedConnection = socket->ConnectionNumber();
    return 1;
}

int CMailWriteDlg::SendUpload(CMySocket* socket, const std::vector<uint8_t>& upload)
{
    // Queued on a connection still under way, the upload would be lost
    // unseen if the connect failed.
    if (!socket || upload.empty() || !socket->CanSend())
        return 0;
    // The server takes an upload only after "W\n" on the same connection:
    // the write button's may have been dropped by the request cooldown, or
    // gone on a connection since replaced.
    if (!AnnouncedOn(socket) && !socket->SendCommand(kAnnounce, kAnnounceSize))
        return 0;
    m_announcedOn = nullptr;
    return socket->SendCommand(upload.data(), static_cast<int>(upload.size()));
}

int CMailWriteDlg::SendPost(const std::vector<uint8_t>& upload) { return SendUpload(GetBoardSocket(), upload); }
int CMailWriteDlg::SendMail(const std::vector<uint8_t>& upload) { return SendUpload(GetMailSocket(), upload); }

void CMailWriteDlg::Finish() { g_boardRequestStream.SendRequest("Z\n"); }

CMailWriteDlg* WritingDialog(bool isMail)
{
    CQuillonView* view = g_pView;
    if (!view)
        return nullptr;
    return isMail ? &view->m_mailWriteDlg : &view->m_postWriteDlg;
}

void OpenWritingDialog(bool isMail)
{
    CQuillonView* view = g_pView;
    if (!view)
        return;
    CMailWriteDlg& dlg = *WritingDialog(isMail);
    if (dlg.HasWindow())
        return;
    if (!plat::FormDialogs().Available()) {
        plat::MessageBox("", kNotAvailableText.Get());
        return;
    }
    // The form is a window of its own beside the game's, not drawn over
    // its screen: the game goes on presenting its frames meanwhile.
    dlg.Open(static_cast<int>(view->m_nonKorean), isMail ? 1 : 0);
}
