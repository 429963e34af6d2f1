// The native actions a script calls by number: text, palette fades, UI
// commands, the dialogue, the player's items, the timer, other scripts and
// the command suspension.
#pragma once
#include <cstddef>
#include <cstdint>

class CScriptContext;
struct ScriptArgBlock;

class CExtraFunction {
public:
    virtual ~CExtraFunction() = default;
    // One step of the action; tick counts 0, 1, 2... within one call.
    // 1 when the action has finished.
    virtual int Run(ScriptArgBlock& args, uint32_t tick);
};

// The action of a number (1 to 4, 17 to 24), or null: any other number
// names a script procedure.
CExtraFunction* FindExtraFunction(uint32_t number);

// The dialogue text: "$$id$$" becomes the character name, any other
// "$$name$$" is dropped, and so is a "$$" left open. The result, NUL
// included, fits in size bytes (cut where it does not).
void ExpandText(const char* source, char* out, size_t size);

// Set by action 24; while nonzero the UI command dispatcher discards every
// command. It outlives the script that set it, unless that script is cut
// short (ScriptEnded).
extern int32_t g_uiCommandsSuspended;

// A script has ended. One that could not go on (its variables are full)
// never reaches the statement that would lift its own suspension, so the
// suspension it set last is lifted here.
void ScriptEnded(const CScriptContext& script, bool cutShort);
// No suspension, no script holding one (between tests).
void ClearCommandSuspension();
