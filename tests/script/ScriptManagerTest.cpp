// Starting scripts by name from the archive into the twelve slots.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScriptTestbed.h"
#include "script/ScriptManager.h"

namespace {

std::string Pushes(int id) { return "proc Main() { call PushCommand(" + std::to_string(id) + "); } ;"; }
const char* const kForever = "proc Main() { while (1) { } } ;";

// Steps until every slot is free.
int RunAll(int maxSteps = 1000)
{
    for (int i = 1; i <= maxSteps; ++i) {
        CScriptManager::StepAll();
        if (g_scriptManager.CountRunning() == 0)
            return i;
    }
    return -1;
}

TEST(ScriptManager, NumberedEntryFirstThenThePlainName)
{
    struct Case {
        int16_t number;
        std::vector<const char*> entries;
        int started;
        std::vector<uint32_t> pushed;
    };
    // Each entry pushes its own number.
    const std::vector<std::pair<const char*, int>> all = {
        {"AutoExec0003.scr", 3}, {"AutoExecFFFFFFFF.scr", 0xFFFF}, {"AutoExec0100.scr", 256}, {"AutoExec.scr", 1}};
    const std::vector<Case> cases = {
        {3, {"AutoExec0003.scr", "AutoExec.scr"}, 1, {3}},
        {3, {"AutoExec.scr"}, 1, {1}},
        {-1, {"AutoExecFFFFFFFF.scr", "AutoExec.scr"}, 1, {0xFFFF}},
        {-1, {"AutoExec.scr"}, 1, {1}},
        {256, {"AutoExec0100.scr", "AutoExec.scr"}, 1, {256}},
        {5, {"AutoExec0003.scr"}, 0, {}},
    };
    for (const Case& c : cases) {
        CScriptTestbed bed;
        std::vector<std::pair<std::string, std::string>> entries;
        for (const auto& [name, id] : all)
            for (const char* wanted : c.entries)
                if (std::string(name) == wanted)
                    entries.emplace_back(name, Pushes(id));
        bed.InstallScripts(entries);
        bed.Record().SetU16(CharacterRecord::kScriptValue, static_cast<uint16_t>(c.number));
        EXPECT_EQ(CScriptManager::Load("AutoExec"), c.started) << c.number;
        EXPECT_GE(RunAll(), c.started ? 1 : -1);
        EXPECT_EQ(bed.Commands(), c.pushed) << c.number;
    }
}

TEST(ScriptManager, ANameRunsOnceAndTwelveRunAtMost)
{
    CScriptTestbed bed;
    std::vector<std::pair<std::string, std::string>> entries = {{"Short.scr", Pushes(9)}};
    for (int i = 0; i < 13; ++i)
        entries.emplace_back("Loop" + std::to_string(i) + ".scr", kForever);
    bed.InstallScripts(entries);

    ASSERT_EQ(CScriptManager::Load("Loop0"), 1);
    CScriptManager::StepAll();
    const CScriptNode* at = g_scriptManager.GetSlot(0).GetCurrent();
    EXPECT_EQ(CScriptManager::Load("Loop0"), 0) << "the same name while it runs";
    EXPECT_EQ(g_scriptManager.GetSlot(0).GetCurrent(), at) << "the running one is untouched";
    for (int i = 1; i < 12; ++i)
        ASSERT_EQ(CScriptManager::Load(("Loop" + std::to_string(i)).c_str()), 1) << i;
    EXPECT_EQ(g_scriptManager.CountRunning(), 12);
    EXPECT_EQ(CScriptManager::Load("Loop12"), 0) << "a 13th";
    EXPECT_EQ(CScriptManager::Load("Short"), 0);
    EXPECT_EQ(CScriptManager::Load("Missing"), 0);
    EXPECT_EQ(CScriptManager::Load(std::string(36, 'a').c_str()), 0) << "too long a name";
    EXPECT_EQ(CScriptManager::Load(std::string(300, 'a').c_str()), 0);
}

TEST(ScriptManager, AnEndedScriptStartsAgainAtOnce)
{
    CScriptTestbed bed;
    bed.InstallScripts({{"Short.scr", Pushes(9)}});
    ASSERT_EQ(CScriptManager::Load("Short"), 1);
    EXPECT_EQ(RunAll(), 9);
    EXPECT_TRUE(g_scriptManager.GetSlot(0).GetName() == "");
    EXPECT_EQ(CScriptManager::Load("Short"), 1);
    EXPECT_EQ(RunAll(), 9);
    EXPECT_EQ(bed.Commands(), (std::vector<uint32_t>{9, 9}));
}

TEST(ScriptManager, AScriptStartedByAnotherInALaterSlotStepsInTheSamePass)
{
    // The child's empty main takes 4 steps; one of them comes in the pass
    // that starts it when its slot follows the starter's.
    const char* const starter = "proc Main() { call StartScript(\"Child\"); while (1) { } } ;";
    for (bool laterSlot : {true, false}) {
        CScriptTestbed bed;
        bed.InstallScripts({{"Starter.scr", starter}, {"Child.scr", "proc Main() { } ;"}, {"Pad.scr", kForever}});
        if (!laterSlot) {
            ASSERT_EQ(CScriptManager::Load("Pad"), 1);  // slot 0, freed below
        }
        ASSERT_EQ(CScriptManager::Load("Starter"), 1);
        if (!laterSlot)
            g_scriptManager.GetSlot(0).Free();
        const int starterSlot = laterSlot ? 0 : 1;
        const int childSlot = laterSlot ? 1 : 0;
        // Enter the main block, enter the call, run the action.
        for (int i = 0; i < 3; ++i) {
            EXPECT_FALSE(g_scriptManager.GetSlot(childSlot).IsRunning()) << i;
            CScriptManager::StepAll();
        }
        ASSERT_TRUE(g_scriptManager.GetSlot(childSlot).IsRunning());
        EXPECT_TRUE(g_scriptManager.GetSlot(childSlot).GetName() == "Child");
        int steps = 0;
        while (g_scriptManager.GetSlot(childSlot).IsRunning() && steps < 10) {
            CScriptManager::StepAll();
            ++steps;
        }
        EXPECT_EQ(steps, laterSlot ? 3 : 4);
        EXPECT_TRUE(g_scriptManager.GetSlot(starterSlot).IsRunning());
    }
}

TEST(ScriptManager, AnEntryThatIsNoScriptLeavesTheSlotFree)
{
    for (const std::vector<uint8_t>& bytes : std::vector<std::vector<uint8_t>>{
             {}, {0}, {0, 1, 3, 0, 0}, {0, 2, 0xEE, 1, 3, ';', 0}, std::vector<uint8_t>(64, 0x19)}) {
        CScriptTestbed bed;
        CArchiveBuilder b = CArchiveBuilder::MinimalGame();
        b.Add("Bad.scr", bytes);
        CTestArchive archive(b);
        EXPECT_EQ(CScriptManager::Load("Bad"), 0);
        EXPECT_EQ(g_scriptManager.CountRunning(), 0);
    }
}

}  // namespace
