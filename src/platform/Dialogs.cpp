#include "platform/Dialogs.h"

#include <cstdio>

#include "platform/TextCodec.h"

namespace plat {

namespace {
CStderrDialogs g_stderrDialogs;
IDialogs* g_dialogs = &g_stderrDialogs;
int g_modalDepth = 0;
}  // namespace

IDialogs& Dialogs() { return *g_dialogs; }
void SetDialogs(IDialogs* dialogs) { g_dialogs = dialogs ? dialogs : &g_stderrDialogs; }

int ModalDepth() { return g_modalDepth; }

CModalScope::CModalScope() { ++g_modalDepth; }
CModalScope::~CModalScope() { --g_modalDepth; }

void MessageBox(const std::string& caption, const std::string& text)
{
    CModalScope modal;
    g_dialogs->ShowMessage(caption, text);
}

bool AskYesNo(const std::string& caption, const std::string& text,
              const std::string& yes, const std::string& no)
{
    CModalScope modal;
    return g_dialogs->AskYesNo(caption, text, yes, no);
}

void CStderrDialogs::ShowMessage(const std::string& caption, const std::string& text)
{
    std::fprintf(stderr, "[%s] %s\n", Cp949ToUtf8(caption).c_str(), Cp949ToUtf8(text).c_str());
}

bool CStderrDialogs::AskYesNo(const std::string& caption, const std::string& text,
                              const std::string&, const std::string& no)
{
    // Nobody could answer: nothing is done without the player's consent.
    std::fprintf(stderr, "[%s] %s -> %s\n", Cp949ToUtf8(caption).c_str(),
                 Cp949ToUtf8(text).c_str(), Cp949ToUtf8(no).c_str());
    return false;
}

}  // namespace plat
