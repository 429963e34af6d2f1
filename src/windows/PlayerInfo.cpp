#include "windows/PlayerInfo.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "app/ReceiveDispatch.h"
#include "core/BiString.h"
#include "intro/AccountRecord.h"
#include "intro/IntroLayer.h"
#include "rules/CalcData.h"
#include "rules/ItemData.h"
#include "world/Character.h"
#include "world/CharacterRecord.h"
#include "world/ObjLayer.h"
#include "world/StageLoader.h"
#include "windows/UiService.h"

CPlayerInfo g_playerInfo;

namespace {

constexpr int32_t kNoStats[5] = {0, 0, 0, 0, 0};
constexpr size_t kProfileText = CharacterRecord::kFieldImageSize;

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

// The record goes to the object layer's copy, then the field is reported.
void Report(CharacterRecord& rec, int field, int a = 0, int b = 0)
{
    CObjLayer* layer = GetObjLayer();
    layer->SetMyCharRecord(rec);
    layer->SendCharacterField(field, a, b);
}

void Notice(const CBiString& text) { Ui().ShowNotice(text.Get(), CPlayerInfo::kNoticeTicks); }

}  // namespace

bool CPlayerInfo::SpendTechPoint()
{
    if (m_techPointsLeft < 1)
        return false;
    --m_techPointsLeft;
    return true;
}

uint16_t CPlayerInfo::GetCharId() const { return g_myId; }

uint32_t CPlayerInfo::GetBattleState() const
{
    const CObjLayer* layer = GetObjLayer();
    return layer && layer->m_inBattle ? layer->m_battleNumber : 0;
}

int CPlayerInfo::GetMapId() const { return g_currentMapId; }

const int32_t* CPlayerInfo::GetClassStats() const
{
    const int32_t* row = ClassBaseStats(m_class);
    return row ? row : kNoStats;
}

bool CPlayerInfo::RestrictionAdmits(int restriction, int cls)
{
    switch (restriction) {
    case 0: return true;
    case 1: return cls == 4 || cls == 5;
    case 2: return cls == 0 || cls == 1;
    case 3: return cls == 2 || cls == 3;
    default: return false;
    }
}

bool CPlayerInfo::CanClassUse(int itemId) const
{
    return RestrictionAdmits(g_itemData.GetClassRestriction(itemId), m_class);
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

void CPlayerInfo::GetProfileText(char* out, size_t size) const
{
    if (!out || size == 0)
        return;
    out[0] = '\0';
    const CharacterRecord* rec = GetMyRecord();
    if (!rec)
        return;
    const char* text = reinterpret_cast<const char*>(rec->bytes.data() + kProfileText);
    const size_t n = std::min(strnlen(text, CharacterRecord::kSize - kProfileText), size - 1);
    std::memcpy(out, text, n);
    out[n] = '\0';
}

CharacterRecord* CPlayerInfo::GetMyRecord() const
{
    // My character's record while it exists: the field commits it over the
    // layer's copy, which would undo changes made to the copy alone.
    CObjLayer* layer = GetObjLayer();
    if (!layer)
        return nullptr;
    CCharacter* me = layer->GetMyCharacter();
    return me ? &me->GetCharRecord() : &layer->MyRecord();
}

int CPlayerInfo::GetLevel() const
{
    const CharacterRecord* rec = GetMyRecord();
    return rec ? rec->I32(CharacterRecord::kLevel) : 0;
}

int CPlayerInfo::GetMoney() const
{
    const CharacterRecord* rec = GetMyRecord();
    return rec ? rec->I32(CharacterRecord::kMoney) : 0;
}

int CPlayerInfo::GetRemain() const
{
    const CharacterRecord* rec = GetMyRecord();
    return rec ? rec->I32(CharacterRecord::kRemain) : 0;
}

uint32_t CPlayerInfo::GetGameTime() const
{
    const CharacterRecord* rec = GetMyRecord();
    return rec ? rec->U32(CharacterRecord::kGameTime) : 0;
}

int CPlayerInfo::GetHqValue() const
{
    const CharacterRecord* rec = GetMyRecord();
    return rec ? rec->I32(CharacterRecord::kServerValue28) : 0;
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

uint16_t* CPlayerInfo::GetCabinetList()
{
    CObjLayer* layer = GetObjLayer();
    return layer ? layer->m_cabinet.data() : m_cabinet.data();
}

int CPlayerInfo::GetCabinetItem(int slot) const
{
    if (slot < 0 || slot >= kCabinetSlots)
        return 0;
    return const_cast<CPlayerInfo*>(this)->GetCabinetList()[slot];
}

void CPlayerInfo::SetCabinetItem(int slot, int id)
{
    if (id >= 0 && id <= 0xFFFF && slot >= 0 && slot < kCabinetSlots)
        GetCabinetList()[slot] = static_cast<uint16_t>(id);
}

void CPlayerInfo::SetSingleSlot(int id)
{
    if (id >= 0 && id <= 0xFFFF)
        m_singleSlot = static_cast<uint16_t>(id);
}

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

bool CPlayerInfo::AddItem(int id)
{
    CharacterRecord* rec = GetMyRecord();
    const int slot = LastUsedItemSlot() + 1;
    if (!rec || id <= 0 || id > 0x7FFF || slot >= kItemSlots)
        return false;
    SetItem(*rec, slot, id);
    Report(*rec, 51, slot);
    return true;
}

bool CPlayerInfo::RemoveItem(int id)
{
    CharacterRecord* rec = GetMyRecord();
    if (!rec || id <= 0)
        return false;
    int i = 0;
    while (i < kItemSlots && GetItem(*rec, i) != id)
        ++i;
    if (i == kItemSlots)
        return false;
    const int j = LastUsedItemSlot();
    rec->SetItem(i, rec->Item(j));
    rec->SetItem(j, 0);
    Report(*rec, 52, i, j);
    return true;
}

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

bool CPlayerInfo::TryTakeItem(int id, int price)
{
    static const CBiString noMoney("돈이 모자랍니다.\0You have not enough money");
    static const CBiString cannotCarry("더 이상 가질 수 없습니다.\0You cannot have any more");
    CharacterRecord* rec = GetMyRecord();
    if (!rec || price < 0)
        return false;
    if (GetMoney() < price) {
        Notice(noMoney);
        return false;
    }
    if (IsOverWeight(id) != 0 || !AddItem(id)) {
        Notice(cannotCarry);
        return false;
    }
    rec->SetU32(CharacterRecord::kMoney, static_cast<uint32_t>(GetMoney() - price));
    Report(*rec, 30);
    Ui().RefreshWindows();
    return true;
}

bool CPlayerInfo::SellItem(int id, int price)
{
    CharacterRecord* rec = GetMyRecord();
    if (!rec || price < 0 || GetMoney() > INT32_MAX - price || !RemoveItem(id))
        return false;
    rec->SetU32(CharacterRecord::kMoney, static_cast<uint32_t>(GetMoney() + price));
    Report(*rec, 30);
    Ui().RefreshWindows();
    return true;
}

void CPlayerInfo::UnequipUnusable()
{
    CharacterRecord* rec = GetMyRecord();
    if (!rec)
        return;
    for (int s = 0; s < kEquipSlots; ++s) {
        const int item = GetEquip(*rec, s);
        if (item <= 0)
            continue;
        if (g_itemData.GetRequiredLevel(item) <= GetLevel() && CanClassUse(item))
            continue;
        if (!AddItem(item))
            continue;  // the list is full: it stays on
        rec->SetEquip(s, 0);
        Report(*rec, 53, s);
    }
}
