#include "scriptc/ScriptCompiler.h"

#include <cstdio>
#include <map>
#include <set>
#include <stdexcept>

#include "core/ByteWriter.h"
#include "core/MemStream.h"
#include "core/SymbolTable.h"
#include "script/ScriptNode.h"
#include "scriptc/ScriptLexer.h"

const std::vector<ScriptBuiltinName> kBuiltinNames = {
    {"ShowText", 1, "draws its arguments at (100, 150) for 11 frames"},
    {"Fade", 2, "starts the palette fade of length 100, ends with it"},
    {"FadeToBlack", 3, "fades the palette to black over 100, ends with it"},
    {"Nothing", 4, "takes one int, does nothing"},
    {"PushCommand", 17, "queues a UI command id"},
    {"Dialogue", 18, "shows the text in the message box ($$id$$: the character name), waits until read"},
    {"HasItem", 19, "sys_ListFlag = 1 when the player holds the item id, else 0"},
    {"GiveItem", 20, "adds the item id unless the list is full"},
    {"TakeItem", 21, "removes the item id"},
    {"StampTimer", 22, "sys_Elapsed counts from now"},
    {"StartScript", 23, "starts the named script in a slot of its own"},
    {"SuspendCommands", 24, "nonzero: the UI discards every command"},
    {"sys_ScriptNumber", 50001, "the player's script number (written to the server)"},
    {"sys_ListFlag", 50002, "the result of HasItem"},
    {"sys_Elapsed", 50003, "game time since StampTimer (writing sets the HP)"},
    {"sys_MapId", 50004, "the current map id + 1 (writing sets the HP)"},
    {"sys_TileX", 50005, "the player's tile column (writing sets the HP)"},
    {"sys_TileY", 50006, "the player's tile row (writing sets the HP)"},
    {"sys_Random", 50007, "a new number 0..99 on every read (writing sets the HP)"},
    {"sys_Level", 50008, "the level (writing sets the HP)"},
    {"sys_Hp", 50009, "the HP"},
    {"sys_Mp", 50010, "write only: the MP"},
    {"sys_AddMoney", 50011, "write only: added to the money"},
    {"sys_AddExperience", 50012, "write only: added to the experience"},
    {"sys_AddRemain", 50013, "write only: added to the free parameter points"},
};

namespace {

using Node = std::unique_ptr<CScriptNode>;

class CParser {
public:
    explicit CParser(std::vector<CScriptToken> tokens) : m_tokens(std::move(tokens))
    {
        for (const ScriptBuiltinName& b : kBuiltinNames) {
            m_symbols.Add(b.name, b.id);
            m_procs.insert(b.name);
        }
    }

    std::unique_ptr<CProgramNode> Program()
    {
        auto program = std::make_unique<CProgramNode>();
        while (Node proc = Proc())
            program->AddChild(std::move(proc));
        if (m_error.empty() &&
            (program->GetChildCount() == 0 || !AcceptOp(*program, ";") || Peek().type != kTokenEnd))
            SyntaxError();
        if (!m_error.empty() || !Resolve(*program))
            return nullptr;
        return program;
    }

    const std::string& Error() const { return m_error; }
    const std::map<std::string, uint16_t>& Defined() const { return m_defined; }

private:
    const CScriptToken& Peek() const { return m_tokens[std::min(m_pos, m_tokens.size() - 1)]; }

    bool Is(uint32_t type, const char* text) const { return Peek().type == type && Peek().text == text; }

    void Advance()
    {
        if (m_pos + 1 < m_tokens.size())
            ++m_pos;
        m_furthest = std::max(m_furthest, m_pos);
    }

    std::unique_ptr<CTokenNode> TakeToken()
    {
        const CScriptToken& t = Peek();
        std::unique_ptr<CTokenNode> node;
        switch (t.type) {
        case kTokenKeyword: node = CTokenNode::Keyword(); break;
        case kTokenNumber: node = CTokenNode::Number(NumberValue(t)); break;
        default: node = CTokenNode::Text(t.type, t.text); break;  // identifiers keep their name until resolved
        }
        m_lines[node.get()] = t.line;
        Advance();
        return node;
    }

    bool AcceptOp(CCompositeNode& n, const char* text)
    {
        if (!Is(kTokenOperator, text))
            return false;
        n.AddChild(TakeToken());
        return true;
    }

    bool AcceptKeyword(CCompositeNode& n, const char* text)
    {
        if (!Is(kTokenKeyword, text))
            return false;
        n.AddChild(TakeToken());
        return true;
    }

