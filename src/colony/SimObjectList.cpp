#include "colony/SimObjectList.h"

#include <utility>

#include "colony/SimCursor.h"

namespace {
CSimMapObject* ObjectOf(CListNode* n) { return static_cast<CSimMapObject*>(n->m_value); }
}  // namespace

int CSimObjectList::Add(CListItem* value) { return value ? CLinkList::Add(value) : 0; }

int CSimObjectList::Count()
{
    int n = 0;
    for (CListNode* p = GetFirst(); p != Sentinel(); p = p->m_next)
        ++n;
    return n;
}

void CSimObjectList::SortByDepth()
{
    for (CListNode* at = GetFirst(); at != Sentinel(); at = at->m_next) {
        CListNode* best = at;
        for (CListNode* p = at->m_next; p != Sentinel(); p = p->m_next)
            if (ObjectOf(p)->DepthKey() < ObjectOf(best)->DepthKey())
                best = p;
        std::swap(at->m_value, best->m_value);
    }
}

void CSimObjectList::RemoveMarked()
{
    for (CListNode* p = GetFirst(); p != Sentinel();) {
        if (ObjectOf(p)->IsRemoved()) {
            g_simCursor.Forget(ObjectOf(p));
            p = Erase(p);
        } else {
            p = p->m_next;
        }
    }
}
