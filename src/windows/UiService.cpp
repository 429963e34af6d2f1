#include "windows/UiService.h"

#include "core/HanCodeConv.h"
#include "ui/FloatTextList.h"
#include "ui/MessageRing.h"
#include "ui/NoticeList.h"
#include "ui/TextCut.h"
#include "windows/DaradirUzedo.h"
#include "windows/ItemList.h"
#include "windows/MouseCursor.h"
#include "windows/SystemWindows.h"

namespace {

CWidget* FindWindow(int id)
{
    CDaradirUzedo* ui = g_layerHolder.GetLayer();
    return ui && id >= 0 ? ui->GetRootContainer()->FindChild(static_cast<uint32_t>(id)) : nullptr;
}

// The real widgets and UI layer.
class CUiService : public IUi {
public:
    void AddLine(const char* text) override { g_messageRing.AddLine(text); }
    void ClearMessages() override { g_messageRing.Clear(); }
    void AddFloatText(int x, int y, const char* text) override { g_floatTexts.AddCenteredF(x, y, "%s", text); }
    int AddNotice(int x, int y, int hp, int maxHp, int mp, int maxMp, int kind) override
    {
        return g_noticeList.Add(x, y, hp, maxHp, mp, maxMp, kind);
    }
    void SetWindowState(int id, int state) override
    {
        if (CWidget* w = FindWindow(id))
            w->SetState(static_cast<uint32_t>(state));
    }
    int GetWindowState(int id) override
    {
        const CWidget* w = FindWindow(id);
        return w ? static_cast<int>(w->GetState()) : 0;
    }
    void ToggleWindow(int id) override
    {
        if (CWidget* w = FindWindow(id))
            w->Toggle();
    }
    bool IsWindowOpen(int id) override
    {
        const CDaradirUzedo* ui = g_layerHolder.GetLayer();
        return ui && ui->IsWindowOpen(id);
    }
    void RefreshWindow(int id) override
    {
        if (CWidget* w = FindWindow(id))
            w->Refresh();
    }
    void RefreshWindows() override
    {
        if (CDaradirUzedo* ui = g_layerHolder.GetLayer())
            ui->RefreshWindows();
    }
    void DispatchMouseButtons() override
    {
        if (CDaradirUzedo* ui = g_layerHolder.GetLayer())
            ui->DispatchMouseButtons();
    }
    void DispatchCommands() override
    {
        if (CDaradirUzedo* ui = g_layerHolder.GetLayer())
            ui->DispatchCommands();
    }
    void HandleHotKeys() override
    {
        if (CDaradirUzedo* ui = g_layerHolder.GetLayer())
            ui->HandleHotKeys();
    }
    int RouteChatMessage(const char* message) override
    {
        CDaradirUzedo* ui = g_layerHolder.GetLayer();
        return ui ? ui->RouteChatMessage(message) : 0;
    }
    void ShowNotice(const char* text, int draws) override
    {
        if (!g_currentNoticeLine)
            return;
        char johab[CNoticeLine::kTextSize];
        CopyTextCut(johab, sizeof johab, text ? text : "");
        g_currentNoticeLine->Show(CHanCodeConv::CP949ToJohab(johab, johab), draws);
    }
    void ShowJohabNotice(const char* johab, int draws) override
    {
        if (g_currentNoticeLine)
            g_currentNoticeLine->Show(johab, draws);
    }
    void ApplyToPlayer(CMouseCursor& cursor) override { cursor.ApplyToPlayer(); }
    void ReturnCarried(CMouseCursor& cursor) override { cursor.ReturnCarried(); }
    bool DropCarried(CMouseCursor& cursor) override { return cursor.DropCarried(); }
    // The shop lists come with the item lists.
    int LoadItemList(const char* name) override
    {
        g_itemList.Load(name);
        return g_itemList.GetCount();
    }
};

CUiService g_uiService;
IUi* g_pUi = nullptr;

}  // namespace

IUi& Ui() { return g_pUi ? *g_pUi : g_uiService; }

void SetUi(IUi* ui) { g_pUi = ui; }
