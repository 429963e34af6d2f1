// The owning list of colony map objects, kept in drawing order.
#pragma once
#include <cstddef>
#include <iterator>

#include "colony/SimMapObject.h"
#include "core/LinkList.h"

class CSimObjectList : public CLinkList {
public:
    // Walks the objects in list order.
    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = CSimMapObject*;
        using difference_type = std::ptrdiff_t;
        using pointer = CSimMapObject**;
        using reference = CSimMapObject*;

        explicit Iterator(CListNode* node) : m_node(node) {}
        CSimMapObject* operator*() const { return static_cast<CSimMapObject*>(m_node->m_value); }
        Iterator& operator++()
        {
            m_node = m_node->m_next;
            return *this;
        }
        bool operator==(const Iterator& o) const { return m_node == o.m_node; }

    private:
        CListNode* m_node;
    };

    // Null is ignored (0).
    int Add(CListItem* value) override;
    void Clear() { DeleteAll(); }
    int Count();
    // Ascending by x + y: a selection sort whose ties keep the earlier
    // object, exchanging objects between the nodes.
    void SortByDepth();
    // Deletes and unlinks every object marked removed.
    void RemoveMarked();

    // Add refuses null, so every node holds an object.
    Iterator begin() { return Iterator(GetFirst()); }
    Iterator end() { return Iterator(Sentinel()); }
};
