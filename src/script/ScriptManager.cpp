#include "script/ScriptManager.h"

#include <cstdio>
#include <cstring>

#include "core/ResStream.h"
#include "platform/Debug.h"
#include "script/ExtraFunctions.h"
#include "script/ScriptServices.h"
#include "world/CharacterRecord.h"

CScriptManager g_scriptManager;

int CScriptSlot::Start(CDataStream& stream, const char* name)
{
    if (m_running)
        return 0;
    m_pProgram.reset();
    m_pCurrent = nullptr;
    m_pProgram = CProgramNode::Load(stream);
    if (!m_pProgram) {
        plat::DebugPrintf("script: %s is no well-formed script\n", name);
        return 0;
    }
    m_pProgram->SetParent(nullptr);
    m_running = 1;
    m_variables.Clear();
    m_context.Reset(&m_variables, m_pProgram.get());
    m_pCurrent = m_pProgram.get();
    m_pProgram->Enter(m_context);
    m_name.Assign(name);
    return 1;
}

void CScriptSlot::Step()
{
    if (!m_running)
        return;
    m_pCurrent = m_pCurrent->Step(m_context);
    if (m_context.failed) {
        plat::DebugPrintf("script: %s ended, its variables are full\n", m_name.GetString());
        m_pCurrent = nullptr;
    }
    if (!m_pCurrent) {
        ScriptEnded(m_context, m_context.failed);
        m_running = 0;
        m_name.Assign("");
    }
}

void CScriptSlot::Free()
{
    m_running = 0;
    m_name.Assign("");
    m_pCurrent = nullptr;
    m_variables.Clear();
    m_pProgram.reset();
}

int CScriptManager::Load(const char* name)
{
    if (!name || std::strlen(name) > kMaxNameLength) {
        plat::DebugPrintf("script: name refused\n");
        return 0;
    }
    const CharacterRecord* rec = PlayerRecord();
    const int32_t number = rec ? rec->I16(CharacterRecord::kScriptValue) : 0;
    char entry[kMaxNameLength + 13];
    std::snprintf(entry, sizeof entry, "%s%04X.scr", name, static_cast<unsigned>(number));
    {
        CResStream stream(entry);
        if (stream.IsOpen())
            return g_scriptManager.StartInFreeSlot(stream, name);
    }
    std::snprintf(entry, sizeof entry, "%s.scr", name);
    CResStream stream(entry);
    if (stream.IsOpen())
        return g_scriptManager.StartInFreeSlot(stream, name);
    return 0;
}

int CScriptManager::StartInFreeSlot(CDataStream& stream, const char* name)
{
    for (const CScriptSlot& slot : m_slots)
        if (slot.GetName() == name)
            return 0;
    for (CScriptSlot& slot : m_slots)
        if (!slot.IsRunning())
            return slot.Start(stream, name);
    return 0;
}

void CScriptManager::StepAll()
{
    for (CScriptSlot& slot : g_scriptManager.m_slots)
        slot.Step();
}

int CScriptManager::CountRunning() const
{
    int n = 0;
    for (const CScriptSlot& slot : m_slots)
        n += slot.IsRunning() ? 1 : 0;
    return n;
}

void CScriptManager::Reset()
{
    for (CScriptSlot& slot : g_scriptManager.m_slots)
        slot.Free();
    g_scriptListFlag = 0;
    ClearCommandSuspension();
}
