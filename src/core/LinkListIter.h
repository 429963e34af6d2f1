// A cursor over a CLinkList. The list's sentinel stands both before the
// first and after the last node; every walk passes over null values.
#pragma once
#include "core/LinkList.h"

// Walk callbacks get the item and the caller's argument.
using ListCallback = int (*)(CListItem* value, void* arg);

class CLinkListIter {
public:
    explicit CLinkListIter(CLinkList* list);
    virtual ~CLinkListIter() = default;

    // Cursor to the sentinel.
    virtual void First();
    // Steps forward to the next item for which fn returns 0: 1, or 0 at
    // the end of the list.
    virtual int FindNext(ListCallback fn, void* arg);
    // Steps forward to the next item: 1, or 0 at the end.
    virtual int Next();
    // Steps back to the previous item for which fn returns non-zero: 1, or
    // 0 at the start of the list.
    virtual int FindPrev(ListCallback fn, void* arg);
    virtual int Prev();
    // Calls fn for every item from the first on until it returns 0. The
    // cursor does not move.
    virtual void ForEach(ListCallback fn, void* arg);
    // The same from the last item backward.
    virtual void ForEachReverse(ListCallback fn, void* arg);

    // The item under the cursor (null on the sentinel).
    CListItem* GetValue() const { return m_cursor->m_value; }
    // Destroys the item under the cursor and its node; the cursor moves to
    // the node before, so Next continues with the node that followed. 0 on
    // the sentinel.
    int EraseCurrent();

private:
    CLinkList* m_list;
    CListNode* m_cursor;
};
