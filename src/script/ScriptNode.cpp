#include "script/ScriptNode.h"

#include <initializer_list>

#include "core/ByteWriter.h"
#include "core/DataStream.h"
#include "script/Variable.h"

// ---- the list of children -------------------------------------------------

void CNodeList::Add(std::unique_ptr<CScriptNode> node)
{
    if (node)
        m_nodes.push_back(std::move(node));
}

CScriptNode* CNodeList::Nth(int n) const
{
    if (n < 0 || n >= Count())
        return nullptr;
    return m_nodes[static_cast<size_t>(n)].get();
}

std::unique_ptr<CScriptNode> CNodeList::TakeFirst()
{
    if (m_nodes.empty())
        return nullptr;
    std::unique_ptr<CScriptNode> first = std::move(m_nodes.front());
    m_nodes.erase(m_nodes.begin());
    return first;
}

// ---- building and writing -------------------------------------------------

CScriptNode* CScriptNode::ReplaceParent(CScriptNode*) { return m_pParent; }

void CCompositeNode::AddChild(std::unique_ptr<CScriptNode> child)
{
    if (!child)
        return;
    child->SetParent(this);
    m_children.Add(std::move(child));
    m_count = m_children.Count();
}

void CCompositeNode::SaveChildren(CByteWriter& out) const
{
    out.U16BE(static_cast<uint32_t>(m_children.Count()));
    for (int i = 0; i < m_children.Count(); ++i)
        m_children.Nth(i)->Save(out);
}

void CCompositeNode::Save(CByteWriter& out) const
{
    out.U8(GetTypeCode());
    SaveChildren(out);
}

void CProgramNode::Save(CByteWriter& out) const { SaveChildren(out); }

std::unique_ptr<CTokenNode> CTokenNode::Keyword() { return std::make_unique<CTokenNode>(); }

std::unique_ptr<CTokenNode> CTokenNode::Identifier(uint16_t id)
{
    auto t = std::make_unique<CTokenNode>();
    t->m_tokenType = kTokenIdentifier;
    t->m_symbolId = id;
    return t;
}

std::unique_ptr<CTokenNode> CTokenNode::Number(uint16_t value)
{
    auto t = std::make_unique<CTokenNode>();
    t->m_tokenType = kTokenNumber;
    t->m_number = value;
    return t;
}

std::unique_ptr<CTokenNode> CTokenNode::Text(uint32_t tokenType, std::string text)
{
    auto t = std::make_unique<CTokenNode>();
    t->m_tokenType = tokenType;
    t->m_text = std::move(text);
    return t;
}

void CTokenNode::Save(CByteWriter& out) const
{
    out.U8(kNodeToken).U8(m_tokenType);
    switch (m_tokenType) {
    case kTokenKeyword: break;
    case kTokenIdentifier: out.U16BE(m_symbolId); break;
    case kTokenNumber: out.U16BE(m_number); break;
    default: out.Bytes(m_text.data(), m_text.size()).U8(0); break;
    }
}

void CLetterNode::Save(CByteWriter& out) const { out.U8(GetTypeCode()).U8(m_letter); }

std::unique_ptr<CScriptNode> CreateScriptNode(int type)
{
    switch (type) {
    case kNodeToken: return std::make_unique<CTokenNode>();
    case kNodeProgram: return std::make_unique<CProgramNode>();
    case kNodeProc: return std::make_unique<CProcNode>();
    case kNodeParamList: return std::make_unique<CParamListNode>();
    case kNodeType: return std::make_unique<CTypeNode>(0);
    case kNodeStatement: return std::make_unique<CStatementNode>();
    case kNodeDecl: return std::make_unique<CDeclNode>();
    case kNodeExpr: return std::make_unique<CExprNode>();
    case kNodeCompare: return std::make_unique<CCompareNode>();
    case kNodeAdd: return std::make_unique<CAddNode>();
    case kNodeMul: return std::make_unique<CMulNode>();
    case kNodeUnary: return std::make_unique<CUnaryNode>();
    case kNodeParen: return std::make_unique<CParenNode>();
    case kNodeCall: return std::make_unique<CCallNode>();
    case kNodeArgList: return std::make_unique<CArgListNode>();
    case kNodeControl: return std::make_unique<CControlNode>();
    case kNodeJump: return std::make_unique<CJumpNode>(0);
    case kNodeWhile: return std::make_unique<CWhileNode>();
    case kNodeIf: return std::make_unique<CIfNode>();
    case kNodeAssign: return std::make_unique<CAssignNode>();
    case kNodeBlock: return std::make_unique<CBlockNode>();
    case kNodeLogicalOp:
    case kNodeCompareOp:
    case kNodeAddOp:
    case kNodeMulOp: return std::make_unique<CCompositeNode>(static_cast<uint8_t>(type));
    default: return nullptr;
    }
}

