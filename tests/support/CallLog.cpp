#include "support/CallLog.h"

#include <cstdio>

std::string CCallLog::Arg(const void* p)
{
    if (!p)
        return "null";
    char buf[32];
    std::snprintf(buf, sizeof buf, "@%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(p)));
    return buf;
}

std::string CCallLog::Joined() const
{
    std::string s;
    for (const std::string& c : m_calls) {
        if (!s.empty())
            s += '\n';
        s += c;
    }
    return s;
}

int CCallLog::Count(std::string_view name) const
{
    int n = 0;
    for (const std::string& c : m_calls)
        if (c.size() > name.size() && c.compare(0, name.size(), name) == 0 && c[name.size()] == '(')
            ++n;
    return n;
}
