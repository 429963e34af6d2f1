// The script source lexer: tokens with their line, one at a time.
#pragma once
#include <cstdint>
#include <string>

class CDataStream;

struct CScriptToken {
    std::string text;
    uint32_t line = 1;
    uint32_t type = 5;  // ScriptTokenType
};

class CScriptLexer {
public:
    explicit CScriptLexer(CDataStream& stream) : m_stream(stream) {}

    // The next token; an end token at the end of the input, and for ever
    // after. A string or comment left open ends the input with an error.
    CScriptToken ScanToken();
    // Empty unless the input broke off inside a string or a comment.
    const std::string& Error() const { return m_error; }

private:
    int Get();
    void UnGet(int c);
    bool SkipComment(bool block);
    // Ends the input with the message (%u: the token's line).
    CScriptToken Fail(CScriptToken t, const char* format);

    CDataStream& m_stream;
    int m_pushed = -1;
    uint32_t m_line = 1;
    std::string m_error;
};