// ---- loading --------------------------------------------------------------

namespace {

// Reads the file layout; any end of the stream fails the whole load.
class CScriptReader {
public:
    explicit CScriptReader(CDataStream& stream) : m_stream(stream) {}

    bool ReadComposite(CCompositeNode& node, int depth)
    {
        if (depth > CProgramNode::kMaxDepth)
            return false;
        node.SetValid(1);
        const int count = ReadWord();
        if (count < 0)
            return false;
        for (int i = 0; i < count; ++i) {
            const int type = m_stream.GetByte();
            if (type < 0)
                return false;
            std::unique_ptr<CScriptNode> child = CreateScriptNode(type);
            if (!child) {
                node.SetValid(0);
                continue;
            }
            if (!ReadPayload(*child, depth + 1))
                return false;
            node.AddChild(std::move(child));
        }
        node.SetCount(count);
        return true;
    }

private:
    int ReadWord()
    {
        const int hi = m_stream.GetByte();
        const int lo = hi < 0 ? -1 : m_stream.GetByte();
        return lo < 0 ? -1 : (hi << 8) | lo;
    }

    bool ReadPayload(CScriptNode& node, int depth)
    {
        switch (node.GetTypeCode()) {
        case kNodeToken: return ReadToken(static_cast<CTokenNode&>(node));
        case kNodeType:
        case kNodeJump: {
            const int letter = m_stream.GetByte();
            if (letter < 0)
                return false;
            static_cast<CLetterNode&>(node).SetLetter(static_cast<uint32_t>(letter));
            return true;
        }
        default: return ReadComposite(static_cast<CCompositeNode&>(node), depth);
        }
    }

    bool ReadToken(CTokenNode& token)
    {
        const int type = m_stream.GetByte();
        if (type < 0)
            return false;
        token.m_tokenType = static_cast<uint32_t>(type);
        if (type == kTokenKeyword)
            return true;
        if (type == kTokenIdentifier || type == kTokenNumber) {
            const int word = ReadWord();
            if (word < 0)
                return false;
            (type == kTokenIdentifier ? token.m_symbolId : token.m_number) = static_cast<uint16_t>(word);
            return true;
        }
        for (;;) {
            const int c = m_stream.GetByte();
            if (c < 0)
                return false;
            if (c == 0)
                return true;
            token.m_text.push_back(static_cast<char>(c));
        }
    }

