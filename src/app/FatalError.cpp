#include "app/FatalError.h"

#include "platform/Dialogs.h"
#include "platform/Loop.h"

void ShowFatalError(const char* text)
{
    plat::MessageBox("Error Msg", text ? text : "");
    plat::Loop().PostQuitMessage(1);
}
