// The desktop dialog in which a post or a mail is written: a title, a body
// and, for a mail, the recipients; New, Open and Save of the body, and Send,
// which checks the lengths and sends the upload on the board or mail
// connection. The view holds two: the first for mail, the second for posts.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/FormDialog.h"
#include "platform/Loop.h"

class CMySocket;

class CMailWriteDlg : public plat::IMessageTarget {
public:
    enum : int {
        kTemplatePost = 130,
        kTemplateMail = 131,
        kTemplatePostEnglish = 132,
        kTemplateMailEnglish = 133,
    };
    enum : int {
        kIdSend = 1001,
        kIdNew = 1007,
        kIdOpenFile = 1008,
        kIdSaveFile = 1009,
        kIdTitle = 1010,
        kIdBody = 1011,
        kIdRecipients = 1012,
    };
    enum : int { kModePost = 0, kModeMail = 1 };
    static constexpr size_t kTitleLimit = 36;
    static constexpr size_t kRecipientLimit = 180;
    static constexpr size_t kBodyLimit = 65535;
    // Posted to the parent with the mode when the dialog sent or closed.
    static constexpr uint32_t kMsgFinished = 0x40B;

    explicit CMailWriteDlg(plat::IMessageTarget* parent);
    ~CMailWriteDlg() override;
    CMailWriteDlg(const CMailWriteDlg&) = delete;
    CMailWriteDlg& operator=(const CMailWriteDlg&) = delete;

    // kind 0 the Korean templates, 1 the English ones; a mail or a post.
    // Shows the dialog (nothing when it is up already): 1 when it is up.
    virtual int Open(int kind, int isMail);
    bool HasWindow() const { return m_handle != 0; }
    // Takes the window down: the cursor hides again and the view's
    // dialog-open flag clears.
    void DestroyWindow();
    int GetMode() const { return m_mode; }
    int GetTemplateId() const { return m_templateId; }

    // Button presses and the close request of the form.
    void OnMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) override;
    void OnNew();
    void OnOpenFile();
    void OnSaveFile();
    void OnSend();
    void OnClose();

    // Command 59's "W\n" on socket, telling the server an upload of this
    // dialog follows. The server awaits it for the rest of that connection,
    // so one goes on each connection until the upload has: none while it
    // is announced there already, none where no dialog can be shown. 1 when
    // sent.
    bool MayAnnounce(const CMySocket* socket) const;
    int Announce(CMySocket* socket);
    // The upload on the board (post) or mail socket, after a "W\n" of its
    // own unless one went on this connection; 1 when queued. 0 while the
    // connection is not up: nothing is sent then.
    int SendPost(const std::vector<uint8_t>& upload);
    int SendMail(const std::vector<uint8_t>& upload);
    // "Z\n" on the list stream's socket: the page again, with the new entry.
    void Finish();

    static plat::FormTemplate Template(int templateId);
    static plat::FileChoice FileChoice(bool save);

private:
    std::string Field(int id) const;
    int SendUpload(CMySocket* socket, const std::vector<uint8_t>& upload);
    bool AnnouncedOn(const CMySocket* socket) const;

    plat::IMessageTarget* m_parent;
    int m_mode = kModePost;
    int m_templateId = 0;
    int m_handle = 0;
    bool m_sendEnabled = false;
    // The connection on which "W\n" went for the upload not sent yet.
    const CMySocket* m_announcedOn = nullptr;
    uint32_t m_announcedConnection = 0;
};

// The view's mail dialog for the mailbox, else its post dialog; null
// without a view.
CMailWriteDlg* WritingDialog(bool isMail);
// Command 59's dialog, shown over the game unless it is up already.
// Without a desktop to show it on, a box says writing is not available.
void OpenWritingDialog(bool isMail);
