#include "intro/DupLoginDlg.h"

#include "platform/Dialogs.h"

int CDupLoginDlg::DoModal()
{
    return plat::AskYesNo(kCaption, kText, kYes, kNo) ? IDOK : IDCANCEL;
}
