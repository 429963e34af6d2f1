// The item entry of an object file's ITM section: the item record and the
// sprite set of its pictures, linked by name when the file is read.
#pragma once
#include "rules/ItemData.h"
#include "world/ObrEntry.h"

class CAnimSpriteSet;

class CObrItemEntry : public CObrEntry {
public:
    CObrItemEntry() : CObrEntry(kindItem) {}
    // The 188-byte record; the name is the record's first 32 bytes, the
    // sprite-set name the 32 at offset 124.
    int Read(CByteReader& r) override;

    const ItemRecord& GetRecord() const { return m_record; }
    ItemRecord& GetRecord() { return m_record; }
    // The linked set (not owned), or null.
    CAnimSpriteSet* GetSpriteSet() const;
    void SetSpriteSet(CAnimSpriteSet* set);

private:
    ItemRecord m_record;
};
