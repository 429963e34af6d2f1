#include "ScriptTestbed.h"

#include <stdexcept>

#include "app/CommandRing.h"
#include "core/MemStream.h"
#include "core/ResFile.h"
#include "script/ScriptManager.h"

CScriptTestbed::CScriptTestbed()
{
    InstallScripts({});
    OpenTestMainSocket();
}

CScriptTestbed::~CScriptTestbed()
{
    CloseTestMainSocket();
    m_world.reset();
}

void CScriptTestbed::InstallScripts(const std::vector<std::pair<std::string, std::string>>& sources)
{
    CArchiveBuilder b = CArchiveBuilder::MinimalGame();
    for (const auto& [entry, source] : sources)
        b.Add(entry, CompileScript(source));
    m_world.reset();
    m_world = std::make_unique<CTestWorld>(b);
    // The world's reset closed the archive; scripts are read without the
    // first-use opening.
    ResOpenGameArchives();
}

int CScriptTestbed::Start(const std::string& source, const char* name)
{
    if (!compiler.Compile(source))
        throw std::runtime_error(compiler.Error());
    std::vector<uint8_t> bytes = compiler.Bytes();
    CMemStream stream(bytes.data(), bytes.size());
    if (!g_scriptManager.StartInFreeSlot(stream, name))
        return -1;
    for (int i = 0; i < CScriptManager::kSlots; ++i)
        if (g_scriptManager.GetSlot(i).GetName() == name)
            m_lastSlot = i;
    return m_lastSlot;
}

int CScriptTestbed::RunToEnd(int slot, int maxSteps)
{
    for (int steps = 1; steps <= maxSteps; ++steps) {
        CScriptManager::StepAll();
        if (!g_scriptManager.GetSlot(slot).IsRunning())
            return steps;
    }
    return -1;
}

int32_t CScriptTestbed::Int(const std::string& name) const
{
    return g_scriptManager.GetSlot(m_lastSlot).GetVariables().GetInt(compiler.IdOf(name));
}

std::string CScriptTestbed::Str(const std::string& name) const
{
    const char* s = g_scriptManager.GetSlot(m_lastSlot).GetVariables().GetString(compiler.IdOf(name));
    return s ? s : "<none>";
}

std::vector<uint32_t> CScriptTestbed::Commands()
{
    std::vector<uint32_t> out;
    for (uint32_t id = g_commandRing.Pop(); id != CCommandRing::kEmpty; id = g_commandRing.Pop())
        out.push_back(id);
    return out;
}

SentPacket ScriptNumberPacket(int16_t value)
{
    const auto v = static_cast<uint32_t>(static_cast<int32_t>(value));
    return {53, 25, static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}
