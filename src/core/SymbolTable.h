// Names and their numbers: each new name gets the next id, from 10001 on.
#pragma once
#include <cstdint>

#include "core/KeyedString.h"
#include "core/LinkList.h"
#include "core/LinkListIter.h"

class CSymbolTable {
public:
    CSymbolTable() : m_iter(&m_list) {}
    // Copies every entry of other, in order (ids included).
    CSymbolTable(const CSymbolTable& other);
    CSymbolTable& operator=(const CSymbolTable&) = delete;

    // The name's id, or 0 when absent.
    uint16_t FindId(const char* name);
    // Gives name the next id: 1, or 0 when it is present already (no id is
    // used up) or no id is left.
    int Add(const char* name);
    // Adds name with this id, leaving the counter alone; 0 when present.
    int Add(const char* name, uint16_t id);
    // Appends a copy of every entry of other.
    void CopyFrom(const CSymbolTable& other);

    uint16_t GetNextId() const { return m_nextId; }

private:
    uint16_t m_nextId = 10000;  // the last id given out
    CLinkList m_list;
    CLinkListIter m_iter;
};
