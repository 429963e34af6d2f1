#include "core/LinkList.h"

CListNode::CListNode(CListItem* value, CListNode* before)
    : m_value(value), m_prev(before->m_prev), m_next(before)
{
    before->m_prev = this;
    m_prev->m_next = this;
}

CListNode::~CListNode()
{
    m_prev->m_next = m_next;
    m_next->m_prev = m_prev;
}

CLinkList::~CLinkList()
{
    DeleteAll();
}

int CLinkList::Add(CListItem* value)
{
    if (!value)
        return 0;
    new CListNode(value, &m_sentinel);
    return 1;
}

void CLinkList::DeleteAll()
{
    while (m_sentinel.m_next != &m_sentinel)
        Erase(m_sentinel.m_next);
}

CListNode* CLinkList::Erase(CListNode* node)
{
    if (!node || node == &m_sentinel)
        return &m_sentinel;
    CListNode* next = node->m_next;
    // Unlinked before the item goes, so its destructor never finds itself
    // still listed.
    delete Detach(node);
    return next;
}

CListItem* CLinkList::Detach(CListNode* node)
{
    if (!node || node == &m_sentinel)
        return nullptr;
    CListItem* value = node->m_value;
    delete node;
    return value;
}
