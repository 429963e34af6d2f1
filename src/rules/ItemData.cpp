#include "rules/ItemData.h"

#include <cstdio>
#include <cstring>

#include "core/AnimSpriteSet.h"
#include "core/ByteReader.h"
#include "core/Locale.h"
#include "world/ObjLayer.h"
#include "world/ObrItemEntry.h"

CItemData g_itemData;

const std::array<CBiString, kBonusKindCount> BonusKindNames = {
    CBiString("", ""),
    CBiString("힘", "STR"),
    CBiString("기골", "SIN"),
    CBiString("민첩성", "DEX"),
    CBiString("지혜", "WIS"),
    CBiString("용기", "BRV"),
    CBiString("명중률", "HIT"),
    CBiString("회복률", "REC"),
    CBiString("최대HP", "MaxHP"),
    CBiString("최대MP", "MaxMP"),
    CBiString("HP", "HP"),
    CBiString("MP", "MP"),
    CBiString("공격력", "Attack"),
    CBiString("방어력", "Defence"),
};

namespace {

void ReadName(CByteReader& r, std::array<char, ItemRecord::kNameSize>& out)
{
    r.Bytes(out.data(), out.size());
    out.back() = '\0';
}

// Appends text to out (of size n, holding len bytes) without cutting a
// double-byte character in two; false once something did not fit.
bool Append(char* out, size_t n, size_t& len, const char* text)
{
    for (size_t i = 0; text[i] != '\0';) {
        const bool lead = static_cast<unsigned char>(text[i]) >= 0x80 && text[i + 1] != '\0';
        const size_t width = lead ? 2 : 1;
        if (len + width >= n)
            return false;
        std::memcpy(out + len, text + i, width);
        len += width;
        i += width;
    }
    out[len] = '\0';
    return true;
}

bool AppendBonus(char* out, size_t n, size_t& len, int kind, int value)
{
    char number[16];
    std::snprintf(number, sizeof number, "+%d", value);
    return Append(out, n, len, BonusKindName(kind)) && Append(out, n, len, number);
}

}  // namespace

bool ItemRecord::Read(CByteReader& r)
{
    const size_t start = r.Pos();
    if (r.Remaining() < kSize) {
        r.Skip(kSize);  // fails the reader
        return false;
    }
    ReadName(r, koreanName);
    ReadName(r, englishName);
    weight = r.I32();
    r.Seek(start + kRequiredLevel);
    requiredLevel = r.I32();
    r.Seek(start + kPrice);
    price = r.I32();
    equipType = r.U16();
    r.Seek(start + kClassRestriction);
    classRestriction = r.I32();
    r.Seek(start + kKind1);
    kind1 = r.I32();
    value1 = r.I32();
    kind2 = r.I32();
    value2 = r.I32();
    transferMode = r.I32();
    picture = r.I32();
    ReadName(r, spriteSetName);
    r.Seek(start + kSize);
    return r.Ok();
}

const CObrItemEntry* ItemEntryOrNull(int id)
{
    const CObjLayer* layer = GetObjLayer();
    if (!layer || id <= 0 || static_cast<uint32_t>(id) >= layer->m_itemEntryCount)
        return nullptr;
    return layer->GetItemEntry(id);
}

const char* BonusKindName(int kind)
{
    return kind >= 0 && kind < kBonusKindCount ? BonusKindNames[static_cast<size_t>(kind)].Get() : "";
}

void FormatBonusText(const ItemRecord& rec, std::array<char, CItemData::kTextSize>& out)
{
    out.fill('\0');
    size_t len = 0;
    if (rec.kind1 != 0 && !AppendBonus(out.data(), out.size(), len, rec.kind1, rec.value1))
        return;
    if (!Append(out.data(), out.size(), len, " "))
        return;
    if (rec.kind2 != 0)
        AppendBonus(out.data(), out.size(), len, rec.kind2, rec.value2);
}

void CItemData::Reset()
{
    *this = CItemData{};
}

void CItemData::Load(int id)
{
    if (id < 0 || id == m_id)
        return;
    const CObrItemEntry* entry = ItemEntryOrNull(id);
    if (!entry) {
        Reset();  // no such item: nothing is cached
        return;
    }
    const ItemRecord& rec = entry->GetRecord();
    m_id = id;
    m_pIcon = m_pGround = nullptr;
    if (const CAnimSpriteSet* set = entry->GetSpriteSet()) {
        const long long p = rec.picture;
        if (p >= 0 && 2 * p + 1 < set->GetFrameCount()) {
            m_pIcon = set->GetFrame(static_cast<int>(2 * p));
            m_pGround = set->GetFrame(static_cast<int>(2 * p + 1));
        }
    }
    m_equipType = rec.equipType;
    const auto& name = IsNonKoreanLocale() ? rec.englishName : rec.koreanName;
    std::memcpy(m_name.data(), name.data(), m_name.size());
    m_name.back() = '\0';
    FormatBonusText(rec, m_description);
    m_requiredLevel = rec.requiredLevel;
    m_price = rec.price;
    m_weight = rec.weight;
    m_classRestriction = rec.classRestriction;
    m_transferMode = rec.transferMode;
}

CRleImage* CItemData::GetIconFrame(int id)
{
    Load(id);
    return m_pIcon;
}

CRleImage* CItemData::GetGroundFrame(int id)
{
    Load(id);
    return m_pGround;
}

const uint8_t* CItemData::GetIconData(int id)
{
    const CRleImage* f = GetIconFrame(id);
    return f ? f->GetData() : nullptr;
}

int CItemData::GetIconDataSize(int id)
{
    const CRleImage* f = GetIconFrame(id);
    return f ? static_cast<int>(f->GetDataSize()) : 0;
}

const uint8_t* CItemData::GetGroundImageData(int id)
{
    const CRleImage* f = GetGroundFrame(id);
    return f ? f->GetData() : nullptr;
}

int CItemData::GetGroundImageDataSize(int id)
{
    const CRleImage* f = GetGroundFrame(id);
    return f ? static_cast<int>(f->GetDataSize()) : 0;
}

int CItemData::GetEquipType(int id)
{
    Load(id);
    return m_equipType;
}

const char* CItemData::GetDescription(int id)
{
    Load(id);
    return m_description.data();
}

const char* CItemData::GetName(int id)
{
    Load(id);
    return m_name.data();
}

int CItemData::GetRequiredLevel(int id)
{
    Load(id);
    return m_requiredLevel;
}

int CItemData::GetPrice(int id)
{
    Load(id);
    return m_price;
}

int CItemData::GetSellPrice(int id)
{
    Load(id);
    switch (id) {
    case 1: case 2: case 3: case 60: case 73: case 96: case 97: return 5;
    default: return m_price / 2;
    }
}

int CItemData::GetWeight(int id)
{
    Load(id);
    return m_weight;
}

int CItemData::GetClassRestriction(int id)
{
    Load(id);
    return m_classRestriction;
}

int CItemData::CanGive(int id)
{
    Load(id);
    return m_transferMode >= 0 && m_transferMode <= 2 ? 1 : 0;
}

int CItemData::CanDrop(int id)
{
    Load(id);
    return m_transferMode == 0 || m_transferMode == 1 || m_transferMode == 3 ? 1 : 0;
}
