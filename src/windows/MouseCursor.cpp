#include "windows/MouseCursor.h"

#include "app/QuillonView.h"
#include "core/BiString.h"
#include "core/SlrList.h"
#include "rules/CalcData.h"
#include "rules/ItemData.h"
#include "windows/DaradirUzedo.h"
#include "windows/PlayerInfo.h"
#include "windows/UiService.h"
#include "world/CharacterRecord.h"
#include "world/ObjLayer.h"
#include "world/SendPacket.h"
#include "world/StageLoader.h"

CMouseCursor g_mouseCursor;
CMouseCursor g_lastMouseCursor;

namespace {

constexpr int kItems = CPlayerInfo::kItemSlots;
constexpr int kEquip = CPlayerInfo::kEquipSlots;
constexpr int kCabinet = CPlayerInfo::kCabinetSlots;
constexpr int kSpeedField = 24;

CharacterRecord* Record() { return g_playerInfo.GetMyRecord(); }

// The record goes to the object layer's copy, then the field is reported.
void Report(CharacterRecord& rec, int field, int a = 0, int b = 0)
{
    if (CObjLayer* layer = GetObjLayer()) {
        layer->SetMyCharRecord(rec);
        layer->SendCharacterField(field, a, b);
    }
}

// The item list or the cabinet as one kind of list.
class CListRef {
public:
    explicit CListRef(CharacterRecord& rec) : m_rec(&rec), m_size(kItems) {}
    CListRef() : m_size(kCabinet) {}
    int Size() const { return m_size; }
    int Get(int i) const
    {
        return m_rec ? CPlayerInfo::GetItem(*m_rec, i) : g_playerInfo.GetCabinetItem(i);
    }
    void Set(int i, int id) const
    {
        if (m_rec)
            CPlayerInfo::SetItem(*m_rec, i, id);
        else
            g_playerInfo.SetCabinetItem(i, id);
    }
    bool Valid(int i) const { return i >= 0 && i < m_size; }
    // The first empty entry at or after from; -1 when none.
    int FirstEmpty(int from) const
    {
        for (int i = from < 0 ? 0 : from; i < m_size; ++i)
            if (Get(i) == 0)
                return i;
        return -1;
    }
    // Right after the last item at or below the cell, kept inside the list.
    int TargetPosition(int cell) const
    {
        int pos = 0;
        for (int i = cell; i >= 0; --i)
            if (Get(i) != 0) {
                pos = i + 1;
                break;
            }
        return pos < m_size ? pos : m_size - 1;
    }
    // Where an item from elsewhere dropped on the cell goes: the target
    // position, or the first gap when nothing is empty from there; -1 full.
    int InsertPosition(int cell) const
    {
        const int pos = TargetPosition(cell);
        return FirstEmpty(pos) >= 0 ? pos : FirstEmpty(0);
    }
    void Remove(int slot) const
    {
        for (int i = slot; i < m_size && (Get(i) != 0 || (i + 1 < m_size && Get(i + 1) != 0)); ++i)
            Set(i, i + 1 < m_size ? Get(i + 1) : 0);
    }
    bool Insert(int position, int id) const
    {
        const int empty = FirstEmpty(position);
        if (id < 0 || !Valid(position) || empty < 0)
            return false;
        for (int i = empty; i > position; --i)
            Set(i, Get(i - 1));
        Set(position, id);
        return true;
    }

private:
    CharacterRecord* m_rec = nullptr;
    int m_size;
};

// Item 88's adjustments are not made in a death match.
bool SpeedRuleSuspended()
{
    const CObjLayer* layer = GetObjLayer();
    return layer && layer->m_inBattle &&
           (g_currentMapId >= CMouseCursor::kDeathMatchFirst ||
            layer->m_battleNumber >= static_cast<uint32_t>(CMouseCursor::kDeathMatchFirst));
}

uint32_t SpeedField(const CharacterRecord& rec) { return rec.U32(CharacterRecord::kSpeedClass); }

void SetSpeedField(CharacterRecord& rec, uint32_t value)
{
    rec.SetU32(CharacterRecord::kSpeedClass, value);
    Report(rec, kSpeedField);
}

uint32_t SpeedBase(const CharacterRecord& rec) { return static_cast<uint32_t>(GetClassBaseValue(rec)); }

// The cabinet's report of an inventory item moving in: the slot and the
// item itself (never a cabinet entry read with an inventory index).
void ReportToCabinet(int slot, int id)
{
    SendPacket(CByteWriter().U8(53).U8(64).U8(static_cast<uint32_t>(slot)).U16(static_cast<uint32_t>(id)));
}

void Notice(const CBiString& text) { Ui().ShowNotice(text.Get(), CPlayerInfo::kNoticeTicks); }

}  // namespace

