// Scripts run without the whole client: the test world's object layer holds
// the player's record and sends its character fields to a test socket; an
// archive of compiled scripts; the stand-ins for the message box and the
// player info.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "scriptc/ScriptCompiler.h"
#include "support/FakeMessageBox.h"
#include "support/FakeScriptPlayer.h"
#include "support/SentPackets.h"
#include "support/TestWorld.h"
#include "world/CharacterRecord.h"

class CScriptTestbed {
public:
    CScriptTestbed();
    ~CScriptTestbed();

    CharacterRecord& Record() { return m_world->MyRecord(); }
    // A fresh world whose archive holds these compiled entries.
    void InstallScripts(const std::vector<std::pair<std::string, std::string>>& sources);
    // Compiles the source and starts it in the first free slot under the
    // name; the slot's index, or -1 when it did not start.
    int Start(const std::string& source, const char* name = "Test");
    // Steps every slot until that slot is free; the steps it took, or -1
    // when it still runs after maxSteps.
    int RunToEnd(int slot, int maxSteps = 100000);
    // The main procedure's variables of the script started last, after its
    // end.
    int32_t Int(const std::string& name) const;
    std::string Str(const std::string& name) const;
    // Pops the command ring.
    std::vector<uint32_t> Commands();

    FakeMessageBox box;
    FakeScriptPlayer player;
    CScriptCompiler compiler;

private:
    std::unique_ptr<CTestWorld> m_world;
    int m_lastSlot = -1;
};

// The command-53 packet of field 25 as the sender builds it from a value.
SentPacket ScriptNumberPacket(int16_t value);
