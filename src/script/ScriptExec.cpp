// What each node kind does when a script runs. Enter chains downward within
// one step; a finished node returns its parent, so going up costs one step
// per level. The loader has checked every node's children, so the
// positions used here exist.
#include <climits>
#include <cstring>
#include <string>

#include "script/ExtraFunctions.h"
#include "script/ScriptContext.h"
#include "script/ScriptNode.h"
#include "script/Variable.h"

namespace {

int32_t Wrap(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }

// A string read of an int expression is its decimal text.
std::string StringOf(CScriptNode& node, CScriptContext& ctx)
{
    if (node.GetValueType(ctx) == CVariable::kString)
        return node.EvalString(ctx);
    return std::to_string(node.EvalInt(ctx));
}

char FirstChar(const char* text) { return text ? text[0] : '\0'; }

}  // namespace

// ---- defaults --------------------------------------------------------------

CScriptNode* CScriptNode::Enter(CScriptContext&) { return this; }
CScriptNode* CScriptNode::Step(CScriptContext&) { return m_pParent; }
int32_t CScriptNode::EvalInt(CScriptContext&) { return 0; }
std::string CScriptNode::EvalString(CScriptContext& ctx) { return std::to_string(EvalInt(ctx)); }
uint32_t CScriptNode::GetValueType(CScriptContext&) { return CVariable::kInt; }

int32_t CCompositeNode::EvalInt(CScriptContext& ctx)
{
    CScriptNode* c = GetChild(0);
    return c ? c->EvalInt(ctx) : 0;
}

std::string CCompositeNode::EvalString(CScriptContext& ctx)
{
    CScriptNode* c = GetChild(0);
    return c ? c->EvalString(ctx) : std::string();
}

uint32_t CCompositeNode::GetValueType(CScriptContext& ctx)
{
    CScriptNode* c = GetChild(0);
    return c ? c->GetValueType(ctx) : CVariable::kInt;
}

const char* CCompositeNode::OperatorText() const
{
    const CScriptNode* op = GetChild(1);
    const CScriptNode* token = op ? op->GetChild(0) : nullptr;
    const char* text = token ? token->GetText() : nullptr;
    return text ? text : "";
}

// ---- tokens ----------------------------------------------------------------

int32_t CTokenNode::EvalInt(CScriptContext& ctx)
{
    if (m_tokenType == kTokenIdentifier)
        return ctx.variables->GetInt(m_symbolId);
    if (m_tokenType == kTokenNumber)
        return m_number;
    return 0;  // a string's value as an int
}

std::string CTokenNode::EvalString(CScriptContext& ctx)
{
    if (m_tokenType == kTokenIdentifier) {
        if (ctx.variables->GetType(m_symbolId) != CVariable::kString)
            return std::to_string(ctx.variables->GetInt(m_symbolId));
        const char* text = ctx.variables->GetString(m_symbolId);
        return text ? text : "";
    }
    if (m_tokenType == kTokenNumber)
        return std::to_string(m_number);
    return m_text;
}

uint32_t CTokenNode::GetValueType(CScriptContext& ctx)
{
    if (m_tokenType == kTokenIdentifier)
        return ctx.variables->GetType(m_symbolId);
    return m_tokenType == kTokenString ? CVariable::kString : CVariable::kInt;
}

// ---- expressions: both operands always, left first -------------------------

int32_t CBinaryNode::EvalInt(CScriptContext& ctx)
{
    if (!IsBinary())
        return CCompositeNode::EvalInt(ctx);
    const int32_t l = GetChild(0)->EvalInt(ctx);
    const int32_t r = GetChild(2)->EvalInt(ctx);
    return Combine(l, r);
}

std::string CBinaryNode::EvalString(CScriptContext& ctx)
{
    return IsBinary() ? std::to_string(EvalInt(ctx)) : CCompositeNode::EvalString(ctx);
}

uint32_t CBinaryNode::GetValueType(CScriptContext& ctx)
{
    return IsBinary() ? CVariable::kInt : CCompositeNode::GetValueType(ctx);
}

int32_t CExprNode::Combine(int32_t l, int32_t r) const
{
    if (FirstChar(OperatorText()) == '&')
        return (l != 0 && r != 0) ? 1 : 0;
    return (l != 0 || r != 0) ? 1 : 0;
}

int32_t CCompareNode::Combine(int32_t l, int32_t r) const
{
    const char* op = OperatorText();
    bool result = false;
    if (std::strcmp(op, "==") == 0)
        result = l == r;
    else if (std::strcmp(op, "!=") == 0)
        result = l != r;
    else if (std::strcmp(op, ">=") == 0)
        result = l >= r;
    else if (std::strcmp(op, "<=") == 0)
        result = l <= r;
    else if (std::strcmp(op, ">") == 0)
        result = l > r;
    else if (std::strcmp(op, "<") == 0)
        result = l < r;
    return result ? 1 : 0;
}

