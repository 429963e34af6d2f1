#include "windows/ItemGrid.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "app/CommandRing.h"
#include "app/StringTable.h"
#include "core/Blit.h"
#include "core/TextLayer.h"
#include "rules/CalcData.h"
#include "rules/ItemData.h"
#include "rules/StartPositions.h"
#include "windows/DaradirUzedo.h"
#include "windows/MouseCursor.h"
#include "windows/PlayerInfo.h"
#include "windows/UiService.h"
#include "world/Character.h"
#include "world/ObjLayer.h"
#include "world/ObrItemEntry.h"
#include "world/StageLoader.h"

namespace {

constexpr int kItems = CPlayerInfo::kItemSlots;
constexpr int32_t kCellsLeft = 18;   // the hit origin's x in the window
constexpr int32_t kIconCentre = 55;  // the first icon's centre
constexpr int32_t kHoverLeft = 20;
constexpr int32_t kCabinetWindow = 98;
// The hair-dye pair: the comb and the dye.
constexpr int kComb = 143;
constexpr int kDye = 144;
constexpr int kToStart = 106;
constexpr int kRecordRecall = 110;
constexpr int kToRecall = 111;
constexpr int kFreeFightMap = 3;
constexpr int kRestoreHp = 10;
constexpr int kRestoreMp = 11;

bool DeathMatch(const CObjLayer* layer)
{
    return layer && layer->m_inBattle && layer->m_battleNumber >= static_cast<uint32_t>(CObjLayer::kDeathMatchFirst);
}

// The object layer starts without a recall point: every field zero.
bool HasRecallPoint(const RecallPoint& p) { return p.map >= 0; }

void AddString(int id) { Ui().AddLine(GetGameString(id)); }

// A restore pair: the value raised by amount, at most max; a potion does
// nothing at the maximum.
bool Restore(int32_t before, int32_t max, int32_t amount, int32_t& value)
{
    if (before >= max)
        return false;
    value = static_cast<int32_t>(std::clamp<int64_t>(int64_t{before} + amount, 0, max));
    return true;
}

}  // namespace

void DrawItemHoverText(int id, int32_t wx, int32_t wy, uint8_t* surface)
{
    CTextLayer* text = g_pTextLayer;
    if (id < 1 || !text || !surface)
        return;
    char line[80];
    std::snprintf(line, sizeof line, "%s %s", g_itemData.GetName(id), g_itemData.GetDescription(id));
    text->SetTarget(surface, kScreenWidth, kScreenHeight);
    text->DrawText(wx + 30, wy + 560, line, 1);
}

CItemGrid::CItemGrid(CWidget* owner, int32_t offsetX, int32_t offsetY)
    : CImageWidget(kId, nullptr, owner, offsetX, offsetY)
{
}

CPoint CItemGrid::WindowPos() const { return m_owner ? *m_owner->GetPos() : m_pos; }

void CItemGrid::Recount()
{
    const CharacterRecord* rec = g_playerInfo.GetMyRecord();
    m_count = 0;
    while (rec && m_count < kItems && CPlayerInfo::GetItem(*rec, m_count) != 0)
        ++m_count;
}

void CItemGrid::Refresh()
{
    if (m_state != kClosed && m_state != kClosing)
        Recount();
}

int32_t CItemGrid::SlotAt(int32_t x, int32_t y, int32_t cellsTop) const
{
    const int64_t dx = int64_t{x} - (WindowPos().x + kCellsLeft);
    const int64_t dy = int64_t{y} - cellsTop;
    if (dx < 0 || dy < 0 || dx / kCellW >= kColumns || dy / kCellH >= kRows)
        return -1;
    return m_top + kColumns * static_cast<int32_t>(dy / kCellH) + static_cast<int32_t>(dx / kCellW);
}

