#include "windows/CharResetDlg.h"

#include "platform/Dialogs.h"
#include "platform/Window.h"

int CCharResetDlg::DoModal()
{
    plat::Window().ShowCursor(true);
    const bool yes = plat::AskYesNo(kCaption, kText, kYes, kNo);
    plat::Window().ShowCursor(false);
    return yes ? IDOK : IDCANCEL;
}
