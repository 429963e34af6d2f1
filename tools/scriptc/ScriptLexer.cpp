#include "scriptc/ScriptLexer.h"

#include <cstdio>
#include <cstring>

#include "core/DataStream.h"
#include "script/ScriptNode.h"

namespace {

constexpr const char* kKeywords[] = {"int", "string", "while", "if", "else", "return", "call", "proc"};
constexpr const char* kPairs[] = {"//", "/*", "*/", "==", "<=", ">=", "!=", "+=", "-=", "&&", "||", ".."};

bool IsLetter(int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsDigit(int c) { return c >= '0' && c <= '9'; }
bool IsHex(int c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

}  // namespace

int CScriptLexer::Get()
{
    int c = m_pushed;
    if (c >= 0)
        m_pushed = -1;
    else
        c = m_stream.GetByte();
    if (c == '\n')
        ++m_line;
    return c;
}

void CScriptLexer::UnGet(int c)
{
    if (c < 0)
        return;
    if (c == '\n')
        --m_line;
    m_pushed = c;
}

CScriptToken CScriptLexer::Fail(CScriptToken t, const char* format)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, format, t.line);
    m_error = buf;
    t.type = kTokenEnd;
    t.text.clear();
    return t;
}

bool CScriptLexer::SkipComment(bool block)
{
    const uint32_t start = m_line;
    int prev = 0;
    for (int c = Get(); c >= 0; prev = c, c = Get()) {
        if (!block && c == '\n')
            return true;
        if (block && prev == '*' && c == '/')
            return true;
    }
    if (block) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "comment in line %u is not closed", start);
        m_error = buf;
    }
    return !block;
}

CScriptToken CScriptLexer::ScanToken()
{
    CScriptToken t;
    for (;;) {
        if (!m_error.empty()) {
            t.line = m_line;
            return t;  // the end, for ever
        }
        int c = Get();
        while (c >= 0 && c < 33)
            c = Get();
        t.line = m_line;
        if (c < 0)
            return t;
        if (c == '"') {
            t.type = kTokenString;
            for (;;) {
                int d = Get();
                if (d == '"')
                    return t;
                if (d == '\\') {
                    d = Get();
                    if (d == '"')
                        return t;  // a backslash and a quote end the literal too
                    if (d == 't')
                        d = '\t';
                }
                // The compiled form cannot hold a NUL inside a text.
                if (d <= 0)
                    return Fail(t, d < 0 ? "string in line %u is not closed" : "string in line %u holds a NUL byte");
                t.text.push_back(static_cast<char>(d));
            }
        }
        if (IsDigit(c)) {
            t.type = kTokenNumber;
            t.text.push_back(static_cast<char>(c));
            int d = Get();
            if (c == '0' && d == 'x') {
                t.text.push_back('x');
                for (d = Get(); IsHex(d); d = Get())
                    t.text.push_back(static_cast<char>(d));
            } else {
                for (; IsDigit(d); d = Get())
                    t.text.push_back(static_cast<char>(d));
                if (d == '.') {
                    t.text.push_back('.');
                    for (d = Get(); IsDigit(d); d = Get())
                        t.text.push_back(static_cast<char>(d));
                }
            }
            UnGet(d);
            return t;
        }
        if (IsLetter(c) || c >= 128) {
            t.type = kTokenIdentifier;
            int d = c;
            for (; IsLetter(d) || IsDigit(d) || d >= 127; d = Get())
                t.text.push_back(static_cast<char>(d));
            UnGet(d);
            for (const char* k : kKeywords)
                if (t.text == k)
                    t.type = kTokenKeyword;
            return t;
        }
        t.type = kTokenOperator;
        t.text.push_back(static_cast<char>(c));
        const int d = Get();
        bool pair = false;
        for (const char* p : kPairs)
            pair = pair || (p[0] == c && p[1] == d);
        if (!pair) {
            UnGet(d);
            return t;
        }
        t.text.push_back(static_cast<char>(d));
        if (t.text == "/*" || t.text == "//") {
            SkipComment(t.text == "/*");
            t.text.clear();
            continue;
        }
        return t;
    }
}