// ---- list edits -------------------------------------------------------------------

void CMouseCursor::RemoveSlotItem(int slot)
{
    CharacterRecord* rec = Record();
    if (!rec || slot < 0 || slot >= kItems)
        return;
    CListRef(*rec).Remove(slot);
    Report(*rec, 57, slot);
}

bool CMouseCursor::InsertIntoList(int position, int id)
{
    CharacterRecord* rec = Record();
    if (!rec || !CListRef(*rec).Insert(position, id))
        return false;
    Report(*rec, 56, position, id);
    return true;
}

void CMouseCursor::RemoveCabinetSlot(int slot)
{
    if (slot < 0 || slot >= kCabinet)
        return;
    CListRef().Remove(slot);
    if (CObjLayer* layer = GetObjLayer())
        layer->SendCharacterField(67, slot);
}

bool CMouseCursor::InsertIntoCabinet(int position, int id)
{
    if (!CListRef().Insert(position, id))
        return false;
    if (CObjLayer* layer = GetObjLayer())
        layer->SendCharacterField(66, position, id);
    return true;
}

void CMouseCursor::RemoveSourceSlot() const
{
    if (CDaradirUzedo* ui = g_layerHolder.GetLayer())
        ui->m_itemArrivedFlag = 0;
    CharacterRecord* rec = Record();
    if (rec && CPlayerInfo::GetItem(*rec, m_slot) == 0)
        RemoveSlotItem(m_slot);
}

// ---- drops --------------------------------------------------------------------------

void CMouseCursor::DropOnInventory(int cell)
{
    static const CBiString tooMany("더 이상 가질 수 없습니다.\0You have too many items.");
    static const CBiString tooHeavy("더 이상 가질 수 없습니다.\0You have too heavy items.");
    CharacterRecord* rec = Record();
    if (!rec || m_itemId <= 0 || cell < 0 || cell >= kItems)
        return;
    if (m_source == kFromItems) {
        DropFromList(cell);
        return;
    }
    if (m_source == kFromCabinet) {
        if (const int why = g_playerInfo.IsOverWeight(m_itemId)) {
            Notice(why == 1 ? tooMany : tooHeavy);
            return;
        }
    }
    const CListRef list(*rec);
    const int pos = list.InsertPosition(cell);
    if (pos < 0)
        return;
    if (m_source == kFromEquipment) {
        // Field 53 always goes: the server must not see the item twice.
        const bool speed = m_itemId == kSpeedItem && !SpeedRuleSuspended();
        if (speed)
            rec->SetU32(CharacterRecord::kSpeedClass, SpeedBase(*rec));
        Report(*rec, 53, m_slot);
        if (speed)
            Report(*rec, kSpeedField);
    } else if (m_source == kFromCabinet) {
        if (g_playerInfo.GetCabinetItem(m_slot) == 0)
            RemoveCabinetSlot(m_slot);
    } else {
        g_playerInfo.SetSingleSlot(0);
    }
    InsertIntoList(pos, m_itemId);
    Clear();
}

