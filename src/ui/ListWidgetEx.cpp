#include "ui/ListWidgetEx.h"

#include <algorithm>
#include <cstring>

#include "core/TextLayer.h"
#include "rules/AbilitySet.h"
#include "ui/MyCharacterView.h"
#include "ui/TextCut.h"

CListWidgetEx::CListWidgetEx(CWidget* owner, int32_t offsetX, int32_t offsetY, CSlrList* ownerImage, int32_t cropX,
                             int32_t cropY, int32_t cropWidth, int32_t cropHeight, int32_t textX, int32_t textY,
                             int32_t visibleRows, int32_t* selection)
    : CListWidget(owner, offsetX, offsetY, cropX, cropY, cropWidth, cropHeight, textX, textY, visibleRows, selection)
{
    if (owner)
        owner->LoadImageOnDemand();
    if (ownerImage)
        m_background.CreateCropped(*ownerImage, cropX, cropY, cropWidth, cropHeight);
    m_background.ResetRects();
    m_sprite.CopyFrom(m_background);
}

void CListWidgetEx::SelectCurrentAbilities()
{
    const CAbilitySet* set = GetMyAbilitySet();
    if (!set || !m_selection)
        return;
    for (int category : {1, 2, 6}) {
        const AbilityRow* current = set->GetCurrentRow(category);
        if (!current)
            continue;
        // The very texts of the table: a composed row has its own.
        for (int32_t i = m_top; i < m_top + m_visibleRows && i < m_rowCount; ++i) {
            const Row& row = m_rows[static_cast<size_t>(i)];
            if (row.text == current->korean || row.text == current->english)
                *m_selection = row.value;
        }
    }
}

void CListWidgetEx::DrawRows()
{
    CTextLayer* text = g_pTextLayer;
    if (!text || !m_sprite.IsLoaded())
        return;
    m_sprite.CopyFrom(m_background);
    m_sprite.SetAsTextTarget(0);
    const int32_t selected = Selected();
    for (int32_t i = m_top; i < m_top + m_visibleRows && i < m_rowCount; ++i) {
        const Row& row = m_rows[static_cast<size_t>(i)];
        if (!row.text)
            continue;
        // A row ends at its line feed too (the help's rows point into a page).
        char line[kDrawnBytes + 1] = {};
        const size_t n = CutLength(row.text, std::min(std::strcspn(row.text, "\n"), kDrawnBytes));
        std::memcpy(line, row.text, n);
        text->SetColors(row.value == selected ? kSelectedColour : kRowColour, 255);
        text->DrawText(m_textX, m_textY + (i - m_top) * kRowPitch, line, 1);
    }
}

void CListWidgetEx::Refresh()
{
    if (m_state != kOpening && m_state != kOpen)
        return;
    SelectCurrentAbilities();
    DrawRows();
}