int32_t CAddNode::Combine(int32_t l, int32_t r) const
{
    return Wrap(FirstChar(OperatorText()) == '+' ? int64_t{l} + r : int64_t{l} - r);
}

std::string CAddNode::EvalString(CScriptContext& ctx)
{
    if (!IsBinary())
        return CCompositeNode::EvalString(ctx);
    // Concatenation, whatever the operator.
    std::string text = StringOf(*GetChild(0), ctx);
    text += StringOf(*GetChild(2), ctx);
    ctx.scratch.Assign(text.c_str());
    return text;
}

uint32_t CAddNode::GetValueType(CScriptContext& ctx)
{
    if (!IsBinary())
        return CCompositeNode::GetValueType(ctx);
    return FirstChar(OperatorText()) == '+' ? GetChild(0)->GetValueType(ctx) : CVariable::kInt;
}

int32_t CMulNode::Combine(int32_t l, int32_t r) const
{
    if (FirstChar(OperatorText()) == '*')
        return Wrap(static_cast<int64_t>(l) * r);
    if (r == 0)
        return -1;
    if (l == INT32_MIN && r == -1)
        return INT32_MIN;  // the quotient that does not fit wraps
    return l / r;
}

int32_t CUnaryNode::EvalInt(CScriptContext& ctx)
{
    if (GetChildCount() < 2)
        return CCompositeNode::EvalInt(ctx);
    const int32_t v = GetChild(1)->EvalInt(ctx);
    switch (FirstChar(GetChild(0)->GetText())) {
    case '-': return Wrap(-static_cast<int64_t>(v));
    case '!': return v == 0 ? 1 : 0;
    default: return 0;  // "%" is a string
    }
}

std::string CUnaryNode::EvalString(CScriptContext& ctx)
{
    if (GetChildCount() < 2)
        return CCompositeNode::EvalString(ctx);
    std::string text = std::to_string(FirstChar(GetChild(0)->GetText()) == '%' ? GetChild(1)->EvalInt(ctx)
                                                                               : EvalInt(ctx));
    ctx.scratch.Assign(text.c_str());
    return text;
}

uint32_t CUnaryNode::GetValueType(CScriptContext& ctx)
{
    if (GetChildCount() < 2)
        return CCompositeNode::GetValueType(ctx);
    return FirstChar(GetChild(0)->GetText()) == '%' ? CVariable::kString : CVariable::kInt;
}

int32_t CParenNode::EvalInt(CScriptContext& ctx) { return GetChild(1)->EvalInt(ctx); }
std::string CParenNode::EvalString(CScriptContext& ctx) { return GetChild(1)->EvalString(ctx); }
uint32_t CParenNode::GetValueType(CScriptContext& ctx) { return GetChild(1)->GetValueType(ctx); }

// ---- the program: procedures and native actions ----------------------------

CScriptNode* CProgramNode::ReplaceParent(CScriptNode* node)
{
    CScriptNode* old = GetParent();
    SetParent(node);
    return old;
}

int CProgramNode::FindProcIndex(uint32_t id) const
{
    for (int i = 0; i < GetChildCount(); ++i) {
        const CScriptNode* child = GetChild(i);
        if (child->GetTypeCode() == kNodeProc && static_cast<const CProcNode*>(child)->GetProcId() == id)
            return i;
    }
    return -1;
}

CProcNode* CProgramNode::FindProc(uint32_t id) const
{
    const int i = FindProcIndex(id);
    return i < 0 ? nullptr : static_cast<CProcNode*>(GetChild(i));
}

CScriptNode* CProgramNode::Enter(CScriptContext& ctx)
{
    if (CExtraFunction* action = FindExtraFunction(ctx.entry)) {
        m_pAction = action;
        return this;
    }
    // The main procedure is the last one, just before the closing token.
    if (ctx.entry == 0 && GetChildCount() >= 2)
        ctx.entry = static_cast<CProcNode*>(GetChild(GetChildCount() - 2))->GetProcId();
    m_position = FindProcIndex(ctx.entry);
    if (m_position >= 0)
        GetChild(m_position)->GetChild(3)->BindParams(ctx);
    return this;
}

CScriptNode* CProgramNode::Step(CScriptContext& ctx)
{
    if (m_pAction) {
        m_args.script = &ctx;
        m_args.variables = ctx.variables;
        if (m_pAction->Run(m_args, m_tick) == 1) {
            m_pAction = nullptr;
            m_tick = 0;
        } else {
            ++m_tick;
        }
        return this;
    }
    if (m_position >= 0) {
        CScriptNode* proc = GetChild(m_position);
        m_position = -1;
        return proc->Enter(ctx);
    }
    return GetParent();
}

uint16_t CProcNode::GetProcId() const { return GetChild(1)->GetSymbolId(); }

CScriptNode* CProcNode::Enter(CScriptContext& ctx)
{
    m_running = true;
    return GetChild(5)->Enter(ctx);
}

CScriptNode* CProcNode::Step(CScriptContext&)
{
    m_running = false;
    return GetParent();
}