    // An identifier; a defining one enters the symbol table.
    bool AcceptName(CCompositeNode& n, bool defines = false)
    {
        if (Peek().type != kTokenIdentifier)
            return false;
        if (defines) {
            m_symbols.Add(Peek().text.c_str());
            m_defined[Peek().text] = m_symbols.FindId(Peek().text.c_str());
        }
        n.AddChild(TakeToken());
        return true;
    }

    uint16_t NumberValue(const CScriptToken& t)
    {
        unsigned long value = 0;
        bool ok = true;
        if (t.text.size() > 2 && t.text[1] == 'x')
            value = std::strtoul(t.text.c_str() + 2, nullptr, 16);
        else if (t.text.find('.') != std::string::npos)
            ok = false;
        else
            value = std::strtoul(t.text.c_str(), nullptr, 10);
        ok = ok && t.text != "0x" && t.text.size() <= 8 && value <= 0xFFFF;
        if (!ok && m_error.empty())
            m_error = Message("number '%s' in line %u is not a whole number from 0 to 65535", t.text, t.line);
        return static_cast<uint16_t>(value);
    }

    template <class T>
    std::unique_ptr<T> Fail(size_t start)
    {
        m_pos = start;
        return nullptr;
    }

    Node Proc()
    {
        const size_t start = m_pos;
        auto n = std::make_unique<CProcNode>();
        if (!AcceptKeyword(*n, "proc"))
            return nullptr;
        const CScriptToken name = Peek();
        if (name.type == kTokenIdentifier && !m_procs.insert(name.text).second) {
            m_error = Message("Function '%s' in %u is already defined", name.text, name.line);
            return nullptr;
        }
        if (!AcceptName(*n, true) || !AcceptOp(*n, "("))
            return Fail<CProcNode>(start);
        auto params = std::make_unique<CParamListNode>();
        if (AcceptName(*params, true))
            while (AcceptOp(*params, ","))
                if (!AcceptName(*params, true))
                    return Fail<CProcNode>(start);
        n->AddChild(std::move(params));
        if (!AcceptOp(*n, ")"))
            return Fail<CProcNode>(start);
        Node block = Block();
        if (!block)
            return Fail<CProcNode>(start);
        n->AddChild(std::move(block));
        return n;
    }

    Node Block()
    {
        const size_t start = m_pos;
        auto n = std::make_unique<CBlockNode>();
        if (!AcceptOp(*n, "{"))
            return nullptr;
        while (Node s = Statement())
            n->AddChild(std::move(s));
        if (!AcceptOp(*n, "}"))
            return Fail<CBlockNode>(start);
        return n;
    }

    Node Statement()
    {
        auto n = std::make_unique<CStatementNode>();
        if (Node c = Control()) {
            n->AddChild(std::move(c));
            return n;
        }
        if (Node b = Block()) {
            n->AddChild(std::move(b));
            return n;
        }
        for (Node (CParser::*rule)() : {&CParser::Decl, &CParser::Assign, &CParser::Call}) {
            const size_t start = m_pos;
            Node s = (this->*rule)();
            if (s && Is(kTokenOperator, ";")) {
                n->AddChild(std::move(s));
                AcceptOp(*n, ";");
                return n;
            }
            m_pos = start;
        }
        return nullptr;
    }

    Node Control()
    {
        auto n = std::make_unique<CControlNode>();
        for (Node (CParser::*rule)() : {&CParser::While, &CParser::If}) {
            if (Node c = (this->*rule)()) {
                n->AddChild(std::move(c));
                return n;
            }
        }
        uint32_t letter = 0;
        if (Is(kTokenKeyword, "return"))
            letter = 'r';
        else if (Is(kTokenIdentifier, "break"))
            letter = 'b';
        else if (Is(kTokenIdentifier, "continue"))
            letter = 'c';
        if (letter == 0)
            return nullptr;
        const size_t start = m_pos;
        Advance();
        n->AddChild(std::make_unique<CJumpNode>(letter));
        if (!AcceptOp(*n, ";"))
            return Fail<CControlNode>(start);
        return n;
    }

    Node Decl()
    {
        const size_t start = m_pos;
        auto n = std::make_unique<CDeclNode>();
        const bool text = Is(kTokenKeyword, "string");
        if (!text && !Is(kTokenKeyword, "int"))
            return nullptr;
        Advance();
        n->AddChild(std::make_unique<CTypeNode>(text ? 's' : 'i'));
        if (!AcceptName(*n, true))
            return Fail<CDeclNode>(start);
        return n;
    }

