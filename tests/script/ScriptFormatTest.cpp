// The compiled form: golden bytes, compile -> load -> save round trips over
// every node kind, and the loader's refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/ByteWriter.h"
#include "core/MemStream.h"
#include "script/ScriptNode.h"
#include "scriptc/ScriptCompiler.h"

namespace {

std::unique_ptr<CProgramNode> LoadBytes(std::vector<uint8_t> bytes)
{
    CMemStream stream(bytes.data(), bytes.size());
    return CProgramNode::Load(stream);
}

void CollectKinds(const CScriptNode& node, std::set<int>& kinds)
{
    kinds.insert(node.GetTypeCode());
    for (int i = 0; i < node.GetChildCount(); ++i)
        CollectKinds(*node.GetChild(i), kinds);
}

std::vector<uint8_t> SaveTree(const CScriptNode& node)
{
    CByteWriter out;
    node.Save(out);
    return out.Buffer();
}

// Uses every node kind, every token type, both letters of the type node
// and every jump.
const char* const kEveryKind = R"(
/* every kind */
proc Helper(a, b, c) {
    string t;
    t = "x\ty\\z" + %a;
    if (a >= b || !c) return;
    else { call ShowText(t, 0x1F, -a); }
}
proc Main() {
    int i; string s;
    i = 0;
    while (i < 10) {
        i = i + 1;
        if (i == 2) continue;
        if (i != 7 && i <= 8) { call Helper(i, 300 * 2 / (i - 1), 1); } else break;
    }
    s = %i;  // a comment
    call Helper(1, 2);
    { call PushCommand(65535); }
    call Nothing();
}
;)";

TEST(ScriptFormat, TokensHaveTheirGoldenBytes)
{
    CByteWriter w;
    CTokenNode::Text(kTokenString, "abc")->Save(w);
    CTokenNode::Number(300)->Save(w);
    CTokenNode::Identifier(10001)->Save(w);
    CTokenNode::Keyword()->Save(w);
    CTokenNode::Text(kTokenOperator, "==")->Save(w);
    CTypeNode('s').Save(w);
    CJumpNode('b').Save(w);
    const std::vector<uint8_t> golden = {1, 2, 'a', 'b', 'c', 0, 1, 4, 0x01, 0x2C, 1, 1, 0x27, 0x11, 1, 0,
                                         1, 3, '=', '=', 0, 5, 's', 21, 'b'};
    EXPECT_EQ(w.Buffer(), golden);
}

TEST(ScriptFormat, SmallestProgramHasItsGoldenBytes)
{
    const std::vector<uint8_t> golden = {
        0, 2,                                  // program: 2 children
        3, 0, 6,                               // proc, 6 children
        1, 0,                                  //   "proc"
        1, 1, 0x27, 0x11,                      //   Main = 10001
        1, 3, '(', 0, 4, 0, 0, 1, 3, ')', 0,   //   "(" params ")"
        25, 0, 2, 1, 3, '{', 0, 1, 3, '}', 0,  //   { }
        1, 3, ';', 0,                          // ";"
    };
    EXPECT_EQ(CompileScript("proc Main() {} ;"), golden);
    auto tree = LoadBytes(golden);
    ASSERT_TRUE(tree);
    EXPECT_EQ(SaveTree(*tree), golden);
}

TEST(ScriptFormat, CompileLoadSaveRoundTripsEveryKind)
{
    CScriptCompiler c;
    ASSERT_TRUE(c.Compile(kEveryKind)) << c.Error();
    std::set<int> kinds;
    CollectKinds(*c.Tree(), kinds);
    EXPECT_EQ(kinds.size(), 25u);
    const std::string dump = DumpScriptTree(*c.Tree());
    auto loaded = LoadBytes(c.Bytes());
    ASSERT_TRUE(loaded);
    EXPECT_EQ(DumpScriptTree(*loaded), dump);
    EXPECT_EQ(SaveTree(*loaded), c.Bytes());
    EXPECT_NE(dump.find("1 type 2 id 0 number 0 \"x\ty\\z\""), std::string::npos) << dump;
    EXPECT_NE(dump.find("type 4 id 0 number 31"), std::string::npos) << "hex";
    EXPECT_NE(dump.find("'c'"), std::string::npos);
}

TEST(ScriptFormat, BinaryOperatorsNestToTheRight)
{
    CScriptCompiler c;
    ASSERT_TRUE(c.Compile("proc M() { int x; x = 10 - 3 - 2; } ;"));
    const std::string dump = DumpScriptTree(*c.Tree());
    // add(mul 10, -, add(mul 3, -, add(mul 2)))
    const std::string nested = "12 count 3\n"
                               "                14 count 1\n"
                               "                  16 count 1\n"
                               "                    1 type 4 id 0 number 10\n"
                               "                13 count 1\n"
                               "                  1 type 3 id 0 number 0 \"-\"\n"
                               "                12 count 3\n";
    EXPECT_NE(dump.find(nested), std::string::npos) << dump;
}