void CParamListNode::BindParams(CScriptContext& ctx)
{
    for (int i = 0; i < GetChildCount(); i += 2)
        ctx.variables->Rename(static_cast<uint32_t>(i), GetChild(i)->GetSymbolId());
}

CCallNode::CCallNode() : CCompositeNode(kNodeCall) {}
CCallNode::~CCallNode() = default;

CScriptNode* CCallNode::Enter(CScriptContext& ctx)
{
    if (m_pSavedVariables || !ctx.program)
        return GetParent();  // this call is already running: skipped
    const uint32_t callee = GetChild(1)->GetSymbolId();
    if (!FindExtraFunction(callee)) {
        // Nor is a procedure entered again through another call.
        const CProcNode* proc = ctx.program->FindProc(callee);
        if (proc && proc->IsRunning())
            return GetParent();
    }
    if (!m_pArgs)
        m_pArgs = std::make_unique<CVariable>();
    m_pArgs->Clear();
    GetChild(3)->EvalArgs(ctx, *m_pArgs);
    m_pSavedVariables = ctx.variables;
    ctx.variables = m_pArgs.get();
    m_pSavedParent = ctx.program->ReplaceParent(this);
    ctx.entry = callee;
    return ctx.program->Enter(ctx);
}

CScriptNode* CCallNode::Step(CScriptContext& ctx)
{
    ctx.status = CScriptContext::kNone;
    if (ctx.program)
        ctx.program->ReplaceParent(m_pSavedParent);
    if (m_pSavedVariables)
        ctx.variables = m_pSavedVariables;
    m_pSavedVariables = nullptr;
    m_pSavedParent = nullptr;
    return GetParent();
}

void CArgListNode::EvalArgs(CScriptContext& ctx, CVariable& table)
{
    for (int i = 0; i < GetChildCount(); i += 2) {
        CScriptNode* expr = GetChild(i);
        const uint32_t id = static_cast<uint32_t>(i);
        const bool text = expr->GetValueType(ctx) == CVariable::kString;
        if (!table.Add(id, text ? CVariable::kString : CVariable::kInt)) {
            ctx.failed = true;
            return;
        }
        if (text)
            table.SetString(id, expr->EvalString(ctx).c_str());
        else
            table.SetInt(id, expr->EvalInt(ctx));
    }
}

// ---- statements ------------------------------------------------------------

CScriptNode* CStatementNode::Enter(CScriptContext& ctx) { return GetChild(0)->Enter(ctx); }

CScriptNode* CDeclNode::Step(CScriptContext& ctx)
{
    const auto* type = static_cast<const CTypeNode*>(GetChild(0));
    const uint32_t kind = type->GetLetter() == 's' ? CVariable::kString : CVariable::kInt;
    if (!ctx.variables->Add(GetChild(1)->GetSymbolId(), kind))
        ctx.failed = true;
    return GetParent();
}

CScriptNode* CAssignNode::Step(CScriptContext& ctx)
{
    CScriptNode* target = GetChild(0);
    CScriptNode* expr = GetChild(2);
    const uint32_t type = target->GetValueType(ctx);
    if (type != expr->GetValueType(ctx))
        return GetParent();  // no conversion between the two kinds
    const uint16_t id = target->GetSymbolId();
    if (type == CVariable::kString)
        ctx.variables->SetString(id, expr->EvalString(ctx).c_str());
    else
        ctx.variables->SetInt(id, expr->EvalInt(ctx));
    return GetParent();
}

CScriptNode* CJumpNode::Enter(CScriptContext& ctx)
{
    switch (GetLetter()) {
    case 'b': ctx.status = CScriptContext::kBreak; break;
    case 'c': ctx.status = CScriptContext::kContinue; break;
    case 'r': ctx.status = CScriptContext::kReturn; break;
    default: break;
    }
    return GetParent();
}

CScriptNode* CBlockNode::Enter(CScriptContext&)
{
    m_position = 1;  // the first statement after "{"
    return this;
}

CScriptNode* CBlockNode::Step(CScriptContext& ctx)
{
    if (ctx.status != CScriptContext::kNone || m_position >= m_count - 1)
        return GetParent();
    return GetChild(m_position++)->Enter(ctx);
}

CScriptNode* CWhileNode::Step(CScriptContext& ctx)
{
    switch (ctx.status) {
    case CScriptContext::kReturn: return GetParent();
    case CScriptContext::kBreak: ctx.status = CScriptContext::kNone; return GetParent();
    case CScriptContext::kContinue: ctx.status = CScriptContext::kNone; break;
    default: break;
    }
    if (GetChild(1)->EvalInt(ctx) == 0)
        return GetParent();
    return GetChild(2)->Enter(ctx);
}

CScriptNode* CIfNode::Enter(CScriptContext& ctx)
{
    if (GetChild(1)->EvalInt(ctx) != 0)
        return GetChild(2)->Enter(ctx);
    if (GetChildCount() == 5)
        return GetChild(4)->Enter(ctx);
    return GetParent();
}
