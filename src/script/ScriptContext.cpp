#include "script/ScriptContext.h"

void CScriptContext::Reset(CVariable* table, CProgramNode* root)
{
    status = kNone;
    variables = table;
    entry = 0;
    scratch.Assign("");
    program = root;
    failed = false;
}