// A move inside the item list; the source slot holds the gap of the
// pick-up unless an item arrived into it.
void CMouseCursor::DropFromList(int cell)
{
    CharacterRecord* rec = Record();
    const CListRef list(*rec);
    const int pos = list.TargetPosition(cell);
    const bool gap = list.Valid(m_slot) && list.Get(m_slot) == 0;
    if (m_slot == pos && gap) {
        list.Set(pos, m_itemId);
    } else if (m_slot < pos && list.FirstEmpty(pos) >= 0) {
        InsertIntoList(pos, m_itemId);
        RemoveSourceSlot();
    } else if (gap) {
        // Closing the gap first frees the last entry.
        RemoveSourceSlot();
        InsertIntoList(m_slot < pos ? pos - 1 : pos, m_itemId);
    } else if (list.FirstEmpty(pos) >= 0) {
        InsertIntoList(pos, m_itemId);
    } else {
        return;
    }
    Clear();
}

void CMouseCursor::DropOnEquipSlot(int equip)
{
    CharacterRecord* rec = Record();
    if (!rec || m_itemId <= 0 || equip < 0 || equip >= kEquip)
        return;
    if (g_itemData.GetEquipType(m_itemId) != equip || g_itemData.GetRequiredLevel(m_itemId) > g_playerInfo.GetLevel() ||
        !g_playerInfo.CanClassUse(m_itemId))
        return;
    const int worn = CPlayerInfo::GetEquip(*rec, equip);
    const bool speedRule = !SpeedRuleSuspended();
    if (m_source == kFromItems) {
        const CListRef list(*rec);
        const bool gap = list.Valid(m_slot) && list.Get(m_slot) == 0;
        // The item taken off goes into the gap, or else the first free entry.
        const int back = worn > 0 && !gap ? list.FirstEmpty(0) : m_slot;
        if (worn > 0 && back < 0)
            return;
        if (worn > 0) {
            if (speedRule && m_itemId == kSpeedItem && SpeedField(*rec) < kSpeedCap)
                SetSpeedField(*rec, SpeedField(*rec) + 1);
            if (speedRule && worn == kSpeedItem)
                SetSpeedField(*rec, SpeedField(*rec) - 1);
            CPlayerInfo::SetEquip(*rec, equip, m_itemId);
            Report(*rec, 53, equip);
            if (gap) {
                list.Set(m_slot, worn);
                Report(*rec, 51, m_slot);
            } else {
                InsertIntoList(back, worn);
            }
        } else {
            if (speedRule && m_itemId == kSpeedItem && SpeedField(*rec) < kSpeedCap)
                SetSpeedField(*rec, SpeedBase(*rec) + 1);
            CPlayerInfo::SetEquip(*rec, equip, m_itemId);
            RemoveSourceSlot();
            Report(*rec, 53, equip);
        }
        Clear();
    } else if (m_source == kFromEquipment) {
        // Back to a box it fits; nothing is reported.
        if (worn > 0 && CPlayerInfo::GetEquip(*rec, m_slot) == 0)
            CPlayerInfo::SetEquip(*rec, m_slot, worn);
        else if (worn > 0)
            return;
        CPlayerInfo::SetEquip(*rec, equip, m_itemId);
        Clear();
    }
}

void CMouseCursor::DropOnCabinet(int cell)
{
    if (m_itemId <= 0 || cell < 0 || cell >= kCabinet || (m_source != kFromItems && m_source != kFromCabinet) ||
        g_playerInfo.GetCabinetItem(kCabinet - 1) != 0)
        return;
    const CListRef cabinet;
    if (m_source == kFromItems) {
        const int pos = cabinet.InsertPosition(cell);
        ReportToCabinet(m_slot, m_itemId);
        RemoveSourceSlot();
        InsertIntoCabinet(pos, m_itemId);
        Clear();
        return;
    }
    const int pos = cabinet.TargetPosition(cell);
    const bool gap = cabinet.Valid(m_slot) && cabinet.Get(m_slot) == 0;
    if (m_slot == pos && gap) {
        cabinet.Set(pos, m_itemId);
    } else if (m_slot < pos) {
        InsertIntoCabinet(pos, m_itemId);
        if (gap)
            RemoveCabinetSlot(m_slot);
    } else {
        if (gap)
            RemoveCabinetSlot(m_slot);
        InsertIntoCabinet(pos, m_itemId);
    }
    Clear();
}

