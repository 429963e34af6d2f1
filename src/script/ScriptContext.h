// The run context of one script slot, handed to every node operation.
#pragma once
#include <cstdint>

#include "core/GameString.h"

class CProgramNode;
class CVariable;

class CScriptContext {
public:
    // What a jump left for the enclosing nodes to act on.
    enum : uint32_t { kNone = 0, kBreak = 1, kContinue = 2, kReturn = 3 };

    // Back to the state a start gives: no status, main procedure next.
    void Reset(CVariable* variables, CProgramNode* program);

    uint32_t status = kNone;
    // Where identifiers are looked up and declared: the slot's table for the
    // main procedure, a call node's argument table inside a call.
    CVariable* variables = nullptr;
    // What the program node enters next: 0 the main procedure, a procedure's
    // symbol id or a native action's number.
    uint32_t entry = 0;
    // The text of the last concatenation or number-to-text conversion. Kept
    // for what reads it; every string result is a value of its own.
    CGameString scratch;
    CProgramNode* program = nullptr;
    // Set when the script cannot go on (a variable table is full): the slot
    // ends it after the step.
    bool failed = false;
};
