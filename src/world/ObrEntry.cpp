#include "world/ObrEntry.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "core/AnimSpriteSet.h"
#include "core/ByteReader.h"
#include "core/ItemSpriteSet.h"
#include "rules/CalcData.h"
#include "world/ObrItemEntry.h"
#include "world/SlotText.h"

namespace {

// The items every new character of a class group starts with, slots 0..4.
constexpr uint16_t kDefaultItems[3][5] = {
    {96, 1, 2, 3, 60},
    {96, 1, 2, 3, 97},
    {96, 1, 2, 3, 73},
};

constexpr uint8_t kFigureGroup = 3;       // a named non-player figure
constexpr size_t kFigureNameBytes = 17;   // the name field it clears
constexpr size_t kDisplayNameBytes = 16;  // copied into the name

}  // namespace

int32_t DecimalValue(const char* text, size_t n)
{
    size_t i = 0;
    while (i < n && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t v = 0;
    for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i) {
        v = v * 10 + (text[i] - '0');
        if (v > std::numeric_limits<int32_t>::max())
            return negative ? std::numeric_limits<int32_t>::min() : std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(negative ? -v : v);
}

std::string_view CObrEntry::GetName() const { return SlotText(m_name, kNameSize); }
std::string_view CObrEntry::GetSpriteSetName() const { return SlotText(m_spriteSetName, kNameSize); }

// ---- characters ----------------------------------------------------------

int CObrCharEntry::Read(CByteReader& r)
{
    r.Bytes(m_spriteSetName, kNameSize);
    r.Skip(4);
    r.Bytes(m_record.bytes.data(), m_record.bytes.size());
    if (!r.Ok())
        return -1;
    Complete();
    return 0;
}

void CObrCharEntry::Complete()
{
    CharacterRecord& rec = m_record;
    std::memcpy(m_name, rec.bytes.data() + CharacterRecord::kTypeName, kNameSize);
    const uint8_t group = rec.bytes[CharacterRecord::kClassGroup];
    if (group != kFigureGroup) {
        rec.SetU32(CharacterRecord::kHp, static_cast<uint32_t>(CalcMaxHp(rec)));
        rec.SetU32(CharacterRecord::kMp, static_cast<uint32_t>(CalcMaxMp(rec)));
    }
    rec.SetU32(CharacterRecord::kGameTime, 0);
    rec.SetU32(CharacterRecord::kServerValue28, 100);
    rec.SetU16(CharacterRecord::kFame, 1000);
    rec.SetU32(CharacterRecord::kExperience, 0);
    rec.SetU16(CharacterRecord::kInputA, 1);
    rec.SetU16(CharacterRecord::kJailed, 0);
    rec.SetU16(CharacterRecord::kInputB, 1);
    rec.SetU32(CharacterRecord::kLevel, static_cast<uint32_t>(CalcLevelFromStats(rec)));
    rec.SetU32(CharacterRecord::kSpeedClass, static_cast<uint32_t>(GetClassBaseValue(rec)));
    if (group == kFigureGroup) {
        std::memset(rec.bytes.data() + CharacterRecord::kName, 0, kFigureNameBytes);
        std::memcpy(rec.bytes.data() + CharacterRecord::kName, rec.bytes.data() + CharacterRecord::kDisplayName,
                    kDisplayNameBytes);
    } else if (group < 3) {
        for (int slot = 0; slot < 5; ++slot)
            rec.SetItem(slot, kDefaultItems[group][slot]);
    }
    m_id = DecimalValue(m_name, kNameSize);
}

CAnimSpriteSet* CObrCharEntry::GetSpriteSet() const
{
    return static_cast<CAnimSpriteSet*>(m_pSpriteSet);
}

void CObrCharEntry::SetSpriteSet(CAnimSpriteSet* set)
{
    m_pSpriteSet = set;
}

// ---- buildings -------------------------------------------------------------

int CObrBuildingEntry::Read(CByteReader& r)
{
    r.Bytes(m_name, kNameSize);
    r.Bytes(m_spriteSetName, kNameSize);
    return r.Ok() ? 0 : -1;
}

CItemSpriteSet* CObrBuildingEntry::GetSpriteSet() const
{
    return static_cast<CItemSpriteSet*>(m_pSpriteSet);
}

void CObrBuildingEntry::SetSpriteSet(CItemSpriteSet* set)
{
    m_pSpriteSet = set;
}

// ---- items -----------------------------------------------------------------

int CObrItemEntry::Read(CByteReader& r)
{
    if (!m_record.Read(r))
        return -1;
    std::memcpy(m_name, m_record.koreanName.data(), kNameSize);
    std::memcpy(m_spriteSetName, m_record.spriteSetName.data(), kNameSize);
    return 0;
}

CAnimSpriteSet* CObrItemEntry::GetSpriteSet() const
{
    return static_cast<CAnimSpriteSet*>(m_pSpriteSet);
}

void CObrItemEntry::SetSpriteSet(CAnimSpriteSet* set)
{
    m_pSpriteSet = set;
}
