#include "support/FakeUi.h"

#include "windows/MouseCursor.h"

namespace {
const char* CursorName(const CMouseCursor& c)
{
    return &c == &g_mouseCursor ? "carried" : (&c == &g_lastMouseCursor ? "last" : "other");
}
}  // namespace

void FakeUi::AddLine(const char* text) { log.Add("AddLine", text); }

void FakeUi::ClearMessages() { log.Add("ClearMessages"); }

void FakeUi::AddFloatText(int x, int y, const char* text)
{
    if (logFrameCalls)
        log.Add("AddFloatText", x, y, text);
}

int FakeUi::AddNotice(int x, int y, int hp, int maxHp, int mp, int maxMp, int kind)
{
    if (logFrameCalls)
        log.Add("AddNotice", x, y, hp, maxHp, mp, maxMp, kind);
    return 1;
}

void FakeUi::SetWindowState(int id, int state)
{
    log.Add("SetWindowState", id, state);
    windowState[id] = state;
}

int FakeUi::GetWindowState(int id)
{
    const auto it = windowState.find(id);
    return it == windowState.end() ? 0 : it->second;
}

void FakeUi::ToggleWindow(int id)
{
    log.Add("ToggleWindow", id);
    const int s = GetWindowState(id);
    windowState[id] = s == 0 ? 1 : 3;
}

bool FakeUi::IsWindowOpen(int id)
{
    const int s = GetWindowState(id);
    return s == 1 || s == 2;
}

void FakeUi::RefreshWindow(int id) { log.Add("RefreshWindow", id); }

void FakeUi::RefreshWindows() { log.Add("RefreshWindows"); }

void FakeUi::DispatchMouseButtons()
{
    if (logFrameCalls)
        log.Add("DispatchMouseButtons");
}

void FakeUi::DispatchCommands()
{
    if (logFrameCalls)
        log.Add("DispatchCommands");
}

void FakeUi::HandleHotKeys()
{
    if (logFrameCalls)
        log.Add("HandleHotKeys");
}

int FakeUi::RouteChatMessage(const char* message)
{
    log.Add("RouteChatMessage", message);
    return routeChatResult;
}

void FakeUi::ShowNotice(const char* text, int draws) { log.Add("ShowNotice", text, draws); }

void FakeUi::ShowJohabNotice(const char* johab, int draws) { log.Add("ShowJohabNotice", johab, draws); }

void FakeUi::ApplyToPlayer(CMouseCursor& cursor) { log.Add("ApplyToPlayer", CursorName(cursor)); }

void FakeUi::ReturnCarried(CMouseCursor& cursor)
{
    log.Add("ReturnCarried", CursorName(cursor));
    cursor.ReturnCarried();
}

bool FakeUi::DropCarried(CMouseCursor& cursor)
{
    log.Add("DropCarried", CursorName(cursor));
    return cursor.DropCarried();
}

int FakeUi::LoadItemList(const char* name)
{
    log.Add("LoadItemList", name);
    return loadItemListResult;
}
