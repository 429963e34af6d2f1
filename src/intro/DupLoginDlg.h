// The question shown when the server reports the account already connected:
// cut the other connection (yes) or give up (no).
#pragma once

class CDupLoginDlg {
public:
    enum : int { IDOK = 1, IDCANCEL = 2 };

    static constexpr const char* kCaption = "☞ 확인 ☜";
    static constexpr const char* kText = "귀하의 아이디는 이미 접속되어 있습니다.\n접속된 아이디를 끊을까요?";
    static constexpr const char* kYes = "예";
    static constexpr const char* kNo = "아니요";

    CDupLoginDlg() = default;
    // Runs the box modally: IDOK for yes, IDCANCEL for no.
    int DoModal();
};
