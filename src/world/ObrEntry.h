// The entries of the object files (.obr): what a character, a building or
// an item kind is called and which sprite set draws it. The object layer
// owns the entries and their sets; an entry's set is linked by name when the
// file is read.
//
// Records (little-endian): CHR 632 bytes = sprite-set name (32), 4 bytes not
// used, the character record (596); BLD 64 bytes = structure name (32),
// sprite-set name (32); ITM the 188-byte item record (its name at 0, the
// sprite-set name at 124).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "world/CharacterRecord.h"

class CAnimSpriteSet;
class CByteReader;
class CItemSpriteSet;
class CSpriteSet;

class CObrEntry {
public:
    enum Kind : uint32_t { kindChar = 0, kindBuilding = 1, kindItem = 2 };
    static constexpr size_t kNameSize = 32;

    explicit CObrEntry(uint32_t kind) : m_kind(kind) {}
    virtual ~CObrEntry() = default;
    CObrEntry(const CObrEntry&) = delete;
    CObrEntry& operator=(const CObrEntry&) = delete;

    // Reads the entry's record at r's position: 0, or -1 when it is short.
    virtual int Read(CByteReader& r) = 0;

    uint32_t GetKind() const { return m_kind; }
    // Both within their 32-byte slots.
    std::string_view GetName() const;
    std::string_view GetSpriteSetName() const;
    // The linked set (not owned), or null; each kind links its own class
    // of set (SetSpriteSet).
    CSpriteSet* GetLinkedSet() const { return m_pSpriteSet; }

protected:
    uint32_t m_kind;
    char m_name[kNameSize] = {};
    char m_spriteSetName[kNameSize] = {};
    CSpriteSet* m_pSpriteSet = nullptr;
};

// A character kind: the numeric id is the decimal value of its name; the
// record is completed as the game expects when it is read.
class CObrCharEntry : public CObrEntry {
public:
    static constexpr size_t kRecordSize = 632;

    CObrCharEntry() : CObrEntry(kindChar) {}
    int Read(CByteReader& r) override;

    int32_t GetId() const { return m_id; }
    const CharacterRecord& GetCharRecord() const { return m_record; }
    CharacterRecord& GetCharRecord() { return m_record; }
    // The linked animated set, or null.
    CAnimSpriteSet* GetSpriteSet() const;
    void SetSpriteSet(CAnimSpriteSet* set);

    // The completion every character entry gets: name and numeric id from
    // the record's type name, HP and MP maxima (not for figures of class
    // group 3), the start values, the level and speed class, the display
    // name of group-3 figures and the default items of the class group.
    void Complete();

private:
    int32_t m_id = 0;
    CharacterRecord m_record;
};

class CObrBuildingEntry : public CObrEntry {
public:
    static constexpr size_t kRecordSize = 64;

    CObrBuildingEntry() : CObrEntry(kindBuilding) {}
    int Read(CByteReader& r) override;
    // The linked item set (footprint, piece and solid maps), or null.
    CItemSpriteSet* GetSpriteSet() const;
    void SetSpriteSet(CItemSpriteSet* set);
};

// The decimal value of a name of at most n bytes: optional sign, then
// digits; 0 when there are none. Saturates instead of overflowing.
int32_t DecimalValue(const char* text, size_t n);
