// The script compiler: source text to the compiled tree the game loads.
//
//   program   = proc { proc } ";"
//   proc      = "proc" name "(" [name { "," name }] ")" block
//   block     = "{" { statement } "}"
//   statement = control | block | decl ";" | assign ";" | call ";"
//   control   = while | if | ("return" | "break" | "continue") ";"
//   decl      = ("int" | "string") name
//   assign    = name "=" expr
//   call      = "call" name "(" [expr { "," expr }] ")"
//   while     = "while" paren statement
//   if        = "if" paren statement ["else" statement]
//   expr      = compare [("&&" | "||") expr]          (no short-circuit)
//   compare   = add [("==" | "!=" | ">=" | "<=" | ">" | "<") compare]
//   add       = mul [("+" | "-") add]
//   mul       = unary [("*" | "/") mul]
//   unary     = number | paren | name | string | ("-" | "!" | "%") unary
//   paren     = "(" expr ")"
//
// Binary operators group to the right: a - b - c is a - (b - c). The last
// procedure is the one a script starts with. Names a script defines get ids
// from 10001; the native actions and system variables have fixed names
// (kBuiltinNames).
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CProgramNode;
class CScriptNode;

struct ScriptBuiltinName {
    const char* name;
    uint16_t id;
    const char* what;
};
extern const std::vector<ScriptBuiltinName> kBuiltinNames;

class CScriptCompiler {
public:
    CScriptCompiler();
    ~CScriptCompiler();

    // true when the source compiled; Bytes() then holds the compiled file
    // and Tree() the tree it was written from. false with Error() set.
    bool Compile(std::string_view source);
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    const CProgramNode* Tree() const { return m_tree.get(); }
    const std::string& Error() const { return m_error; }
    // The id the last compile gave a name the script defines; 0 for none.
    uint16_t IdOf(const std::string& name) const;

private:
    std::vector<uint8_t> m_bytes;
    std::unique_ptr<CProgramNode> m_tree;
    std::string m_error;
    std::map<std::string, uint16_t> m_ids;
};

// Compiles or throws std::runtime_error with the compiler's message (for
// code that builds test inputs).
std::vector<uint8_t> CompileScript(std::string_view source);

// A line per node, indented by depth: kind, count, and a token's type, id,
// number and text or a leaf's letter. Keyword texts are not shown (the
// compiled form does not keep them).
std::string DumpScriptTree(const CScriptNode& node);
// The deepest nesting of composites below the node.
int ScriptTreeDepth(const CScriptNode& node);
