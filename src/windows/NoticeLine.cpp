#include "windows/NoticeLine.h"

#include <cstdio>

CNoticeLine* g_currentNoticeLine;

void CNoticeLine::Show(const char* text, int draws)
{
    g_currentNoticeLine = this;
    m_countdown = draws;
    std::snprintf(m_text.data(), m_text.size(), "%s", text ? text : "");
}
