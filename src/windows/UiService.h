// What the field, the creatures and the battle use of the UI: the message
// ring, the per-frame float texts and status bars, the windows by id, the
// notice line, the carried item and the shop lists. Game code calls Ui();
// the real widgets and UI layer serve it, a test may install a recording
// stand-in with SetUi.
#pragma once

class CMouseCursor;

class IUi {
public:
    virtual ~IUi() = default;
    // g_messageRing.
    virtual void AddLine(const char* text) = 0;
    virtual void ClearMessages() = 0;
    // g_floatTexts.AddCentered, g_noticeList.Add.
    virtual void AddFloatText(int x, int y, const char* text) = 0;
    virtual int AddNotice(int x, int y, int hp, int maxHp, int mp, int maxMp, int kind) = 0;
    // Windows of the UI layer's root container, by id: state 1 opens, 3
    // closes; 0 for a window that does not exist.
    virtual void SetWindowState(int id, int state) = 0;
    virtual int GetWindowState(int id) = 0;
    virtual void ToggleWindow(int id) = 0;
    virtual bool IsWindowOpen(int id) = 0;
    virtual void RefreshWindow(int id) = 0;
    // The UI layer.
    virtual void RefreshWindows() = 0;
    virtual void DispatchMouseButtons() = 0;
    virtual void DispatchCommands() = 0;
    virtual void HandleHotKeys() = 0;
    virtual int RouteChatMessage(const char* message) = 0;
    // g_currentNoticeLine (nothing before a notice line exists). The text is
    // CP949, as the game's own texts are; the notice line shows it in Johab.
    virtual void ShowNotice(const char* text, int draws) = 0;
    // The same for a text that is Johab already (the server's notices carry
    // what was typed), shown as it stands.
    virtual void ShowJohabNotice(const char* johab, int draws) = 0;
    // g_mouseCursor / g_lastMouseCursor.
    virtual void ApplyToPlayer(CMouseCursor& cursor) = 0;
    virtual void ReturnCarried(CMouseCursor& cursor) = 0;
    // Reports the carried item's removal and moves it to g_lastMouseCursor;
    // false when it cannot be let go now.
    virtual bool DropCarried(CMouseCursor& cursor) = 0;
    // A shop list ("potion01.bin", "potion02.bin") before a shop opens.
    virtual int LoadItemList(const char* name) = 0;
};

IUi& Ui();
// Null puts the default back.
void SetUi(IUi* ui);