void CItemGrid::Draw(uint8_t* surface)
{
    Update();
    const CharacterRecord* rec = g_playerInfo.GetMyRecord();
    if (m_state == kClosed || !rec)
        return;
    const CPoint w = WindowPos();
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c) {
            const int slot = m_top + kColumns * r + c;
            if (slot >= kItems)
                continue;
            int iw = 0, ih = 0;
            const int id = CPlayerInfo::GetItem(*rec, slot);
            if (id > 0 && DrawItemIcon(id, w.x + kIconCentre + kCellW * c, w.y + kClickTop + kCellH * r, surface,
                                       false, &iw, &ih) &&
                m_iconW == 1 && m_iconH == 1) {
                m_iconW = iw;
                m_iconH = ih;
            }
        }
    if (m_hoverCol >= 0) {
        const int slot = m_top + kColumns * m_hoverRow + m_hoverCol;
        if (slot < kItems)
            DrawItemHoverText(CPlayerInfo::GetItem(*rec, slot), w.x, w.y, surface);
    }
}

int CItemGrid::OnMouseMove(int32_t x, int32_t y)
{
    if (m_state == kClosed)
        return 0;
    const CPoint w = WindowPos();
    const int64_t col = int64_t{x} - w.x - kHoverLeft, row = int64_t{y} - w.y - kClickTop;
    m_hoverCol = m_hoverRow = -1;
    if (col >= 0 && row >= 0 && col / kCellW < kColumns && row / kCellH < kRows) {
        m_hoverCol = static_cast<int32_t>(col / kCellW);
        m_hoverRow = static_cast<int32_t>(row / kCellH);
    }
    return 0;
}

int CItemGrid::OnLButtonDown(int32_t x, int32_t y)
{
    CharacterRecord* rec = g_playerInfo.GetMyRecord();
    if (m_state != kOpen || !rec || g_playerInfo.GetSingleSlot() != 0)
        return 0;
    const int32_t slot = SlotAt(x, y, kClickTop);
    // One item at a time; the cells past the list hold nothing.
    if (slot < 0 || slot >= kItems || g_mouseCursor.IsCarrying())
        return 0;
    g_mouseCursor.PickUp(CPlayerInfo::GetItem(*rec, slot), CMouseCursor::kFromItems, slot);
    CPlayerInfo::SetItem(*rec, slot, 0);
    if (CDaradirUzedo* ui = g_layerHolder.GetLayer())
        ui->m_itemArrivedFlag = 0;
    Refresh();
    return 1;
}

int CItemGrid::OnLButtonUp(int32_t x, int32_t y)
{
    if (m_state != kOpen)
        return 0;
    const int32_t slot = SlotAt(x, y, kClickTop);
    if (slot < 0)
        return 0;
    if (slot < kItems && g_mouseCursor.GetItemId() >= 0)
        g_mouseCursor.DropOnInventory(slot);
    Refresh();
    return 1;
}

int CItemGrid::OnLButtonDblClk(int32_t x, int32_t y)
{
    if (m_state != kOpen)
        return 0;
    const int32_t slot = SlotAt(x, y, kDoubleClickTop);
    if (slot < 0 || Ui().IsWindowOpen(kCabinetWindow))
        return 0;
    if (slot < kItems && UseItem(slot)) {
        // The others in a battle see what the item restored.
        CObjLayer* layer = GetObjLayer();
        if (const CharacterRecord* rec = g_playerInfo.GetMyRecord(); layer && rec)
            layer->SendBattleStatus(rec->I32(CharacterRecord::kHp), rec->I32(CharacterRecord::kMp),
                                    rec->I32(CharacterRecord::kConstitution), rec->I32(CharacterRecord::kWisdom));
        CMouseCursor::RemoveSlotItem(slot);
    }
    return 1;
}