    Node Assign()
    {
        const size_t start = m_pos;
        auto n = std::make_unique<CAssignNode>();
        if (!AcceptName(*n) || !AcceptOp(*n, "="))
            return Fail<CAssignNode>(start);
        Node e = Expr();
        if (!e)
            return Fail<CAssignNode>(start);
        n->AddChild(std::move(e));
        return n;
    }

    Node Call()
    {
        const size_t start = m_pos;
        auto n = std::make_unique<CCallNode>();
        if (!AcceptKeyword(*n, "call") || !AcceptName(*n) || !AcceptOp(*n, "("))
            return Fail<CCallNode>(start);
        auto args = std::make_unique<CArgListNode>();
        if (!Is(kTokenOperator, ")")) {
            for (;;) {
                Node e = Expr();
                if (!e)
                    return Fail<CCallNode>(start);
                args->AddChild(std::move(e));
                if (!AcceptOp(*args, ","))
                    break;
            }
        }
        n->AddChild(std::move(args));
        if (!AcceptOp(*n, ")"))
            return Fail<CCallNode>(start);
        return n;
    }

    // keyword, parenthesis, statement
    template <class T>
    std::unique_ptr<T> Loop(const char* keyword)
    {
        const size_t start = m_pos;
        auto n = std::make_unique<T>();
        if (!AcceptKeyword(*n, keyword))
            return nullptr;
        Node cond = Paren();
        Node body = cond ? Statement() : nullptr;
        if (!body)
            return Fail<T>(start);
        n->AddChild(std::move(cond));
        n->AddChild(std::move(body));
        return n;
    }

    Node While() { return Loop<CWhileNode>("while"); }

    Node If()
    {
        std::unique_ptr<CIfNode> n = Loop<CIfNode>("if");
        if (!n)
            return nullptr;
        const size_t start = m_pos;
        if (AcceptKeyword(*n, "else")) {
            Node other = Statement();
            if (!other) {
                m_pos = start;
                return nullptr;
            }
            n->AddChild(std::move(other));
        }
        return n;
    }

    Node Paren()
    {
        const size_t start = m_pos;
        auto n = std::make_unique<CParenNode>();
        if (!AcceptOp(*n, "("))
            return nullptr;
        Node e = Expr();
        if (!e)
            return Fail<CParenNode>(start);
        n->AddChild(std::move(e));
        if (!AcceptOp(*n, ")"))
            return Fail<CParenNode>(start);
        return n;
    }

    // operand [operator self], the operator token wrapped in its own node.
    template <class T>
    std::unique_ptr<T> Binary(Node (CParser::*operand)(), uint8_t opKind, std::initializer_list<const char*> ops)
    {
        Node left = (this->*operand)();
        if (!left)
            return nullptr;
        auto n = std::make_unique<T>();
        n->AddChild(std::move(left));
        for (const char* op : ops) {
            if (!Is(kTokenOperator, op))
                continue;
            const size_t start = m_pos;
            auto opNode = std::make_unique<CCompositeNode>(opKind);
            AcceptOp(*opNode, op);
            Node right = Binary<T>(operand, opKind, ops);
            if (!right) {
                m_pos = start;
                break;
            }
            n->AddChild(std::move(opNode));
            n->AddChild(std::move(right));
            break;
        }
        return n;
    }

    Node Expr() { return Binary<CExprNode>(&CParser::Compare, kNodeLogicalOp, {"&&", "||"}); }
    Node Compare() { return Binary<CCompareNode>(&CParser::Add, kNodeCompareOp, {"==", "!=", ">=", "<=", ">", "<"}); }
    Node Add() { return Binary<CAddNode>(&CParser::Mul, kNodeAddOp, {"+", "-"}); }
    Node Mul() { return Binary<CMulNode>(&CParser::Unary, kNodeMulOp, {"*", "/"}); }

    Node Unary()
    {
        auto n = std::make_unique<CUnaryNode>();
        const uint32_t type = Peek().type;
        if (type == kTokenNumber || type == kTokenIdentifier || type == kTokenString) {
            n->AddChild(TakeToken());
            return n;
        }
        if (Node p = Paren()) {
            n->AddChild(std::move(p));
            return n;
        }
        const size_t start = m_pos;
        if (AcceptOp(*n, "-") || AcceptOp(*n, "!") || AcceptOp(*n, "%")) {
            if (Node operand = Unary()) {
                n->AddChild(std::move(operand));
                return n;
            }
        }
        m_pos = start;
        return nullptr;
    }

