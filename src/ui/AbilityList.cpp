#include "ui/AbilityList.h"

#include <cstring>

#include "core/Locale.h"
#include "rules/AbilitySet.h"
#include "rules/GameData.h"
#include "ui/MyCharacterView.h"
#include "ui/TextCut.h"
#include "windows/PlayerInfo.h"
#include "world/ObjLayer.h"

namespace {
// The names the first action list showed at its last reload.
std::array<const char*, 2> g_shownRankNames{};
}  // namespace

const char* AbilityRankName(int which)
{
    return CObjLayer::GetClassName(which == 0 ? StatLevelA(GetMySkillA()) : StatLevelB(GetMySkillB()));
}

bool AbilityRankNamesChanged()
{
    for (int i = 0; i < 2; ++i) {
        const char* shown = g_shownRankNames[static_cast<size_t>(i)];
        if (shown && std::strcmp(shown, AbilityRankName(i)) != 0)
            return true;
    }
    return false;
}

void ForgetAbilityRankNames() { g_shownRankNames = {}; }

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

void CActionListA::ReloadData()
{
    for (int i = 0; i < 2; ++i)
        g_shownRankNames[static_cast<size_t>(i)] = AbilityRankName(i);
    CAbilityList::ReloadData();
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
    auto& text = m_composed[static_cast<size_t>(which)];
    FormatTextCutF(text.data(), text.size(), "%s %s", row.korean, AbilityRankName(which));
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
