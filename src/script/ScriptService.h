// What the connect sequence, the UI commands, NPC talk and the battle use of
// the script engine. Game code calls Scripts(); CScriptManager serves it, a
// test may install a recording stand-in with SetScripts.
#pragma once

class IScripts {
public:
    virtual ~IScripts() = default;
    // Starts the named script ("%s%04X.scr" with the player's script
    // number, else "%s.scr"); 0 when it is absent, already runs or all 12
    // slots are busy.
    virtual int Load(const char* name) = 0;
};

IScripts& Scripts();
// Null puts the default back.
void SetScripts(IScripts* scripts);
