#include "script/ScriptServices.h"

#include "windows/PlayerInfo.h"
#include "windows/SystemWindows.h"
#include "world/ObjLayer.h"

namespace {

// The UI layer's message box. Before the windows exist there is nothing to
// show a dialogue in, so nothing to wait for.
class CGameMessageBox : public IMessageBox {
public:
    void SetText(const char* text) override
    {
        if (g_pMessageBoxWin)
            g_pMessageBoxWin->SetText(text);
    }
    bool IsEmpty() override { return !g_pMessageBoxWin || g_pMessageBoxWin->IsEmpty(); }
};

// The player info, and my character's tile as the object layer knows it.
class CGameScriptPlayer : public IScriptPlayer {
public:
    void AddItem(int id) override { g_playerInfo.AddItem(id); }
    bool RemoveItem(int id) override { return g_playerInfo.RemoveItem(id); }
    // The name of the character chosen on the selection screen.
    void GetCharName(char* out, size_t size) override { g_playerInfo.GetCharName(out, size); }
    int GetTileX() override
    {
        CObjLayer* layer = GetObjLayer();
        return layer ? layer->StageChange().GetMyTileX() : 0;
    }
    int GetTileY() override
    {
        CObjLayer* layer = GetObjLayer();
        return layer ? layer->StageChange().GetMyTileY() : 0;
    }
};

CGameMessageBox g_gameMessageBox;
CGameScriptPlayer g_gameScriptPlayer;
IMessageBox* g_pMessageBox = nullptr;
IScriptPlayer* g_pScriptPlayer = nullptr;

}  // namespace

IMessageBox& ScriptMessageBox() { return g_pMessageBox ? *g_pMessageBox : g_gameMessageBox; }
IScriptPlayer& ScriptPlayer() { return g_pScriptPlayer ? *g_pScriptPlayer : g_gameScriptPlayer; }
void SetScriptMessageBox(IMessageBox* box) { g_pMessageBox = box; }
void SetScriptPlayer(IScriptPlayer* player) { g_pScriptPlayer = player; }

CObjLayer* PlayerLayer() { return GetObjLayer(); }
CharacterRecord* PlayerRecord() { return g_playerInfo.GetMyRecord(); }
