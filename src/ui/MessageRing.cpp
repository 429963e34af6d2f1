#include "ui/MessageRing.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

CMessageRing g_messageRing(50, 380, 15, 300, 8);

CMessageRing::CMessageRing(int x, int y, int colour, int showFrames, int capacity)
    : m_x(x), m_y(y), m_defaultColour(colour), m_colour(colour), m_showFrames(showFrames),
      m_capacity(std::clamp(capacity, 1, kMaxSlots))
{
    Clear();
}

void CMessageRing::AddLine(const char* text)
{
    Line& line = m_lines[static_cast<size_t>(m_head)];
    m_head = (m_head + 1) % m_capacity;
    if (m_head == m_tail)
        m_tail = (m_tail + 1) % m_capacity;
    line.age = 0;
    std::snprintf(line.text, sizeof line.text, "%s", text ? text : "");
    line.colour = m_colour;
    m_colour = m_defaultColour;
}

CMessageRing* CMessageRing::AddLineF(CMessageRing* ring, const char* format, ...)
{
    static char buffer[kFormatSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (ring)
        ring->AddLine(buffer);
    return ring;
}

int CMessageRing::GetLineCount() const
{
    return (m_head - m_tail + m_capacity) % m_capacity;
}

const CMessageRing::Line* CMessageRing::GetLine(int n) const
{
    if (n < 0 || n >= GetLineCount())
        return nullptr;
    return &m_lines[static_cast<size_t>((m_head - 1 - n + 2 * m_capacity) % m_capacity)];
}
