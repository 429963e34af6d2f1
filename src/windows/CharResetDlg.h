// The question before the character's data is reset: go on (yes) or leave
// it (no). The mouse cursor shows while it is up.
#pragma once

class CCharResetDlg {
public:
    enum : int { IDOK = 1, IDCANCEL = 2 };

    static constexpr const char* kCaption = "☞ 확인 ☜";
    static constexpr const char* kText =
        "이 캐릭터의 데이터는 초기화 됩니다.\n 초기화된 데이터는 어떤 경우에도 복구가 불가능 합니다 \n 그래도 하시겠습니까?";
    static constexpr const char* kYes = "예";
    static constexpr const char* kNo = "아니오";

    CCharResetDlg() = default;
    // Runs the box modally: IDOK for yes, IDCANCEL for no.
    int DoModal();
};
