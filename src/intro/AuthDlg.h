// The portal-account log-in dialog: account kind, ID and password, and a
// progress bar while the view waits for the server. Nothing opens it; its
// state and handlers are kept as the game has them.
#pragma once
#include <cstdint>
#include <string>

class CAuthDlg {
public:
    // Both edits keep at most this many characters.
    static constexpr size_t kMaxText = 17;
    static constexpr int kProgressRange = 5000;
    // The view's message: wParam 1 log in with the dialog's data, 2 close.
    static constexpr uint32_t kMsgAccountLogin = 0x40C;

    CAuthDlg() = default;
    ~CAuthDlg();

    void OnInitDialog();
    void OnKind1();
    void OnKind2();
    // The ID of a game room comes from the first line of its file.
    void OnKind3();
    // 1 when the view was asked to log in.
    int OnOK();
    void OnCancel();
    void OnTimer();
    void SetProgressRunning(int flag) { m_progressRunning = flag; }

    // What the edits hold (cut to kMaxText).
    void SetId(const std::string& id) { m_id = id.substr(0, kMaxText); }
    void SetPassword(const std::string& pw) { m_password = pw.substr(0, kMaxText); }

    std::string m_id;
    std::string m_password;
    int32_t m_kind = 0;
    int32_t m_progress = 0;
    int32_t m_progressRunning = 0;
    std::string m_rememberedId;

    bool m_idEnabled = true;
    bool m_passwordEnabled = true;
    bool m_okEnabled = true;
    bool m_open = false;
    // The game room's file, in the working directory.
    std::string m_gameRoomFile = "gameroom.txt";

private:
    void Reset();
};

extern CAuthDlg g_authDlg;
