#include "windows/ItemList.h"

#include <algorithm>
#include <cstring>

#include "core/ResFile.h"
#include "rules/ItemData.h"
#include "ui/ListWidget.h"
#include "ui/TextCut.h"
#include "windows/PlayerInfo.h"
#include "world/CharacterRecord.h"

CItemList g_itemList;

static_assert(CListWidget::kMaxMarketRows >= CItemList::kMaxRows, "the market list shows every row");

namespace {

// The buy and sell lines differ only in where the two spaces stand.
constexpr const char* kBuyLine = " %-20s %12d  %12d    %-30s";
constexpr const char* kSellLine = " %-20s  %12d %12d    %-30s";

// The next little-endian id of the file; false at its end.
bool ReadId(int h, uint32_t& id)
{
    uint8_t b[4];
    for (uint8_t& byte : b)
        if (ResBindRead(&byte, 1, 1, h) != 1)
            return false;
    id = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 | static_cast<uint32_t>(b[2]) << 16 |
         static_cast<uint32_t>(b[3]) << 24;
    return true;
}

bool Holds(int id)
{
    const CharacterRecord* rec = g_playerInfo.GetMyRecord();
    if (!rec || id <= 0)
        return false;
    for (int i = 0; i < CPlayerInfo::kItemSlots; ++i)
        if (CPlayerInfo::GetItem(*rec, i) == id)
            return true;
    return false;
}

// strcmp's order, ties left to the caller.
int Order(const char* a, const char* b) { return std::strcmp(a, b); }

}  // namespace

void CItemList::Read(const char* fileName, Mode mode)
{
    m_count = 0;
    m_selected = kNone;
    m_mode = mode;
    // fileName may be m_fileName itself.
    std::array<char, kFileNameSize> name{};
    CopyTextCut(name.data(), name.size(), fileName ? fileName : "");
    m_fileName = name;
    const int h = name[0] ? ResBindOpen(name.data()) : -1;
    if (h < 0)
        return;
    uint32_t raw = 0;
    while (m_count < kMaxRows && ReadId(h, raw) && raw != kEndOfList) {
        // Ids are positive signed 16-bit values in the lists; anything else
        // names no item.
        if (raw == 0 || raw > 0x7FFF)
            continue;
        const int id = static_cast<int>(raw);
        if (mode == kSell && !Holds(id))
            continue;
        Row& row = m_rows[static_cast<size_t>(m_count)];
        row = Row{};
        row.number = m_count + 1;
        row.itemId = id;
        CopyTextCut(row.name.data(), row.name.size(), g_itemData.GetName(id));
        CopyTextCut(row.description.data(), row.description.size(), g_itemData.GetDescription(id));
        row.level = g_itemData.GetRequiredLevel(id);
        row.price = mode == kSell ? g_itemData.GetSellPrice(id) : g_itemData.GetPrice(id);
        FormatTextCutF(row.line.data(), row.line.size(), mode == kSell ? kSellLine : kBuyLine, row.name.data(),
                       row.price, row.level, row.description.data());
        ++m_count;
    }
    ResClose(h);
}

void CItemList::Load(const char* fileName) { Read(fileName, kBuy); }

void CItemList::LoadSellable(const char* fileName) { Read(fileName, kSell); }

int CItemList::FillListWidget(CListWidget* list) const
{
    if (!list)
        return m_count;
    list->Clear();
    for (int i = 0; i < m_count; ++i)
        list->AddRow(m_rows[static_cast<size_t>(i)].line.data(), m_rows[static_cast<size_t>(i)].number);
    return m_count;
}

int CItemList::GetSelected(int* price) const
{
    for (int i = 0; i < m_count; ++i) {
        const Row& row = m_rows[static_cast<size_t>(i)];
        if (row.number == m_selected) {
            if (price)
                *price = row.price;
            return row.itemId;
        }
    }
    return kNone;
}

void CItemList::Sort(CListWidget* list, Comparator less)
{
    if (less)
        std::sort(m_rows.begin(), m_rows.begin() + m_count, less);
    FillListWidget(list);
}

bool CItemList::CompareName(const Row& a, const Row& b) { return Order(a.name.data(), b.name.data()) < 0; }

bool CItemList::ComparePrice(const Row& a, const Row& b)
{
    return a.price != b.price ? a.price < b.price : CompareName(a, b);
}

bool CItemList::CompareLevel(const Row& a, const Row& b)
{
    return a.level != b.level ? a.level < b.level : CompareName(a, b);
}

bool CItemList::CompareDescription(const Row& a, const Row& b)
{
    const int d = Order(a.description.data(), b.description.data());
    return d != 0 ? d < 0 : CompareName(a, b);
}

void CItemList::BuySelected()
{
    if (m_mode == kSell) {
        Load(m_fileName.data());
        return;
    }
    int price = 0;
    const int id = GetSelected(&price);
    if (id > 0)
        g_playerInfo.TryTakeItem(id, price);
}

void CItemList::SellSelected()
{
    if (m_mode == kSell) {
        int price = 0;
        const int id = GetSelected(&price);
        if (id > 0)
            g_playerInfo.SellItem(id, price);
    }
    LoadSellable(m_fileName.data());
}
