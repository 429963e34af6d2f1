// The item entry of an object file's ITM section: the item record and the
// sprite set of its pictures, linked by name when the file is read.
#pragma once
#include "rules/ItemData.h"

class CAnimSpriteSet;

class CObrItemEntry {
public:
    const ItemRecord& GetRecord() const { return m_record; }
    ItemRecord& GetRecord() { return m_record; }
    // The linked set (not owned), or null.
    CAnimSpriteSet* GetSpriteSet() const { return m_pSpriteSet; }
    void SetSpriteSet(CAnimSpriteSet* set) { m_pSpriteSet = set; }

private:
    ItemRecord m_record;
    CAnimSpriteSet* m_pSpriteSet = nullptr;
};
