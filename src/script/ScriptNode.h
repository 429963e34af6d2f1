// The nodes of a compiled script: the syntax tree the loader rebuilds from
// an archive entry and the interpreter walks one step per frame.
//
// File layout: the program's payload (u16 count, then the children), each
// child a type byte (the kind's code) and its kind's payload; words are
// high byte first. Composites carry a u16 count and their children; a token
// its token type and then a u16 symbol id (identifier), a u16 number
// (number), nothing (keyword) or a NUL-terminated text (anything else).
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/ListItem.h"

class CByteWriter;
class CDataStream;
class CExtraFunction;
class CScriptContext;
class CVariable;

// Type codes of the node kinds, as stored in the files.
enum ScriptNodeKind : uint8_t {
    kNodeToken = 1,
    kNodeProgram = 2,
    kNodeProc = 3,
    kNodeParamList = 4,
    kNodeType = 5,
    kNodeStatement = 6,
    kNodeDecl = 7,
    kNodeExpr = 8,
    kNodeLogicalOp = 9,
    kNodeCompare = 10,
    kNodeCompareOp = 11,
    kNodeAdd = 12,
    kNodeAddOp = 13,
    kNodeMul = 14,
    kNodeMulOp = 15,
    kNodeUnary = 16,
    kNodeParen = 17,
    kNodeCall = 18,
    kNodeArgList = 19,
    kNodeControl = 20,
    kNodeJump = 21,
    kNodeWhile = 22,
    kNodeIf = 23,
    kNodeAssign = 24,
    kNodeBlock = 25,
};

// The lexer's token classes.
enum ScriptTokenType : uint32_t {
    kTokenKeyword = 0,
    kTokenIdentifier = 1,
    kTokenString = 2,
    kTokenOperator = 3,
    kTokenNumber = 4,
    kTokenEnd = 5,
};

class CScriptNode : public CListItem {
public:
    explicit CScriptNode(uint8_t type) : m_type(type) {}
    ~CScriptNode() override = default;
    CScriptNode(const CScriptNode&) = delete;
    CScriptNode& operator=(const CScriptNode&) = delete;

    uint8_t GetTypeCode() const { return m_type; }
    CScriptNode* GetParent() const { return m_pParent; }
    void SetParent(CScriptNode* parent) { m_pParent = parent; }
    uint32_t IsValid() const { return m_valid; }
    void SetValid(uint32_t valid) { m_valid = valid; }

    virtual CScriptNode* ReplaceParent(CScriptNode* node);
    // Writes the node in the file layout, from what it holds.
    virtual void Save(CByteWriter& out) const = 0;
    virtual uint32_t GetTokenType() const { return kTokenEnd; }
    virtual uint16_t GetSymbolId() const { return 0; }
    virtual uint16_t GetNumber() const { return 0; }
    virtual const char* GetText() const { return nullptr; }
    virtual CScriptNode* GetChild(int) const { return nullptr; }
    virtual int GetChildCount() const { return 0; }

    // The walk: Enter starts the node, Step continues it; each returns the
    // node the next step runs (null: the script has ended).
    virtual CScriptNode* Enter(CScriptContext& ctx);
    virtual CScriptNode* Step(CScriptContext& ctx);
    virtual int32_t EvalInt(CScriptContext& ctx);
    virtual std::string EvalString(CScriptContext& ctx);
    virtual uint32_t GetValueType(CScriptContext& ctx);
    virtual void EvalArgs(CScriptContext&, CVariable&) {}
    virtual void BindParams(CScriptContext&) {}

private:
    uint32_t m_valid = 0;
    uint8_t m_type;
    CScriptNode* m_pParent = nullptr;
};

// The owned children of a composite, in order.
class CNodeList {
public:
    // A null node is not added.
    void Add(std::unique_ptr<CScriptNode> node);
    int Count() const { return static_cast<int>(m_nodes.size()); }
    // The n-th child from 0, or null past the end.
    CScriptNode* Nth(int n) const;
    std::unique_ptr<CScriptNode> TakeFirst();
    void DeleteAll() { m_nodes.clear(); }

private:
    std::vector<std::unique_ptr<CScriptNode>> m_nodes;
};

class CCompositeNode : public CScriptNode {
public:
    explicit CCompositeNode(uint8_t type) : CScriptNode(type) {}

    // Appends a child and makes this node its parent; the count follows.
    void AddChild(std::unique_ptr<CScriptNode> child);
    void Save(CByteWriter& out) const override;
    CScriptNode* GetChild(int n) const override { return m_children.Nth(n); }
    int GetChildCount() const override { return m_children.Count(); }
    // The count read from the file (children whose type byte was unknown
    // are counted but not held).
    int32_t GetCount() const { return m_count; }
    void SetCount(int32_t count) { m_count = count; }

