// The second creature class: the object layer keeps a pool of 1024 of them,
// which nothing fills.
#pragma once
#include "world/Creature.h"

class CCreatureAlt : public CCreature {
public:
    CCreatureAlt() { m_kind = kindCreatureAlt; }
};