bool CItemGrid::UseItem(int slot)
{
    CharacterRecord* rec = g_playerInfo.GetMyRecord();
    CObjLayer* layer = GetObjLayer();
    const int item = rec ? CPlayerInfo::GetItem(*rec, slot) : 0;
    const CObrItemEntry* entry = ItemEntryOrNull(item);
    if (!rec || !entry)
        return false;
    const ItemRecord& data = entry->GetRecord();
    const bool inBattle = layer && layer->m_inBattle;
    if (!inBattle && (item == kComb || item == kDye)) {
        const int other = item == kComb ? kDye : kComb;
        bool found = false;
        for (int i = 0; i < kItems && !found; ++i)
            found = CPlayerInfo::GetItem(*rec, i) == other;
        if (found) {
            g_commandRing.Push(116);
            g_commandRing.Push(6);
        } else {
            AddString(152);
        }
        return false;
    }
    bool used = false;
    CDaradirUzedo* ui = g_layerHolder.GetLayer();
    // Both pairs start from the value before the item acted.
    const struct {
        int kind;
        size_t field;
        int max;
        int32_t* quick;
    } restores[] = {
        {kRestoreHp, CharacterRecord::kHp, CalcMaxHp(*rec), ui ? &ui->m_hpQuickItem : nullptr},
        {kRestoreMp, CharacterRecord::kMp, CalcMaxMp(*rec), ui ? &ui->m_mpQuickItem : nullptr},
    };
    for (const auto& r : restores) {
        const int32_t before = rec->I32(r.field);
        int32_t value = before;
        bool restored = false;
        for (const auto& [kind, amount] : {std::pair{data.kind1, data.value1}, std::pair{data.kind2, data.value2}}) {
            if (kind != r.kind)
                continue;
            if (DeathMatch(layer))
                AddString(86);
            else
                restored = Restore(before, r.max, amount, value) || restored;
        }
        if (restored) {
            rec->SetU32(r.field, static_cast<uint32_t>(value));
            if (r.quick)
                *r.quick = item;
            used = true;
        }
    }
    if (!layer || inBattle)
        return used;
    if (item == kToStart) {
        const StartPosition start = GetStartPosition();
        layer->StageChange().Init(CStageChange::kMove, start.map, start.x, start.y);
        used = true;
    } else if (item == kRecordRecall) {
        if (const CCharacter* me = layer->GetMyCharacter()) {
            layer->m_recallPoint = RecallPoint{g_currentMapId,
                                               static_cast<int16_t>(me->GetTileX()),
                                               static_cast<int16_t>(me->GetTileY())};
            AddString(80);
            used = true;
            layer->SendCharacterField(63);
        }
    } else if (item == kToRecall) {
        const RecallPoint p = layer->m_recallPoint;
        if (HasRecallPoint(p)) {
            // Arriving in the free-fight map warns of it, as its exit does.
            if (p.map == kFreeFightMap)
                layer->m_freeFightNotice = 1;
            layer->StageChange().Init(CStageChange::kMove, p.map, p.x, p.y);
            used = true;
        } else {
            AddString(81);
        }
    }
    return used;
}

void CItemGrid::ScrollUp() { m_top = std::max(0, m_top - kColumns); }

void CItemGrid::ScrollDown()
{
    const int32_t next = m_top + kColumns;
    if (next <= m_count && next <= kMaxTop)
        m_top = next;
}

void CItemGrid::SetTopIndex(int32_t row) { m_top = std::clamp(row / kColumns * kColumns, 0, kMaxTop); }

void CItemGrid::GetScrollFraction(double* first, double* second)
{
    double a = 0, b = 0;
    if (m_count > 0) {
        a = static_cast<double>(m_top) / m_count;
        b = std::min(1.0, static_cast<double>(m_top + 2) / m_count);
    }
    if (first)
        *first = a;
    if (second)
        *second = b;
}

void CItemGrid::SetScrollFraction(double fraction)
{
    const double f = std::isnan(fraction) ? 0.0 : std::clamp(fraction, 0.0, 1.0);
    SetTopIndex(static_cast<int32_t>(m_count * f));
}
