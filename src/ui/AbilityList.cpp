#include "ui/AbilityList.h"

#include "core/Locale.h"
#include "rules/AbilitySet.h"
#include "rules/GameData.h"
#include "ui/MyCharacterView.h"
#include "ui/TextCut.h"
#include "windows/PlayerInfo.h"
#include "world/ObjLayer.h"

CAbilityList::CAbilityList(CWidget* owner, int32_t offsetX, int32_t offsetY, CSlrList* ownerImage, int32_t cropX,
                           int32_t cropY, int32_t cropWidth, int32_t cropHeight, int32_t textX, int32_t textY,
                           int32_t visibleRows, int32_t* selection, int32_t category)
    : CListWidgetEx(owner, offsetX, offsetY, ownerImage, cropX, cropY, cropWidth, cropHeight, textX, textY,
                    visibleRows, selection),
      m_category(category)
{
}

void CAbilityList::SelectAtOnce(int32_t value)
{
    if (m_selection)
        *m_selection = value;
    if (CAbilitySet* set = GetMyAbilitySet())
        set->Select(value);
}

const char* CAbilityList::RowText(const AbilityRow& row)
{
    return IsNonKoreanLocale() ? row.english : row.korean;
}

void CAbilityList::ReloadData()
{
    Clear();
    const CAbilitySet* set = GetMyAbilitySet();
    if (!set)
        return;
    // The count takes every owned bit; the rows only the class's own, so
    // the walk ends at the first missing row.
    const int owned = set->CountOwned(m_category);
    for (int n = 0; n < owned; ++n) {
        const AbilityRow* row = set->GetNthOwned(m_category, n);
        if (!row)
            break;
        AddRow(RowText(*row), row->id);
    }
}

int CAbilityList::OnLButtonDown(int32_t x, int32_t y)
{
    const int taken = RowClick(x, y);
    if (taken && m_selection)
        if (CAbilitySet* set = GetMyAbilitySet())
            set->Select(*m_selection);
    return taken;
}

CActionListA::CActionListA(CWidget* owner, int32_t offsetX, int32_t offsetY, CSlrList* ownerImage, int32_t cropX,
                           int32_t cropY, int32_t cropWidth, int32_t cropHeight, int32_t textX, int32_t textY,
                           int32_t visibleRows, int32_t* selection)
    : CAbilityList(owner, offsetX, offsetY, ownerImage, cropX, cropY, cropWidth, cropHeight, textX, textY,
                   visibleRows, selection, 1)
{
    // The first ability of the character's kind.
    const int kind = g_playerInfo.GetCharKind();
    SelectAtOnce(kind == 1 ? 16 : kind == 2 ? 8 : kind == 0 ? 1 : 0);
}

const char* CActionListA::RowText(const AbilityRow& row)
{
    if (IsNonKoreanLocale() || row.category != 1)
        return CAbilityList::RowText(row);
    // DevilHealing takes its rank from skill A, Psychicforce from skill B.
    int which = -1;
    if (row.classGroup == 2 && row.bit == 0x10)
        which = 0;
    else if (row.classGroup == 1 && row.bit == 0x8)
        which = 1;
    if (which < 0)
        return row.korean;
    const int level = which == 0 ? StatLevelA(GetMySkillA()) : StatLevelB(GetMySkillB());
    auto& text = m_composed[static_cast<size_t>(which)];
    FormatTextCutF(text.data(), text.size(), "%s %s", row.korean, CObjLayer::GetClassName(level));
    return text.data();
}

CActionListB::CActionListB(CWidget* owner, int32_t offsetX, int32_t offsetY, CSlrList* ownerImage, int32_t cropX,
                           int32_t cropY, int32_t cropWidth, int32_t cropHeight, int32_t textX, int32_t textY,
                           int32_t visibleRows, int32_t* selection)
    : CAbilityList(owner, offsetX, offsetY, ownerImage, cropX, cropY, cropWidth, cropHeight, textX, textY,
                   visibleRows, selection, 2)
{
    if (GetMyLevel() >= 2)
        SelectAtOnce(0);
}

CReactionListA::CReactionListA(CWidget* owner, int32_t offsetX, int32_t offsetY, CSlrList* ownerImage,
                               int32_t cropX, int32_t cropY, int32_t cropWidth, int32_t cropHeight, int32_t textX,
                               int32_t textY, int32_t visibleRows, int32_t* selection)
    : CAbilityList(owner, offsetX, offsetY, ownerImage, cropX, cropY, cropWidth, cropHeight, textX, textY,
                   visibleRows, selection, 4)
{
}

CReactionListB::CReactionListB(CWidget* owner, int32_t offsetX, int32_t offsetY, CSlrList* ownerImage,
                               int32_t cropX, int32_t cropY, int32_t cropWidth, int32_t cropHeight, int32_t textX,
                               int32_t textY, int32_t visibleRows, int32_t* selection)
    : CAbilityList(owner, offsetX, offsetY, ownerImage, cropX, cropY, cropWidth, cropHeight, textX, textY,
                   visibleRows, selection, 5)
{
}

CSupportList::CSupportList(CWidget* owner, int32_t offsetX, int32_t offsetY, CSlrList* ownerImage, int32_t cropX,
                           int32_t cropY, int32_t cropWidth, int32_t cropHeight, int32_t textX, int32_t textY,
                           int32_t visibleRows, int32_t* selection)
    : CAbilityList(owner, offsetX, offsetY, ownerImage, cropX, cropY, cropWidth, cropHeight, textX, textY,
                   visibleRows, selection, 6)
{
    if (GetMyLevel() >= 40 && g_playerInfo.GetCharKind() == 2)
        SelectAtOnce(15);
}
