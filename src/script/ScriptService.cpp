#include "script/ScriptService.h"

#include "script/ScriptManager.h"

namespace {

class CScriptService : public IScripts {
public:
    int Load(const char* name) override { return CScriptManager::Load(name); }
};

CScriptService g_scriptService;
IScripts* g_pScripts = nullptr;

}  // namespace

IScripts& Scripts() { return g_pScripts ? *g_pScripts : g_scriptService; }

void SetScripts(IScripts* scripts) { g_pScripts = scripts; }