    CDataStream& m_stream;
};

// ---- the shapes the interpreter relies on ---------------------------------

bool KindAt(const CScriptNode& n, int i, uint8_t kind)
{
    const CScriptNode* c = n.GetChild(i);
    return c && c->GetTypeCode() == kind;
}

bool IdentAt(const CScriptNode& n, int i)
{
    return KindAt(n, i, kNodeToken) && n.GetChild(i)->GetTokenType() == kTokenIdentifier;
}

// The children's kinds are exactly these.
bool Kinds(const CScriptNode& n, std::initializer_list<uint8_t> kinds)
{
    if (n.GetChildCount() != static_cast<int>(kinds.size()))
        return false;
    int i = 0;
    for (uint8_t k : kinds)
        if (!KindAt(n, i++, k))
            return false;
    return true;
}

// Items of one kind at the even positions, tokens between (may be empty).
bool SeparatedList(const CScriptNode& n, uint8_t item)
{
    const int count = n.GetChildCount();
    if (count > 0 && count % 2 == 0)
        return false;
    for (int i = 0; i < count; ++i)
        if (!KindAt(n, i, i % 2 == 0 ? item : uint8_t{kNodeToken}))
            return false;
    return true;
}

// One operand, or operand, operator node holding one token, and a node of
// the same kind on the right.
bool Binary(const CScriptNode& n, uint8_t operand, uint8_t op)
{
    if (Kinds(n, {operand}))
        return true;
    return Kinds(n, {operand, op, n.GetTypeCode()}) && Kinds(*n.GetChild(1), {kNodeToken});
}

bool OwnShape(const CScriptNode& n)
{
    const int count = n.GetChildCount();
    switch (n.GetTypeCode()) {
    case kNodeProgram:
        // Procedures, then the closing token.
        for (int i = 0; i + 1 < count; ++i)
            if (!KindAt(n, i, kNodeProc))
                return false;
        return count == 0 || KindAt(n, count - 1, kNodeToken);
    case kNodeProc:
        return Kinds(n, {kNodeToken, kNodeToken, kNodeToken, kNodeParamList, kNodeToken, kNodeBlock}) &&
               IdentAt(n, 1);
    case kNodeParamList: {
        if (!SeparatedList(n, kNodeToken))
            return false;
        for (int i = 0; i < count; i += 2)
            if (!IdentAt(n, i))
                return false;
        return true;
    }
    case kNodeStatement:
        return Kinds(n, {kNodeControl}) || Kinds(n, {kNodeBlock}) || Kinds(n, {kNodeDecl, kNodeToken}) ||
               Kinds(n, {kNodeAssign, kNodeToken}) || Kinds(n, {kNodeCall, kNodeToken});
    case kNodeDecl: return Kinds(n, {kNodeType, kNodeToken}) && IdentAt(n, 1);
    case kNodeExpr: return Binary(n, kNodeCompare, kNodeLogicalOp);
    case kNodeCompare: return Binary(n, kNodeAdd, kNodeCompareOp);
    case kNodeAdd: return Binary(n, kNodeMul, kNodeAddOp);
    case kNodeMul: return Binary(n, kNodeUnary, kNodeMulOp);
    case kNodeLogicalOp:
    case kNodeCompareOp:
    case kNodeAddOp:
    case kNodeMulOp: return Kinds(n, {kNodeToken});
    case kNodeUnary:
        return Kinds(n, {kNodeToken}) || Kinds(n, {kNodeParen}) || Kinds(n, {kNodeToken, kNodeUnary});
    case kNodeParen: return Kinds(n, {kNodeToken, kNodeExpr, kNodeToken});
    case kNodeCall:
        return Kinds(n, {kNodeToken, kNodeToken, kNodeToken, kNodeArgList, kNodeToken}) && IdentAt(n, 1);
    case kNodeArgList: return SeparatedList(n, kNodeExpr);
    case kNodeControl: return Kinds(n, {kNodeWhile}) || Kinds(n, {kNodeIf}) || Kinds(n, {kNodeJump, kNodeToken});
    case kNodeWhile: return Kinds(n, {kNodeToken, kNodeParen, kNodeStatement});
    case kNodeIf:
        return Kinds(n, {kNodeToken, kNodeParen, kNodeStatement}) ||
               Kinds(n, {kNodeToken, kNodeParen, kNodeStatement, kNodeToken, kNodeStatement});
    case kNodeAssign: return Kinds(n, {kNodeToken, kNodeToken, kNodeExpr}) && IdentAt(n, 0);
    case kNodeBlock: {
        if (count < 2 || !KindAt(n, 0, kNodeToken) || !KindAt(n, count - 1, kNodeToken))
            return false;
        for (int i = 1; i + 1 < count; ++i)
            if (!KindAt(n, i, kNodeStatement))
                return false;
        return true;
    }
    default: return count == 0;  // the leaves
    }
}

}  // namespace

bool CheckScriptShape(const CScriptNode& node)
{
    if (const auto* c = dynamic_cast<const CCompositeNode*>(&node); c && c->GetCount() != c->GetChildCount())
        return false;  // a child whose type byte was unknown is missing
    if (!OwnShape(node))
        return false;
    for (int i = 0; i < node.GetChildCount(); ++i)
        if (!CheckScriptShape(*node.GetChild(i)))
            return false;
    return true;
}

std::unique_ptr<CProgramNode> CProgramNode::Load(CDataStream& stream)
{
    auto program = std::make_unique<CProgramNode>();
    CScriptReader reader(stream);
    if (!reader.ReadComposite(*program, 0) || !CheckScriptShape(*program))
        return nullptr;
    return program;
}
