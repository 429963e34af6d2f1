#include "ui/MessageRing.h"

#include <algorithm>
#include <cstdarg>

#include "core/Blit.h"
#include "core/TextLayer.h"
#include "ui/TextCut.h"

CMessageRing g_messageRing(50, 380, 15, 300, 8);

void ResetMessageRing()
{
    g_messageRing = CMessageRing(50, 380, 15, 300, 8);
}

CMessageRing::CMessageRing(int x, int y, int colour, int showFrames, int capacity)
    : m_x(x),
      m_y(y),
      m_defaultColour(colour),
      m_colour(colour),
      m_showFrames(showFrames),
      m_capacity(std::clamp(capacity, kMinSlots, kMaxSlots))
{
    Clear();
}

void CMessageRing::AddLine(const char* text)
{
    Line& slot = m_lines[static_cast<size_t>(m_head)];
    m_head = (m_head + 1) % m_capacity;
    if (m_head == m_tail)
        m_tail = (m_tail + 1) % m_capacity;
    slot.age = 0;
    CopyTextCut(slot.text, sizeof slot.text, text);
    slot.colour = m_colour;
    m_colour = m_defaultColour;
}

CMessageRing* CMessageRing::AddLineF(CMessageRing* ring, const char* format, ...)
{
    char buffer[kFormatSize];
    va_list args;
    va_start(args, format);
    FormatTextCut(buffer, sizeof buffer, format, args);
    va_end(args);
    if (ring)
        ring->AddLine(buffer);
    return ring;
}

CMessageRing::Line* CMessageRing::First()
{
    if (m_head == m_tail)
        return nullptr;
    m_cursor = (m_head + m_capacity - 1) % m_capacity;
    return &m_lines[static_cast<size_t>(m_cursor)];
}

CMessageRing::Line* CMessageRing::Next()
{
    if (m_cursor == m_tail)
        return nullptr;
    m_cursor = (m_cursor + m_capacity - 1) % m_capacity;
    return &m_lines[static_cast<size_t>(m_cursor)];
}

CMessageRing::Line* CMessageRing::GetOldest()
{
    return m_head == m_tail ? nullptr : &m_lines[static_cast<size_t>(m_tail)];
}

void CMessageRing::DropOldest()
{
    if (m_head != m_tail)
        m_tail = (m_tail + 1) % m_capacity;
}

void CMessageRing::Draw(uint8_t* surface)
{
    CTextLayer* text = surface ? g_pTextLayer : nullptr;
    if (text)
        text->SetTarget(surface, kScreenWidth, kScreenHeight);
    int n = 0;
    for (Line* line = First(); line; line = Next(), ++n) {
        if (text) {
            text->SetColor(0);
            text->SetColors(static_cast<uint8_t>(line->colour), 255);
            text->DrawText(m_x, m_y - kLinePitch * n, line->text, 1);
        }
        if (line->age < INT32_MAX)
            ++line->age;
    }
    if (Line* oldest = GetOldest(); oldest && oldest->age > m_showFrames)
        DropOldest();
}

const CMessageRing::Line* CMessageRing::GetLine(int n) const
{
    if (n < 0 || n >= GetLineCount())
        return nullptr;
    return &m_lines[static_cast<size_t>((m_head + m_capacity - 1 - n) % m_capacity)];
}

int CMessageRing::GetLineCount() const
{
    return (m_head + m_capacity - m_tail) % m_capacity;
}