// ---- return and release ----------------------------------------------------------------

void CMouseCursor::ReturnCarried()
{
    if (m_itemId < 1 || m_targetX >= 1 || Ui().IsWindowOpen(kBigChatWindow))
        return;
    CharacterRecord* rec = Record();
    switch (m_source) {
    case kFromCabinet: {
        const CListRef cabinet;
        const int e = cabinet.FirstEmpty(0);
        if (e < 0)
            return;
        cabinet.Set(e, m_itemId);
        break;
    }
    case kFromSingleSlot:
        if (g_playerInfo.GetSingleSlot() != 0)
            return;
        g_playerInfo.SetSingleSlot(m_itemId);
        break;
    case kFromEquipment:
        if (rec && CPlayerInfo::GetEquip(*rec, m_slot) == 0) {
            CPlayerInfo::SetEquip(*rec, m_slot, m_itemId);
            if (m_removalReported)
                Report(*rec, 53, m_slot);
            break;
        }
        // The box was filled meanwhile: a reported item goes to the list.
        if (!rec || !m_removalReported || !InsertIntoList(CListRef(*rec).FirstEmpty(0), m_itemId))
            return;
        break;
    default: {
        if (!rec)
            return;
        const CListRef list(*rec);
        const int e = list.FirstEmpty(0);
        if (e < 0)
            return;
        if (m_removalReported)
            InsertIntoList(e, m_itemId);
        else
            list.Set(e, m_itemId);
        break;
    }
    }
    Clear();
}

bool CMouseCursor::CanRelease() const
{
    return m_itemId > 0 && (m_source == kFromItems || m_source == kFromEquipment) &&
           g_lastMouseCursor.GetItemId() == 0 && !g_colonyMode && !Ui().IsWindowOpen(kCabinetWindow);
}

void CMouseCursor::ReportRelease()
{
    CharacterRecord* rec = Record();
    if (!rec || m_removalReported)
        return;
    if (m_source == kFromEquipment)
        Report(*rec, 53, m_slot);
    else if (m_source == kFromItems)
        RemoveSourceSlot();
    m_removalReported = true;
}

bool CMouseCursor::DropCarried()
{
    if (!CanRelease())
        return false;
    ReportRelease();
    g_lastMouseCursor = *this;
    Clear();
    return true;
}

void CMouseCursor::ApplyToPlayer()
{
    CharacterRecord* rec = Record();
    if (!rec || SpeedRuleSuspended())
        return;
    if (m_source == kFromEquipment && m_itemId == kSpeedItem && SpeedField(*rec) < kSpeedCap)
        SetSpeedField(*rec, SpeedBase(*rec));
}

void CMouseCursor::Draw(int x, int y, uint8_t* surface) const
{
    if (m_itemId > 0)
        DrawItemIcon(m_itemId, x, y, surface, true);
}

bool DrawItemIcon(int id, int x, int y, uint8_t* surface, bool middle, int* w, int* h)
{
    const uint8_t* data = id > 0 ? g_itemData.GetIconData(id) : nullptr;
    const int size = data ? g_itemData.GetIconDataSize(id) : 0;
    CSlrList icon;
    if (size <= 0 || icon.CreateFromBuffer(data, static_cast<size_t>(size)) != 0)
        return false;
    const int iw = icon.GetWidth(), ih = icon.GetHeight();
    if (w)
        *w = iw;
    if (h)
        *h = ih;
    if (surface)
        icon.Draw(0, x - iw / 2, middle ? y - ih / 2 : y, ScreenTarget(surface));
    return true;
}

void DropMouseItemOnField(int sx, int sy)
{
    CObjLayer* layer = GetObjLayer();
    if (!layer || !g_mouseCursor.CanRelease())
        return;
    layer->DropMouseItem(sx, sy);
    // The layer moved the item to g_lastMouseCursor when it sent the drop.
    if (g_mouseCursor.GetItemId() == 0 && g_lastMouseCursor.GetItemId() > 0)
        g_lastMouseCursor.ReportRelease();
}
