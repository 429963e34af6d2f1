#include "intro/AuthDlg.h"

#include <cstdio>
#include <cstring>

#include "app/QuillonView.h"
#include "app/StringTable.h"
#include "platform/Dialogs.h"
#include "platform/Loop.h"
#include "platform/Window.h"

CAuthDlg g_authDlg;

namespace {
constexpr int IDS_CHOOSE_KIND = 98;
constexpr int IDS_FILL_EVERYTHING = 88;
constexpr int IDS_WRONG_INPUT = 89;
// A game room's ID is at most 16 characters.
constexpr size_t kGameRoomIdMax = 16;

void PostToView(uintptr_t wParam)
{
    if (g_pView)
        plat::Loop().PostMessage(g_pView, CAuthDlg::kMsgAccountLogin, wParam, 0);
}
}  // namespace

CAuthDlg::~CAuthDlg()
{
    if (m_open)
        plat::Window().ShowCursor(false);
}

void CAuthDlg::OnInitDialog()
{
    m_open = true;
    plat::Window().ShowCursor(true);
    Reset();
}

void CAuthDlg::Reset()
{
    m_progressRunning = 0;
    m_kind = 0;
    m_progress = 0;
    m_okEnabled = true;
}

void CAuthDlg::OnKind1()
{
    m_idEnabled = m_passwordEnabled = true;
    m_id.clear();
    m_password.clear();
    m_kind = 1;
}

void CAuthDlg::OnKind2()
{
    m_idEnabled = m_passwordEnabled = false;
    m_id.clear();
    m_password.clear();
    m_kind = 2;
}

void CAuthDlg::OnKind3()
{
    m_password.clear();
    m_passwordEnabled = false;
    m_id.clear();
    if (FILE* f = std::fopen(m_gameRoomFile.c_str(), "r")) {
        char line[kGameRoomIdMax + 1] = {};
        if (std::fgets(line, sizeof line, f))
            m_id.assign(line, std::strcspn(line, "\r\n"));
        std::fclose(f);
    } else if (FILE* created = std::fopen(m_gameRoomFile.c_str(), "w")) {
        // An unreadable file is created empty for the game room to fill.
        std::fclose(created);
    }
    m_idEnabled = m_id.empty();
    m_kind = 3;
}

int CAuthDlg::OnOK()
{
    if (m_kind == 0) {
        plat::MessageBox("", GetGameString(IDS_CHOOSE_KIND));
        return 0;
    }
    if ((m_kind == 1 && (m_id.empty() || m_password.empty())) || (m_kind == 3 && m_id.empty())) {
        plat::MessageBox("", GetGameString(IDS_FILL_EVERYTHING));
        return 0;
    }
    if (m_id.find(' ') != std::string::npos) {
        plat::MessageBox("", GetGameString(IDS_WRONG_INPUT));
        return 0;
    }
    PostToView(1);
    m_okEnabled = false;
    return 1;
}

void CAuthDlg::OnCancel() { PostToView(2); }

void CAuthDlg::OnTimer()
{
    if (m_progressRunning)
        m_progress = (m_progress + 2) % kProgressRange;
}
