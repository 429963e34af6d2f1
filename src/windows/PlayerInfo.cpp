#include "windows/PlayerInfo.h"

#include <algorithm>
#include <cstring>

#include "app/ReceiveDispatch.h"
#include "intro/AccountRecord.h"
#include "intro/IntroLayer.h"
#include "rules/CalcData.h"
#include "rules/ItemData.h"
#include "world/CharacterRecord.h"
#include "world/ObjLayer.h"

CPlayerInfo g_playerInfo;

namespace {
constexpr int32_t kNoStats[5] = {0, 0, 0, 0, 0};
}

uint16_t CPlayerInfo::GetCharId() const { return g_myId; }

const int32_t* CPlayerInfo::GetClassStats() const
{
    const int32_t* row = ClassBaseStats(m_class);
    return row ? row : kNoStats;
}

CharacterRecord* CPlayerInfo::GetMyRecord() const
{
    CObjLayer* layer = GetObjLayer();
    return layer ? &layer->MyRecord() : nullptr;
}

int CPlayerInfo::GetItem(const CharacterRecord& rec, int slot)
{
    return slot >= 0 && slot < kItemSlots ? static_cast<int16_t>(rec.Item(slot)) : 0;
}

int CPlayerInfo::GetEquip(const CharacterRecord& rec, int slot)
{
    return slot >= 0 && slot < kEquipSlots ? static_cast<int16_t>(rec.Equip(slot)) : 0;
}

void CPlayerInfo::SetItem(CharacterRecord& rec, int slot, int id)
{
    if (id >= 0 && id <= 0x7FFF && slot >= 0 && slot < kItemSlots)
        rec.SetItem(slot, static_cast<uint16_t>(id));
}

void CPlayerInfo::SetEquip(CharacterRecord& rec, int slot, int id)
{
    if (id >= 0 && id <= 0x7FFF && slot >= 0 && slot < kEquipSlots)
        rec.SetEquip(slot, static_cast<uint16_t>(id));
}

uint8_t* CPlayerInfo::GetItemList(CharacterRecord& rec) { return rec.bytes.data() + CharacterRecord::kItems; }

uint8_t* CPlayerInfo::GetEquipList(CharacterRecord& rec) { return rec.bytes.data() + CharacterRecord::kEquipment; }

int CPlayerInfo::LastUsedItemSlot() const
{
    const CharacterRecord* rec = GetMyRecord();
    if (!rec)
        return -1;
    for (int i = kItemSlots - 1; i >= 0; --i)
        if (rec->Item(i) != 0)
            return i;
    return -1;
}

bool CPlayerInfo::RemoveItem(int id)
{
    CharacterRecord* rec = GetMyRecord();
    if (!rec || id == 0)
        return false;
    int i = 0;
    while (i < kItemSlots && GetItem(*rec, i) != id)
        ++i;
    if (i == kItemSlots)
        return false;
    const int j = LastUsedItemSlot();
    rec->SetItem(i, rec->Item(j));
    rec->SetItem(j, 0);
    CObjLayer* layer = GetObjLayer();
    layer->SetMyCharRecord(*rec);
    layer->SendCharacterField(52, i, j);
    return true;
}

namespace {

// Entries used from slot 0 up to the first empty one.
int CountCarried(const CharacterRecord& rec)
{
    int n = 0;
    while (n < CPlayerInfo::kItemSlots && rec.Item(n) != 0)
        ++n;
    return n;
}

// Weight of a listed id; a slot's negative id weighs nothing.
long long Weight(int id) { return id > 0 ? g_itemData.GetWeight(id) : 0; }

}  // namespace

bool CPlayerInfo::IsListFull() const
{
    const CharacterRecord* rec = GetMyRecord();
    return rec && CountCarried(*rec) >= kCarryLimit;
}

int CPlayerInfo::IsOverWeight(int id) const
{
    const CharacterRecord* rec = GetMyRecord();
    if (!rec)
        return 0;
    const int carried = CountCarried(*rec);
    long long weight = 0;
    for (int i = 0; i < carried; ++i)
        weight += Weight(GetItem(*rec, i));
    if (carried >= kCarryLimit)
        return 1;
    for (int s = 0; s < kEquipSlots; ++s)
        if (const int e = GetEquip(*rec, s))
            weight += Weight(e);
    weight += Weight(id);
    return weight > CalcMaxWeight(*rec) ? 2 : 0;
}

void CPlayerInfo::GetLoginId(char* out, size_t size) const
{
    if (out && size > 0)
        g_loginRecord.GetText(AccountRecord::kId, AccountRecord::kIdSize, out, size);
}

void CPlayerInfo::GetCharName(char* out, size_t size) const
{
    if (!out || size == 0)
        return;
    char name[AccountRecord::kSlotNameSize] = {};
    g_loginRecord.SlotName(g_selectedSlot, name);
    const size_t n = std::min(strnlen(name, sizeof name), size - 1);
    std::memcpy(out, name, n);
    out[n] = '\0';
}
