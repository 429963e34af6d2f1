#include "core/SymbolTable.h"

namespace {

int CompareName(CListItem* value, void* name)
{
    return static_cast<CKeyedString*>(value)->m_name.CompareChars(static_cast<const char*>(name));
}

}  // namespace

CSymbolTable::CSymbolTable(const CSymbolTable& other) : m_nextId(other.m_nextId), m_iter(&m_list)
{
    CopyFrom(other);
}

uint16_t CSymbolTable::FindId(const char* name)
{
    if (!name)
        return 0;
    m_iter.First();
    if (!m_iter.FindNext(CompareName, const_cast<char*>(name)))
        return 0;
    return static_cast<CKeyedString*>(m_iter.GetValue())->m_id;
}

int CSymbolTable::Add(const char* name)
{
    if (!name || FindId(name) != 0 || m_nextId == UINT16_MAX)
        return 0;
    ++m_nextId;
    m_list.Add(new CKeyedString(name, m_nextId));
    return 1;
}

int CSymbolTable::Add(const char* name, uint16_t id)
{
    if (!name || FindId(name) != 0)
        return 0;
    m_list.Add(new CKeyedString(name, id));
    return 1;
}

void CSymbolTable::CopyFrom(const CSymbolTable& other)
{
    // The other table's own list, walked without its cursor. It may be this
    // table's list: the walk ends at the entry that was last when it began.
    CLinkList& list = const_cast<CLinkList&>(other.m_list);
    if (list.IsEmpty())
        return;
    CListNode* last = list.GetLast();
    for (CListNode* node = list.GetFirst();; node = node->m_next) {
        if (auto* entry = static_cast<CKeyedString*>(node->m_value))
            m_list.Add(new CKeyedString(entry->m_name.GetString(), entry->m_id));
        if (node == last)
            break;
    }
}