    // A node with one child hands every evaluation to it.
    int32_t EvalInt(CScriptContext& ctx) override;
    std::string EvalString(CScriptContext& ctx) override;
    uint32_t GetValueType(CScriptContext& ctx) override;

protected:
    void SaveChildren(CByteWriter& out) const;
    // The operator text of the operator node at position 1 ("" when none).
    const char* OperatorText() const;

    CNodeList m_children;
    int32_t m_count = 0;
    int32_t m_position = 0;
};

class CTokenNode : public CScriptNode {
public:
    CTokenNode() : CScriptNode(kNodeToken) {}
    static std::unique_ptr<CTokenNode> Keyword();
    static std::unique_ptr<CTokenNode> Identifier(uint16_t id);
    static std::unique_ptr<CTokenNode> Number(uint16_t value);
    static std::unique_ptr<CTokenNode> Text(uint32_t tokenType, std::string text);

    void Save(CByteWriter& out) const override;
    uint32_t GetTokenType() const override { return m_tokenType; }
    uint16_t GetSymbolId() const override { return m_symbolId; }
    uint16_t GetNumber() const override { return m_number; }
    const char* GetText() const override { return m_text.c_str(); }

    int32_t EvalInt(CScriptContext& ctx) override;
    std::string EvalString(CScriptContext& ctx) override;
    uint32_t GetValueType(CScriptContext& ctx) override;

    uint32_t m_tokenType = kTokenKeyword;
    uint16_t m_symbolId = 0;
    uint16_t m_number = 0;
    std::string m_text;
};

// The one-letter leaves: a declaration's type ('s' or 'i') and a jump
// ('r', 'b' or 'c').
class CLetterNode : public CScriptNode {
public:
    CLetterNode(uint8_t type, uint32_t letter) : CScriptNode(type), m_letter(letter) {}
    void Save(CByteWriter& out) const override;
    uint32_t GetLetter() const { return m_letter; }
    void SetLetter(uint32_t letter) { m_letter = letter; }

protected:
    uint32_t m_letter;
};

class CTypeNode : public CLetterNode {
public:
    explicit CTypeNode(uint32_t letter) : CLetterNode(kNodeType, letter) {}
};

class CJumpNode : public CLetterNode {
public:
    explicit CJumpNode(uint32_t letter) : CLetterNode(kNodeJump, letter) {}
    CScriptNode* Enter(CScriptContext& ctx) override;
};

class CProcNode;

// What a native action reads: the variable table holding the call's
// arguments, in argument order, and the run context of the calling script.
struct ScriptArgBlock {
    const CScriptContext* script = nullptr;
    CVariable* variables = nullptr;
};

class CProgramNode : public CCompositeNode {
public:
    // Nesting of composites deeper than this refuses the file.
    static constexpr int kMaxDepth = 256;

    CProgramNode() : CCompositeNode(kNodeProgram) { m_position = -1; }
    // Reads a whole compiled script; null when the bytes end early, nest
    // too deeply, or a node lacks the children its kind needs.
    static std::unique_ptr<CProgramNode> Load(CDataStream& stream);

    void Save(CByteWriter& out) const override;
    CScriptNode* ReplaceParent(CScriptNode* node) override;
    CScriptNode* Enter(CScriptContext& ctx) override;
    CScriptNode* Step(CScriptContext& ctx) override;

    // The first procedure named by the id, or null.
    CProcNode* FindProc(uint32_t id) const;

private:
    int FindProcIndex(uint32_t id) const;

    CExtraFunction* m_pAction = nullptr;
    ScriptArgBlock m_args;
    uint32_t m_tick = 0;
};

class CProcNode : public CCompositeNode {
public:
    CProcNode() : CCompositeNode(kNodeProc) {}
    CScriptNode* Enter(CScriptContext& ctx) override;
    CScriptNode* Step(CScriptContext& ctx) override;
    uint16_t GetProcId() const;
    // A procedure runs at most once at a time: its block's position lives
    // in the tree.
    bool IsRunning() const { return m_running; }

private:
    bool m_running = false;
};

class CParamListNode : public CCompositeNode {
public:
    CParamListNode() : CCompositeNode(kNodeParamList) {}
    void BindParams(CScriptContext& ctx) override;
};

// Statement and control nodes: they run their first child.
class CStatementNode : public CCompositeNode {
public:
    explicit CStatementNode(uint8_t type = kNodeStatement) : CCompositeNode(type) {}
    CScriptNode* Enter(CScriptContext& ctx) override;
};

