// A recording stand-in for the UI: installed while it exists (the
// default comes back when it is destroyed); logs every call with its
// arguments in order and returns scripted values.
#pragma once
#include <cstdint>
#include <map>

#include "windows/UiService.h"
#include "support/CallLog.h"

class FakeUi : public IUi {
public:
    FakeUi() { SetUi(this); }
    ~FakeUi() override { SetUi(nullptr); }
    FakeUi(const FakeUi&) = delete;
    FakeUi& operator=(const FakeUi&) = delete;

    void AddLine(const char* text) override;
    void ClearMessages() override;
    void AddFloatText(int x, int y, const char* text) override;
    int AddNotice(int x, int y, int hp, int maxHp, int mp, int maxMp, int kind) override;
    void SetWindowState(int id, int state) override;
    int GetWindowState(int id) override;
    void ToggleWindow(int id) override;
    bool IsWindowOpen(int id) override;
    void RefreshWindow(int id) override;
    void RefreshWindows() override;
    void DispatchMouseButtons() override;
    void DispatchCommands() override;
    void HandleHotKeys() override;
    int RouteChatMessage(const char* message) override;
    void ShowNotice(const char* text, int draws) override;
    void ShowJohabNotice(const char* johab, int draws) override;
    void ApplyToPlayer(CMouseCursor& cursor) override;
    void ReturnCarried(CMouseCursor& cursor) override;
    bool DropCarried(CMouseCursor& cursor) override;
    int LoadItemList(const char* name) override;

    CCallLog log;
    // Window states by id (SetWindowState and ToggleWindow keep them: 1 and
    // 2 count as open); absent ids are 0, closed.
    std::map<int, int> windowState;
    int routeChatResult = 0;
    int loadItemListResult = 1;
    // Float texts, notices and the per-frame dispatch calls are logged only
    // when asked for: a frame makes many.
    bool logFrameCalls = false;
};
