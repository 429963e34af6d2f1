// The script manager: twelve slots, each running at most one compiled script
// from the archive. Every frame gives each running script one step, so a
// script never holds up the frame.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/GameString.h"
#include "script/ScriptContext.h"
#include "script/ScriptNode.h"
#include "script/Variable.h"

class CDataStream;

class CScriptSlot {
public:
    // Loads the tree and enters it; 0 when the slot runs a script already
    // or the stream holds no well-formed script (the slot stays free).
    int Start(CDataStream& stream, const char* name);
    // One step of the running script; the step that ends it frees the slot.
    void Step();

    bool IsRunning() const { return m_running != 0; }
    const CGameString& GetName() const { return m_name; }
    const CScriptNode* GetCurrent() const { return m_pCurrent; }
    // The main procedure's frame (kept after the end until the next start).
    const CVariable& GetVariables() const { return m_variables; }
    void Free();

private:
    CGameString m_name;  // empty while free
    uint32_t m_running = 0;
    std::unique_ptr<CProgramNode> m_pProgram;  // kept after the end until the next start
    CScriptNode* m_pCurrent = nullptr;
    CVariable m_variables;
    CScriptContext m_context;
};

class CScriptManager {
public:
    static constexpr int kSlots = 12;
    // Longer base names are refused: the entry name must fit its buffer
    // with an 8-digit number.
    static constexpr size_t kMaxNameLength = 35;

    // Starts the named script: "%s%04X.scr" with the player's script
    // number if that entry exists, else "%s.scr". 1 when it started; 0 when
    // neither entry exists, the name is running, every slot is busy or the
    // entry is no well-formed script.
    static int Load(const char* name);
    // Steps slots 0 to 11 in order; a script that an earlier slot starts in
    // a later one is stepped in the same pass.
    static void StepAll();

    // 0 when a slot carries the name (running or not: a free slot's name is
    // empty) or no free slot takes the stream.
    int StartInFreeSlot(CDataStream& stream, const char* name);
    CScriptSlot& GetSlot(int i) { return m_slots[static_cast<size_t>(i)]; }
    int CountRunning() const;

    // Frees every slot and clears the engine's globals (between tests).
    static void Reset();

private:
    std::array<CScriptSlot, kSlots> m_slots;
};

extern CScriptManager g_scriptManager;