class CControlNode : public CStatementNode {
public:
    CControlNode() : CStatementNode(kNodeControl) {}
};

class CDeclNode : public CCompositeNode {
public:
    CDeclNode() : CCompositeNode(kNodeDecl) {}
    CScriptNode* Step(CScriptContext& ctx) override;
};

// The binary expression kinds: left operand, operator node, right operand
// (a node of the same kind, so a - b - c is a - (b - c)), or one child that
// takes every evaluation. With three children the value is an int, and its
// text the decimal one.
class CBinaryNode : public CCompositeNode {
public:
    explicit CBinaryNode(uint8_t type) : CCompositeNode(type) {}
    // Left operand first, then the right one, then the operator.
    int32_t EvalInt(CScriptContext& ctx) override;
    std::string EvalString(CScriptContext& ctx) override;
    uint32_t GetValueType(CScriptContext& ctx) override;

protected:
    bool IsBinary() const { return GetChildCount() >= 3; }
    virtual int32_t Combine(int32_t l, int32_t r) const = 0;
};

// "&&" and "||", both operands always evaluated.
class CExprNode : public CBinaryNode {
public:
    CExprNode() : CBinaryNode(kNodeExpr) {}

protected:
    int32_t Combine(int32_t l, int32_t r) const override;
};

class CCompareNode : public CBinaryNode {
public:
    CCompareNode() : CBinaryNode(kNodeCompare) {}

protected:
    int32_t Combine(int32_t l, int32_t r) const override;
};

// "+" takes its left operand's type: two strings concatenate.
class CAddNode : public CBinaryNode {
public:
    CAddNode() : CBinaryNode(kNodeAdd) {}
    std::string EvalString(CScriptContext& ctx) override;
    uint32_t GetValueType(CScriptContext& ctx) override;

protected:
    int32_t Combine(int32_t l, int32_t r) const override;
};

class CMulNode : public CBinaryNode {
public:
    CMulNode() : CBinaryNode(kNodeMul) {}

protected:
    int32_t Combine(int32_t l, int32_t r) const override;
};

// A value, or a prefix "-", "!" or "%" (decimal text) and its operand.
class CUnaryNode : public CCompositeNode {
public:
    CUnaryNode() : CCompositeNode(kNodeUnary) {}
    int32_t EvalInt(CScriptContext& ctx) override;
    std::string EvalString(CScriptContext& ctx) override;
    uint32_t GetValueType(CScriptContext& ctx) override;
};

class CParenNode : public CCompositeNode {
public:
    CParenNode() : CCompositeNode(kNodeParen) {}
    int32_t EvalInt(CScriptContext& ctx) override;
    std::string EvalString(CScriptContext& ctx) override;
    uint32_t GetValueType(CScriptContext& ctx) override;
};

class CCallNode : public CCompositeNode {
public:
    CCallNode();
    ~CCallNode() override;
    CScriptNode* Enter(CScriptContext& ctx) override;
    CScriptNode* Step(CScriptContext& ctx) override;

private:
    // Made on the node's first call.
    std::unique_ptr<CVariable> m_pArgs;
    CVariable* m_pSavedVariables = nullptr;  // null while idle
    CScriptNode* m_pSavedParent = nullptr;
};

class CArgListNode : public CCompositeNode {
public:
    CArgListNode() : CCompositeNode(kNodeArgList) {}
    void EvalArgs(CScriptContext& ctx, CVariable& table) override;
};

class CWhileNode : public CCompositeNode {
public:
    CWhileNode() : CCompositeNode(kNodeWhile) {}
    CScriptNode* Step(CScriptContext& ctx) override;
};

class CIfNode : public CCompositeNode {
public:
    CIfNode() : CCompositeNode(kNodeIf) {}
    CScriptNode* Enter(CScriptContext& ctx) override;
};

class CAssignNode : public CCompositeNode {
public:
    CAssignNode() : CCompositeNode(kNodeAssign) {}
    CScriptNode* Step(CScriptContext& ctx) override;
};

class CBlockNode : public CCompositeNode {
public:
    CBlockNode() : CCompositeNode(kNodeBlock) {}
    CScriptNode* Enter(CScriptContext& ctx) override;
    CScriptNode* Step(CScriptContext& ctx) override;
};

// An empty node of a kind (codes 1 to 25; null for any other), as the
// loader and the compiler create them. Tokens come out as keywords, type
// and jump nodes with letter 0.
std::unique_ptr<CScriptNode> CreateScriptNode(int type);
// Whether each node of the tree holds the children its kind's positions
// need, so the interpreter can take them as given.
bool CheckScriptShape(const CScriptNode& node);
