#include "ui/FloatTextList.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>

#include "ui/TextCut.h"

CFloatTextList g_floatTexts;

void CFloatTextList::Add(int x, int y, const char* text)
{
    if (m_count >= kMaxEntries)
        return;
    Entry& e = m_entries[static_cast<size_t>(m_count++)];
    e.x = x;
    e.y = y;
    CopyTextCut(e.text, sizeof e.text, text);
}

void CFloatTextList::AddF(int x, int y, const char* format, ...)
{
    char buffer[kFormatSize];
    va_list args;
    va_start(args, format);
    FormatTextCut(buffer, sizeof buffer, format, args);
    va_end(args);
    Add(x, y, buffer);
}

void CFloatTextList::AddCentered(int x, int y, const char* text)
{
    const int64_t half = static_cast<int64_t>(text ? std::strlen(text) : 0) * 6 / 2;
    Add(static_cast<int>(std::max<int64_t>(int64_t{x} - half, INT32_MIN)), y, text);
}

void CFloatTextList::AddCenteredF(int x, int y, const char* format, ...)
{
    char buffer[kFormatSize];
    va_list args;
    va_start(args, format);
    FormatTextCut(buffer, sizeof buffer, format, args);
    va_end(args);
    AddCentered(x, y, buffer);
}

const CFloatTextList::Entry* CFloatTextList::First()
{
    m_cursor = 0;
    return m_count > 0 ? &m_entries[0] : nullptr;
}

const CFloatTextList::Entry* CFloatTextList::Next()
{
    if (m_cursor + 1 >= m_count)
        return nullptr;
    return &m_entries[static_cast<size_t>(++m_cursor)];
}
