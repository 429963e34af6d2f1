// What scripts compute and how many frames they take, each a short compiled
// script run in a slot to its end.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "ScriptTestbed.h"
#include "platform/Crt.h"
#include "script/ScriptManager.h"

namespace {

std::string Main(const std::string& body) { return "proc Main() {" + body + "} ;"; }

// A script run to its end and the command ids it pushed.
struct PushCase {
    const char* what;
    std::string source;
    std::vector<uint32_t> pushed;
};

void ExpectPushes(const std::vector<PushCase>& cases)
{
    for (const PushCase& c : cases) {
        CScriptTestbed bed;
        const int slot = bed.Start(c.source);
        ASSERT_GT(bed.RunToEnd(slot), 0) << c.what;
        EXPECT_EQ(bed.Commands(), c.pushed) << c.what;
    }
}

TEST(ScriptSteps, EachNodeCostsItsFrames)
{
    struct Case {
        const char* what;
        std::string source;
        int steps;
    };
    // An empty main: enter the block, the block ends, the procedure ends,
    // the program ends. Every simple statement adds its own step, its
    // statement node's and the block's.
    const std::vector<Case> cases = {
        {"empty main", Main(""), 4},
        {"declaration", Main("int x;"), 7},
        {"assignment", Main("int x; x = 1;"), 10},
        {"assignment to a name the frame lacks", "proc O() { int x; } proc Main() { x = 1; } ;", 7},
        {"nested block", Main("{ }"), 7},
        {"while that never runs", Main("while (0) { }"), 8},
        {"if that is false", Main("if (0) { }"), 7},
        {"if with else", Main("if (0) { } else { }"), 10},
        {"return", Main("return; call PushCommand(1);"), 7},
        {"native action", Main("call PushCommand(5);"), 9},
        {"empty procedure", "proc P() { } proc Main() { call P(); } ;", 11},
        {"call of a name that is no procedure", Main("int q; call q();"), 11},
    };
    for (const Case& c : cases) {
        CScriptTestbed bed;
        const int slot = bed.Start(c.source);
        ASSERT_GE(slot, 0) << c.what;
        EXPECT_EQ(bed.RunToEnd(slot), c.steps) << c.what;
    }
}

TEST(ScriptArithmetic, ResultsFollowTheTree)
{
    struct Case {
        const char* expr;
        int32_t value;
    };
    const std::vector<Case> cases = {
        {"7 / 2", 3},
        {"-7 / 2", -3},
        {"5 / 0", -1},
        {"(0 - 32768 * 32768 * 2) / -1", INT32_MIN},
        {"0 - 32768 * 32768 * 2 - 1", INT32_MIN + 1},  // 0 - (2^31 - 1)
        {"10 - 3 - 2", 9},                         // 10 - (3 - 2)
        {"100 / 10 / 5", 50},                      // 100 / (10 / 5)
        {"2 * 3 + 4", 10},
        {"65535 * 65535", -131071},                // wraps in 32 bits
        {"-(0 - 32768 * 32768 * 2)", INT32_MIN},
        {"1 == 2 == 0", 0},                        // 1 == (2 == 0)
        {"0 - 1 < 0", 1},                          // signed
        {"0 && 0 || 1", 0},                        // 0 && (0 || 1)
        {"!0 + !5", 1},
        {"%5 + 1", 0},                             // a string's int value
        {"\"7\"", 0},
        {"0x10 + 0xFFFF", 65551},
    };
    for (const Case& c : cases) {
        CScriptTestbed bed;
        const int slot = bed.Start(Main(std::string("int r; r = ") + c.expr + ";"));
        ASSERT_GE(bed.RunToEnd(slot), 0) << c.expr;
        EXPECT_EQ(bed.Int("r"), c.value) << c.expr;
    }
}

TEST(ScriptArithmetic, BothSidesOfALogicalOperatorAreEvaluated)
{
    CScriptTestbed bed;
    plat::SRand(99);
    const int first = plat::Rand(), second = plat::Rand(), third = plat::Rand();
    (void)first;
    (void)second;
    plat::SRand(99);
    const int slot = bed.Start(Main("int r; r = sys_Random < 0 && sys_Random < 100;"));
    ASSERT_GE(bed.RunToEnd(slot), 0);
    EXPECT_EQ(bed.Int("r"), 0);
    EXPECT_EQ(plat::Rand(), third) << "both operands drew a number";
}

TEST(ScriptStrings, AssignmentsConvertOnlyThroughPercent)
{
    struct Case {
        const char* body;
        const char* result;
    };
    const std::vector<Case> cases = {
        {"s = %5;", "5"},
        {"s = 5;", ""},  // an int to a string assigns nothing
        {"s = %1 + %2;", "12"},
        {"s = \"a\" + (\"b\" + \"c\");", "abc"},
        {"s = \"n=\" + 5 * 3;", "n=15"},
        {"s = %(0 - 7);", "-7"},
        {"s = \"x\" - \"y\";", ""},  // "-" makes an int
        {"t = \"q\"; s = t + t + t;", "qqq"},
        {"s = t + \"!\";", "!"},
    };
    for (const Case& c : cases) {
        CScriptTestbed bed;
        const int slot = bed.Start(Main(std::string("string s; string t; int n; ") + c.body));
        ASSERT_GE(bed.RunToEnd(slot), 0) << c.body;
        EXPECT_EQ(bed.Str("s"), c.result) << c.body;
    }
}

TEST(ScriptVariables, ALaterDeclarationHidesTheEarlierOne)
{
    CScriptTestbed bed;
    const int slot = bed.Start(Main("int x; x = 1; int x; x = 2; string x; x = \"s\";"));
    ASSERT_GE(bed.RunToEnd(slot), 0);
    const CVariable& v = g_scriptManager.GetSlot(slot).GetVariables();
    ASSERT_EQ(v.GetCount(), 3);
    EXPECT_EQ(v.GetIntAt(0), 1);
    EXPECT_EQ(v.GetIntAt(1), 2);
    EXPECT_STREQ(v.GetStringAt(2), "s");
    EXPECT_EQ(bed.Str("x"), "s");
    EXPECT_EQ(bed.Int("x"), 0) << "an int read of a string";
}

TEST(ScriptVariables, A513thEntryEndsTheScript)
{
    CScriptTestbed bed;
    const int slot = bed.Start(Main("int i; i = 0; while (1) { int x; i = i + 1; }"));
    EXPECT_GT(bed.RunToEnd(slot), 0) << "the script ends itself";
    // i and the first 511 loops' x fill the table; the next declaration ends it.
    EXPECT_EQ(g_scriptManager.GetSlot(slot).GetVariables().GetCount(), CVariable::kEntries);
    EXPECT_EQ(bed.Int("i"), 511);
}

TEST(ScriptControl, LoopsBreakContinueAndReturn)
{
    const std::vector<PushCase> cases = {
        {"break and continue",
         Main("int n; n = 0; while (1) { n = n + 1; if (n > 5) break; if (n == 3) continue; "
              "call PushCommand(n); } call PushCommand(100);"),
         {1, 2, 4, 5, 100}},
        {"return from two loops in a called procedure",
         "proc F(limit) { int i; i = 0; while (1) { while (1) { i = i + 1; if (i == limit) { "
         "call PushCommand(i); return; } } } call PushCommand(99); }"
         "proc Main() { call F(3); call PushCommand(42); } ;",
         {3, 42}},
        {"break outside a loop ends the procedure",
         "proc F() { break; call PushCommand(1); } proc Main() { call F(); call PushCommand(2); } ;", {2}},
        {"return in main ends the script", Main("call PushCommand(1); return; call PushCommand(2);"), {1}},
        {"continue in main ends the script", Main("continue; call PushCommand(2);"), {}},
        {"else branch", Main("if (1 == 2) call PushCommand(1); else call PushCommand(2);"), {2}},
        {"the main procedure is the last", "proc Main() { call PushCommand(1); } proc Last() { call PushCommand(2); } ;",
         {2}},
    };
    ExpectPushes(cases);
}

TEST(ScriptCalls, ArgumentsBindToParametersByPosition)
{
    const std::vector<PushCase> cases = {
        {"all arguments", "proc P(a, b) { call PushCommand(a * 100 + b); } proc Main() { call P(3, 4); } ;", {304}},
        {"fewer arguments than parameters",
         "proc P(a, b) { b = 9; call PushCommand(a * 100 + b); } proc Main() { call P(3); } ;", {300}},
        {"more arguments than parameters", "proc P(a) { call PushCommand(a); } proc Main() { call P(7, 8); } ;", {7}},
        {"a string argument", "proc P(s) { string t; t = s + \"!\"; call ShowText(t); call PushCommand(1); }"
                              "proc Main() { call P(\"hi\"); } ;",
         {1}},
        {"arguments see the caller's frame",
         "proc P(a) { call PushCommand(a); } proc Main() { int x; x = 6; call P(x + 1); call PushCommand(x); } ;",
         {7, 6}},
        {"self-recursion through the same call is skipped",
         "proc R(n) { call PushCommand(n); call R(n + 1); } proc Main() { call R(1); call PushCommand(50); } ;",
         {1, 50}},
        {"A calls B calls A: the second A is skipped",
         "proc A() { call PushCommand(1); call B(); } proc B() { call PushCommand(2); call A(); call PushCommand(3); }"
         "proc Main() { call A(); call A(); call PushCommand(4); } ;",
         {1, 2, 3, 1, 2, 3, 4}},
        {"main calling itself", Main("call PushCommand(1); call Main(); call PushCommand(2);"), {1, 2}},
        {"a procedure frame starts afresh each call",
         "proc P() { int c; c = c + 1; call PushCommand(c); } proc Main() { call P(); call P(); } ;", {1, 1}},
    };
    ExpectPushes(cases);
}

}  // namespace
