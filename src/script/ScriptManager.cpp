#include "script/ScriptManager.h"

namespace {
std::vector<std::string> g_requests;
}

int CScriptManager::Load(const char* name)
{
    g_requests.emplace_back(name ? name : "");
    return 0;
}

const std::vector<std::string>& CScriptManager::Requests() { return g_requests; }

void CScriptManager::Reset() { g_requests.clear(); }
