#include "core/LinkListIter.h"

CLinkListIter::CLinkListIter(CLinkList* list) : m_list(list), m_cursor(list->Sentinel())
{
    First();
}

void CLinkListIter::First()
{
    m_cursor = m_list->Sentinel();
}

int CLinkListIter::FindNext(ListCallback fn, void* arg)
{
    for (;;) {
        m_cursor = m_cursor->m_next;
        if (m_cursor == m_list->Sentinel())
            return 0;
        if (m_cursor->m_value && fn(m_cursor->m_value, arg) == 0)
            return 1;
    }
}

int CLinkListIter::Next()
{
    do {
        m_cursor = m_cursor->m_next;
        if (m_cursor == m_list->Sentinel())
            return 0;
    } while (!m_cursor->m_value);
    return 1;
}

int CLinkListIter::FindPrev(ListCallback fn, void* arg)
{
    for (;;) {
        m_cursor = m_cursor->m_prev;
        if (m_cursor == m_list->Sentinel())
            return 0;
        if (m_cursor->m_value && fn(m_cursor->m_value, arg) != 0)
            return 1;
    }
}

int CLinkListIter::Prev()
{
    do {
        m_cursor = m_cursor->m_prev;
        if (m_cursor == m_list->Sentinel())
            return 0;
    } while (!m_cursor->m_value);
    return 1;
}

void CLinkListIter::ForEach(ListCallback fn, void* arg)
{
    CListNode* end = m_list->Sentinel();
    for (CListNode* node = end->m_next; node != end;) {
        // Taken first, so a callback that erases its own node stays safe.
        CListNode* next = node->m_next;
        if (node->m_value && fn(node->m_value, arg) == 0)
            return;
        node = next;
    }
}

void CLinkListIter::ForEachReverse(ListCallback fn, void* arg)
{
    CListNode* end = m_list->Sentinel();
    for (CListNode* node = end->m_prev; node != end;) {
        CListNode* prev = node->m_prev;
        if (node->m_value && fn(node->m_value, arg) == 0)
            return;
        node = prev;
    }
}

int CLinkListIter::EraseCurrent()
{
    if (m_cursor == m_list->Sentinel())
        return 0;
    CListNode* prev = m_cursor->m_prev;
    m_list->Erase(m_cursor);
    m_cursor = prev;
    return 1;
}
