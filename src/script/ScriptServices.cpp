#include "script/ScriptServices.h"

#include "platform/Debug.h"
#include "windows/PlayerInfo.h"
#include "world/ObjLayer.h"

namespace {

// Until the in-game message box exists there is nothing to show and so
// nothing to wait for.
class CDefaultMessageBox : public IMessageBox {
public:
    void SetText(const char*) override {}
    bool IsEmpty() override { return true; }
};

class CDefaultScriptPlayer : public IScriptPlayer {
public:
    void AddItem(int id) override { plat::DebugPrintf("script: item %d not added, no inventory yet\n", id); }
    bool RemoveItem(int id) override { return g_playerInfo.RemoveItem(id); }
    // The name of the character chosen on the selection screen.
    void GetCharName(char* out, size_t size) override { g_playerInfo.GetCharName(out, size); }
    int GetTileX() override { return 0; }
    int GetTileY() override { return 0; }
};

CDefaultMessageBox g_defaultMessageBox;
CDefaultScriptPlayer g_defaultScriptPlayer;
IMessageBox* g_pMessageBox = &g_defaultMessageBox;
IScriptPlayer* g_pScriptPlayer = &g_defaultScriptPlayer;

}  // namespace

IMessageBox& ScriptMessageBox() { return *g_pMessageBox; }
IScriptPlayer& ScriptPlayer() { return *g_pScriptPlayer; }
void SetScriptMessageBox(IMessageBox* box) { g_pMessageBox = box ? box : &g_defaultMessageBox; }
void SetScriptPlayer(IScriptPlayer* player) { g_pScriptPlayer = player ? player : &g_defaultScriptPlayer; }

CObjLayer* PlayerLayer() { return GetObjLayer(); }
CharacterRecord* PlayerRecord() { return g_playerInfo.GetMyRecord(); }