    // Identifiers take their ids once every name is known.
    bool Resolve(CScriptNode& node)
    {
        if (node.GetTypeCode() == kNodeToken && node.GetTokenType() == kTokenIdentifier) {
            auto& token = static_cast<CTokenNode&>(node);
            const uint16_t id = m_symbols.FindId(token.m_text.c_str());
            if (id == 0) {
                m_error = Message("'%s' in line %u is not defined", token.m_text, m_lines[&node]);
                return false;
            }
            token.m_symbolId = id;
            token.m_text.clear();
        }
        for (int i = 0; i < node.GetChildCount(); ++i)
            if (!Resolve(*node.GetChild(i)))
                return false;
        return true;
    }

    void SyntaxError()
    {
        if (!m_error.empty())
            return;
        const CScriptToken& t = m_tokens[std::min(m_furthest, m_tokens.size() - 1)];
        m_error = Message("syntax error at '%s' in line %u", t.text, t.line);
    }

    static std::string Message(const char* format, const std::string& text, uint32_t line)
    {
        char buf[256];
        std::snprintf(buf, sizeof buf, format, text.substr(0, 100).c_str(), line);
        return buf;
    }

    std::vector<CScriptToken> m_tokens;
    size_t m_pos = 0;
    size_t m_furthest = 0;
    CSymbolTable m_symbols;
    std::set<std::string> m_procs;
    std::map<const CScriptNode*, uint32_t> m_lines;
    std::map<std::string, uint16_t> m_defined;
    std::string m_error;
};

}  // namespace

CScriptCompiler::CScriptCompiler() = default;
CScriptCompiler::~CScriptCompiler() = default;

bool CScriptCompiler::Compile(std::string_view source)
{
    m_bytes.clear();
    m_tree.reset();
    m_error.clear();
    m_ids.clear();
    std::vector<uint8_t> text(source.begin(), source.end());
    CMemStream stream(text.data(), text.size());
    CScriptLexer lexer(stream);
    std::vector<CScriptToken> tokens;
    for (;;) {
        tokens.push_back(lexer.ScanToken());
        if (tokens.back().type == kTokenEnd)
            break;
    }
    if (!lexer.Error().empty()) {
        m_error = lexer.Error();
        return false;
    }
    CParser parser(std::move(tokens));
    m_tree = parser.Program();
    m_ids = parser.Defined();
    if (!m_tree) {
        m_error = parser.Error();
        return false;
    }
    if (ScriptTreeDepth(*m_tree) > CProgramNode::kMaxDepth) {
        m_error = "the script nests too deeply";
        m_tree.reset();
        return false;
    }
    CByteWriter out;
    m_tree->Save(out);
    m_bytes = out.Buffer();
    return true;
}

std::vector<uint8_t> CompileScript(std::string_view source)
{
    CScriptCompiler c;
    if (!c.Compile(source))
        throw std::runtime_error(c.Error());
    return c.Bytes();
}

namespace {

void Dump(const CScriptNode& node, int depth, std::string& out)
{
    out.append(static_cast<size_t>(depth) * 2, ' ');
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d", node.GetTypeCode());
    out += buf;
    if (node.GetTypeCode() == kNodeToken) {
        std::snprintf(buf, sizeof buf, " type %u id %u number %u", node.GetTokenType(), node.GetSymbolId(),
                      node.GetNumber());
        out += buf;
        const uint32_t type = node.GetTokenType();
        if (type != kTokenKeyword && type != kTokenIdentifier && type != kTokenNumber && node.GetText())
            out += std::string(" \"") + node.GetText() + "\"";
    } else if (const auto* leaf = dynamic_cast<const CLetterNode*>(&node)) {
        out += " '";
        out += static_cast<char>(leaf->GetLetter());
        out += "'";
    } else {
        std::snprintf(buf, sizeof buf, " count %d", node.GetChildCount());
        out += buf;
    }
    out += '\n';
    for (int i = 0; i < node.GetChildCount(); ++i)
        Dump(*node.GetChild(i), depth + 1, out);
}

}  // namespace

std::string DumpScriptTree(const CScriptNode& node)
{
    std::string out;
    Dump(node, 0, out);
    return out;
}

int ScriptTreeDepth(const CScriptNode& node)
{
    // Composites below the node, counted the way the loader counts them.
    int deepest = 0;
    for (int i = 0; i < node.GetChildCount(); ++i) {
        const CScriptNode& child = *node.GetChild(i);
        if (dynamic_cast<const CCompositeNode*>(&child))
            deepest = std::max(deepest, ScriptTreeDepth(child) + 1);
    }
    return deepest;
}

uint16_t CScriptCompiler::IdOf(const std::string& name) const
{
    auto it = m_ids.find(name);
    return it == m_ids.end() ? 0 : it->second;
}
