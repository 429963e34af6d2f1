// The base names of the scripts that run now, in slot order.
#pragma once
#include <string>
#include <vector>

#include "script/ScriptManager.h"

inline std::vector<std::string> RunningScripts()
{
    std::vector<std::string> names;
    for (int i = 0; i < CScriptManager::kSlots; ++i)
        if (g_scriptManager.GetSlot(i).IsRunning())
            names.emplace_back(g_scriptManager.GetSlot(i).GetName().GetString());
    return names;
}
