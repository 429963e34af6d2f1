// A circular doubly linked list with an embedded sentinel node; it owns its
// items and destroys them with itself.
#pragma once
#include "core/ListItem.h"

class CListNode {
public:
    // A sentinel: linked to itself.
    CListNode() : m_value(nullptr), m_prev(this), m_next(this) {}
    // Linked in just before `before`.
    CListNode(CListItem* value, CListNode* before);
    // Unlinks the node (the value is not touched).
    ~CListNode();
    CListNode(const CListNode&) = delete;
    CListNode& operator=(const CListNode&) = delete;

    CListItem* m_value;  // may be null
    CListNode* m_prev;
    CListNode* m_next;
};

class CLinkList {
public:
    CLinkList() = default;
    virtual ~CLinkList();
    CLinkList(const CLinkList&) = delete;
    CLinkList& operator=(const CLinkList&) = delete;

    // Appends value, which the list then owns; 0 (nothing added) for null.
    virtual int Add(CListItem* value);
    // Destroys every item and node.
    void DeleteAll();
    // Destroys node's item and the node; returns the node that followed it.
    // A walk may erase the node it stands on only through this result (or
    // CLinkListIter::EraseCurrent); callbacks of a walk must not erase.
    CListNode* Erase(CListNode* node);
    // Unlinks node and hands its item to the caller.
    CListItem* Detach(CListNode* node);

    bool IsEmpty() const { return m_sentinel.m_next == &m_sentinel; }
    CListNode* Sentinel() { return &m_sentinel; }
    CListNode* GetFirst() { return m_sentinel.m_next; }
    CListNode* GetLast() { return m_sentinel.m_prev; }

private:
    CListNode m_sentinel;
};
