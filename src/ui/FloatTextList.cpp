#include "ui/FloatTextList.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

CFloatTextList g_floatTexts;

void CFloatTextList::Add(int x, int y, const char* text)
{
    if (m_count >= kMaxEntries)
        return;
    Entry& e = m_entries[static_cast<size_t>(m_count++)];
    e.x = x;
    e.y = y;
    std::snprintf(e.text, sizeof e.text, "%s", text ? text : "");
}

void CFloatTextList::AddCentered(int x, int y, const char* text)
{
    const long long width = static_cast<long long>(text ? std::strlen(text) : 0) * 6 / 2;
    Add(static_cast<int>(x - width), y, text);
}

void CFloatTextList::AddCenteredF(int x, int y, const char* format, ...)
{
    static char buffer[80];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    AddCentered(x, y, buffer);
}

const CFloatTextList::Entry* CFloatTextList::First()
{
    m_cursor = 0;
    return Next();
}

const CFloatTextList::Entry* CFloatTextList::Next()
{
    if (m_cursor >= m_count)
        return nullptr;
    return &m_entries[static_cast<size_t>(m_cursor++)];
}
