#include "ui/ActionItemList.h"

#include "rules/ItemData.h"
#include "ui/TextCut.h"
#include "windows/PlayerInfo.h"
#include "world/CharacterRecord.h"

CActionItemList* CActionItemList::s_registered = nullptr;

CActionItemList::CActionItemList(CWidget* owner, int32_t offsetX, int32_t offsetY, CSlrList* ownerImage,
                                 int32_t cropX, int32_t cropY, int32_t cropWidth, int32_t cropHeight, int32_t textX,
                                 int32_t textY, int32_t visibleRows, int32_t* selection, int32_t* itemChoice)
    : CListWidgetEx(owner, offsetX, offsetY, ownerImage, cropX, cropY, cropWidth, cropHeight, textX, textY,
                    visibleRows, selection),
      m_itemChoice(itemChoice)
{
    s_registered = this;
}

CActionItemList::~CActionItemList()
{
    if (s_registered == this)
        s_registered = nullptr;
}

int32_t CActionItemList::GetItemId(int32_t value) const
{
    return value >= 1 && value <= kMaxItems ? m_itemIds[static_cast<size_t>(value)] : 0;
}

void CActionItemList::ReloadData()
{
    Clear();
    m_itemIds.fill(0);
    if (CharacterRecord* rec = g_playerInfo.GetMyRecord()) {
        for (int slot = 0; slot < CPlayerInfo::kItemSlots; ++slot) {
            const int id = CPlayerInfo::GetItem(*rec, slot);
            if (id <= 0 || g_itemData.GetEquipType(id) != kUsableEquipType)
                continue;
            const int32_t value = m_rowCount + 1;
            // Item names may be longer than a name slot: cut whole.
            char* name = m_names[static_cast<size_t>(m_rowCount)].data();
            CopyTextCut(name, kNameSize, g_itemData.GetName(id));
            m_itemIds[static_cast<size_t>(value)] = id;
            AddRow(name, value);
        }
    }
    if (m_selection)
        *m_selection = -1;
}

int CActionItemList::OnLButtonDown(int32_t x, int32_t y)
{
    const int result = RowClick(x, y);
    if (result && m_selection && *m_selection >= 1 && *m_selection <= m_rowCount && m_itemChoice)
        *m_itemChoice = GetItemId(*m_selection);
    return result;
}
