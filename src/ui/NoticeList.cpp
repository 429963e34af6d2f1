#include "ui/NoticeList.h"

#include <cstddef>

CNoticeList g_noticeList;

int CNoticeList::Add(int x, int y, int hp, int maxHp, int mp, int maxMp, int kind)
{
    if (m_count >= kMaxEntries)
        return 0;
    m_entries[static_cast<size_t>(m_count++)] = Entry{x, y, hp, maxHp, mp, maxMp, kind};
    return 1;
}

const CNoticeList::Entry* CNoticeList::First()
{
    m_cursor = 0;
    return m_count > 0 ? &m_entries[0] : nullptr;
}

const CNoticeList::Entry* CNoticeList::Next()
{
    if (m_cursor + 1 >= m_count)
        return nullptr;
    return &m_entries[static_cast<size_t>(++m_cursor)];
}
