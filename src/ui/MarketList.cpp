#include "ui/MarketList.h"

#include "core/Blit.h"
#include "core/TextLayer.h"

void CMarketList::Draw(uint8_t* surface)
{
    CTextLayer* text = g_pTextLayer;
    if (m_state == kClosed || !text || !surface)
        return;
    Update();
    text->SetColor(1);
    text->SetTarget(surface, kScreenWidth, kScreenHeight);
    const CPoint o = Origin();
    const int32_t selected = Selected();
    for (int32_t i = m_top; i < m_top + m_visibleRows && i < m_rowCount; ++i) {
        const Row& row = m_rows[static_cast<size_t>(i)];
        text->SetColors(row.value == selected ? kSelectedColour : kRowColour, 255);
        text->DrawText(o.x + m_textX, o.y + m_textY + (i - m_top) * kRowPitch, row.text, 1);
    }
}
