// Item records: the 188-byte record of an item entry, the one-item cache
// through which everything reads an item's properties, and the names of the
// bonus kinds.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/BiString.h"

class CByteReader;
class CObrItemEntry;
class CRleImage;

// The item record of the object files, decoded field by field.
struct ItemRecord {
    static constexpr size_t kSize = 188;
    static constexpr size_t kNameSize = 32;
    // Offsets within the record.
    enum : size_t {
        kKoreanName = 0,
        kEnglishName = 32,
        kWeight = 64,
        kRequiredLevel = 72,
        kPrice = 80,
        kEquipType = 84,   // read as u16
        kClassRestriction = 88,
        kKind1 = 100,
        kValue1 = 104,
        kKind2 = 108,
        kValue2 = 112,
        kTransferMode = 116,
        kPicture = 120,
        kSpriteSetName = 124,
    };

    // NUL-terminated within their 32 bytes.
    std::array<char, kNameSize> koreanName{};
    std::array<char, kNameSize> englishName{};
    int32_t weight = 0;
    int32_t requiredLevel = 0;
    int32_t price = 0;
    uint16_t equipType = 0;        // 0..9 are wearable
    int32_t classRestriction = 0;  // 0 any, 1 classes 4-5, 2 classes 0-1, 3 classes 2-3
    int32_t kind1 = 0;
    int32_t value1 = 0;
    int32_t kind2 = 0;
    int32_t value2 = 0;
    int32_t transferMode = 0;
    int32_t picture = 0;           // frames 2p (inventory) and 2p+1 (map)
    std::array<char, kNameSize> spriteSetName{};

    // Reads the 188 bytes at r's position; false (and r failed) when short.
    bool Read(CByteReader& r);
};

// The item entry of an id, or null for ids <= 0 or >= the item entry count
// of the view's object layer.
const CObrItemEntry* ItemEntryOrNull(int id);

// Names of the bonus kinds 0..13 (kind 0 has none).
constexpr int kBonusKindCount = 14;
extern const std::array<CBiString, kBonusKindCount> BonusKindNames;
// The name of a kind in the current language; "" outside 0..13.
const char* BonusKindName(int kind);

class CItemData {
public:
    static constexpr size_t kTextSize = 32;

    // Makes the id current unless it is already: copies the fields out of
    // its record. An id without an entry leaves an empty item (nothing
    // cached). A negative id keeps the current item.
    void Load(int id);
    // Encoded frame data and its byte size of the inventory and the map
    // picture; null / 0 when the entry's set lacks the frame.
    const uint8_t* GetIconData(int id);
    int GetIconDataSize(int id);
    const uint8_t* GetGroundImageData(int id);
    int GetGroundImageDataSize(int id);
    CRleImage* GetIconFrame(int id);
    CRleImage* GetGroundFrame(int id);
    int GetEquipType(int id);
    // "name+value name+value"; either half may be missing, the blank stays.
    const char* GetDescription(int id);
    // The name in the current language.
    const char* GetName(int id);
    int GetRequiredLevel(int id);
    int GetPrice(int id);
    // 5 for the ids 1, 2, 3, 60, 73, 96 and 97; else half the price.
    int GetSellPrice(int id);
    int GetWeight(int id);
    int GetClassRestriction(int id);
    // 1 for transfer modes 0, 1, 2 / 0, 1, 3.
    int CanGive(int id);
    int CanDrop(int id);

    int GetCachedId() const { return m_id; }
    // Forgets the cached item (the item lists were freed).
    void Reset();

private:
    CRleImage* m_pIcon = nullptr;
    CRleImage* m_pGround = nullptr;
    int32_t m_id = -1;
    uint16_t m_equipType = 0;
    std::array<char, kTextSize> m_description{};
    std::array<char, kTextSize> m_name{};
    int32_t m_requiredLevel = 0;
    int32_t m_price = 0;
    int32_t m_weight = 0;
    int32_t m_classRestriction = 0;
    int32_t m_transferMode = 0;
};

extern CItemData g_itemData;

// The bonus text of two pairs, at most 31 bytes and never cut inside a
// double-byte character.
void FormatBonusText(const ItemRecord& rec, std::array<char, CItemData::kTextSize>& out);