TEST(ScriptFormat, EveryPrefixAndEveryFlipFailsCleanly)
{
    const std::vector<uint8_t> file = CompileScript(kEveryKind);
    for (size_t n = 0; n < file.size(); ++n)
        EXPECT_FALSE(LoadBytes({file.begin(), file.begin() + static_cast<long>(n)})) << "prefix of " << n;
    std::mt19937 rng(23);
    int loaded = 0;
    for (int i = 0; i < 1000; ++i) {
        std::vector<uint8_t> bad = file;
        bad[rng() % bad.size()] ^= static_cast<uint8_t>(1 + rng() % 255);
        if (auto tree = LoadBytes(bad))
            loaded += CheckScriptShape(*tree) ? 1 : 0;
    }
    // Flips inside texts, ids and numbers still load; the shape always holds.
    EXPECT_GT(loaded, 0);
}

TEST(ScriptFormat, LoaderRefusesMalformedTrees)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        bool loads;
    };
    const std::vector<Case> cases = {
        {"empty body", {0, 0}, true},
        {"only the closing token", {0, 1, 1, 3, ';', 0}, true},
        {"no bytes", {}, false},
        {"short count", {0}, false},
        {"unknown type byte: child missing", {0, 2, 0, 1, 3, ';', 0}, false},
        {"text without its NUL", {0, 1, 1, 3, ';'}, false},
        {"identifier without its id", {0, 1, 1, 1, 0x27}, false},
        {"procedure of no children", {0, 2, 3, 0, 0, 1, 3, ';', 0}, false},
        {"block without braces", {0, 2, 3, 0, 6, 1, 0, 1, 1, 0x27, 0x11, 1, 3, '(', 0, 4, 0, 0, 1, 3, ')', 0,
                                  25, 0, 0, 1, 3, ';', 0},
         false},
        {"procedure named by a number", {0, 2, 3, 0, 6, 1, 0, 1, 4, 0x27, 0x11, 1, 3, '(', 0, 4, 0, 0, 1, 3, ')',
                                         0, 25, 0, 2, 1, 3, '{', 0, 1, 3, '}', 0, 1, 3, ';', 0},
         false},
        {"program nested in a program", {0, 2, 2, 0, 0, 1, 3, ';', 0}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(static_cast<bool>(LoadBytes(c.bytes)), c.loads) << c.what;
}

TEST(ScriptFormat, NestingDeeperThan256IsRefused)
{
    // Each inner block adds a statement and a block: the innermost block of
    // k inner blocks sits at depth 2 + 2k.
    auto nested = [](int k) {
        return "proc M() " + std::string(static_cast<size_t>(k), '{') + "{}" + std::string(static_cast<size_t>(k), '}') +
               " ;";
    };
    CScriptCompiler c;
    ASSERT_TRUE(c.Compile(nested(127))) << c.Error();
    std::vector<uint8_t> deepest = c.Bytes();
    EXPECT_TRUE(LoadBytes(deepest));
    EXPECT_FALSE(c.Compile(nested(128)));
    // One level more, spliced in by hand: the innermost empty block gets a
    // statement holding another.
    const std::vector<uint8_t> empty = {25, 0, 2, 1, 3, '{', 0, 1, 3, '}', 0};
    std::vector<uint8_t> deeper = {25, 0, 3, 1, 3, '{', 0, 6, 0, 1};
    deeper.insert(deeper.end(), empty.begin(), empty.end());
    deeper.insert(deeper.end(), {1, 3, '}', 0});
    auto at = std::search(deepest.begin(), deepest.end(), empty.begin(), empty.end());
    ASSERT_NE(at, deepest.end());
    const long pos = at - deepest.begin();
    deepest.erase(deepest.begin() + pos, deepest.begin() + pos + static_cast<long>(empty.size()));
    deepest.insert(deepest.begin() + pos, deeper.begin(), deeper.end());
    EXPECT_FALSE(LoadBytes(deepest));
}

TEST(ScriptCompiler, RefusesWhatTheFormatCannotHold)
{
    struct Case {
        const char* source;
        const char* error;
    };
    const std::vector<Case> cases = {
        {"proc A() {} proc A() {} ;", "Function 'A' in 1 is already defined"},
        {"proc M() {\n x = 1; } ;", "'x' in line 2 is not defined"},
        {"proc M() { int x; x = 65536; } ;", "number '65536' in line 1 is not a whole number from 0 to 65535"},
        {"proc M() { int x; x = 1.5; } ;", "number '1.5' in line 1 is not a whole number from 0 to 65535"},
        {"proc M() { int x; x = 1 } ;", "syntax error at '}' in line 1"},
        {"proc M() { string s; s = \"open ; } ;", "string in line 1 is not closed"},
        {"proc M() { } /* ;", "comment in line 1 is not closed"},
        {"proc M() { }", "syntax error at '' in line 1"},
        {"proc ShowText() { } ;", "Function 'ShowText' in 1 is already defined"},
    };
    for (const Case& k : cases) {
        CScriptCompiler c;
        EXPECT_FALSE(c.Compile(k.source)) << k.source;
        EXPECT_EQ(c.Error(), k.error) << k.source;
    }
}

}  // namespace
