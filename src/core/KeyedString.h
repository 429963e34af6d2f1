// A name with a number, kept in a CSymbolTable.
#pragma once
#include <cstdint>

#include "core/GameString.h"
#include "core/ListItem.h"

class CKeyedString : public CListItem {
public:
    CKeyedString(const char* name, uint16_t id) : m_id(id) { m_name.Assign(name); }

    CGameString m_name;
    uint16_t m_id;
};
