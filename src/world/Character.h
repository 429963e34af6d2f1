// A player or a monster on the field (a monster when its server id is 1000
// or more). The object layer's character pool holds 1024; slot 0 is mine.
#pragma once
#include "world/Creature.h"

class CCharacter : public CCreature {
public:
    CCharacter() { m_kind = kindCharacter; }
};
