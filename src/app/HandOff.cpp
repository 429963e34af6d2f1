#include "app/HandOff.h"

#include <climits>
#include <vector>

HandOffData g_handOff;

bool IsHandOffPath()
{
    return g_handOff.marker == "tolmar";
}

namespace {

std::vector<std::string> SplitTokens(const std::string& line)
{
    std::vector<std::string> tokens;
    size_t pos = 0;
    while (pos < line.size()) {
        size_t start = line.find_first_not_of(" ,\t\n", pos);
        if (start == std::string::npos)
            break;
        size_t end = line.find_first_of(" ,\t\n", start);
        if (end == std::string::npos)
            end = line.size();
        tokens.push_back(line.substr(start, end - start));
        pos = end;
    }
    return tokens;
}

// A decimal number read the way atoi reads it: an optional sign, then digits
// up to the first other character; 0 when there are none. Clamped to int.
long long Decimal(const std::string& s)
{
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    long long v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        v = v * 10 + (s[i] - '0');
        if (v > INT_MAX)
            v = static_cast<long long>(INT_MAX) + 1;
    }
    v = negative ? -v : v;
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return v;
}

HandOffResult Refuse(HandOffRefusal why)
{
    HandOffResult r;
    r.refusal = why;
    return r;
}

}  // namespace

HandOffResult ParseHandOff(const std::string& cmdline, const std::string& exePath,
                           const AtomLookup& lookup)
{
    const std::vector<std::string> tokens = SplitTokens(cmdline);
    if (tokens.empty() || tokens[0] != "tolmar")
        return Refuse(HandOffRefusal::Silent);
    if (tokens.size() != kHandOffTokens)
        return Refuse(HandOffRefusal::Count);
    for (const std::string& t : tokens)
        if (t.size() > kHandOffTokenMax)
            return Refuse(HandOffRefusal::Count);

    // An atom is a 16-bit number; anything outside 1..65535 names none.
    const long long atom = Decimal(tokens[9]);
    std::optional<std::string> atomText;
    if (atom > 0 && atom <= 0xFFFF && lookup)
        atomText = lookup(static_cast<uint16_t>(atom));
    if (!atomText)
        return Refuse(HandOffRefusal::Atom);
    if (tokens[8] != "ombrix" || atom <= 0)
        return Refuse(HandOffRefusal::Content);
    if (tokens[1] != *atomText)
        return Refuse(HandOffRefusal::Browser);
    if (Decimal(tokens[10]) < 1000)
        return Refuse(HandOffRefusal::Version);

    HandOffResult r;
    r.data.marker = tokens[0];
    r.data.host = tokens[2];
    r.data.port = static_cast<int>(Decimal(tokens[3]));
    // "Tolmar.exe" beside the program, then the launcher's line as received.
    const size_t slash = exePath.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string() : exePath.substr(0, slash + 1);
    r.data.text = dir + "Tolmar.exe " + cmdline;
    return r;
}

const char* HandOffMessage(HandOffRefusal refusal)
{
    switch (refusal) {
    case HandOffRefusal::Count:
        return "전달된 정보의 갯수가 올바르지 않습니다.";
    case HandOffRefusal::Atom:
        return "ATOM 값이 잘못되었습니다.";
    case HandOffRefusal::Content:
        return "전달된 정보의 내용이 잘못 되었습니다.";
    case HandOffRefusal::Browser:
        return "Ombrix 전용 브라우저를 통해서만 본 서비스를 이용할 수 있습니다.";
    case HandOffRefusal::Version:
        return "상위 버전(1.0 이상)의 Ombrix 전용 브라우저를 통해서만 본 서비스를 이용할 수 있습니다.";
    default:
        return "";
    }
}
