#include "ui/ListWidget.h"

#include <algorithm>
#include <cmath>

#include "app/CommandRing.h"
#include "windows/UiService.h"

namespace {
// While the market window is open a row click posts nothing.
constexpr int32_t kMarketWindow = 58;
}

CListWidget::CListWidget(CWidget* owner, int32_t offsetX, int32_t offsetY, int32_t, int32_t, int32_t, int32_t,
                         int32_t textX, int32_t textY, int32_t visibleRows, int32_t* selection)
    : CListWidget(owner, offsetX, offsetY, textX, textY, visibleRows, selection, kMaxRows)
{
}

CListWidget::CListWidget(CWidget* owner, int32_t offsetX, int32_t offsetY, int32_t textX, int32_t textY,
                         int32_t visibleRows, int32_t* selection, int32_t maxRows)
    : CImageWidget(0, nullptr, owner, offsetX, offsetY),
      m_maxRows(std::clamp(maxRows, 0, kMaxMarketRows)),
      m_selection(selection),
      m_visibleRows(std::max(0, visibleRows)),
      m_textX(textX),
      m_textY(textY)
{
}

CPoint CListWidget::Origin() const
{
    if (!m_owner)
        return m_pos;
    return CPoint{m_owner->GetPos()->x + m_offsetX, m_owner->GetPos()->y + m_offsetY};
}

void CListWidget::AddRow(const char* text, int32_t value)
{
    if (m_rowCount >= m_maxRows)
        return;
    m_rows[static_cast<size_t>(m_rowCount++)] = Row{text, value};
}

void CListWidget::ScrollUp()
{
    if (m_top >= 1)
        --m_top;
}

void CListWidget::ScrollDown()
{
    if (m_top < m_rowCount - m_visibleRows)
        ++m_top;
}

void CListWidget::SetTopIndex(int32_t row)
{
    m_top = std::max(0, std::min(row, m_rowCount - m_visibleRows));
}

void CListWidget::SetScrollFraction(double fraction)
{
    // Held to the row range before it becomes an integer.
    const double rows = std::trunc(m_rowCount * fraction);
    SetTopIndex(std::isnan(rows) ? 0 : static_cast<int32_t>(std::clamp(rows, -1.0, static_cast<double>(m_maxRows))));
}

void CListWidget::GetScrollFraction(double* top, double* bottom)
{
    double a = 0.0, b = 0.0;
    if (m_rowCount > 0) {
        a = static_cast<double>(m_top) / m_rowCount;
        b = std::min(1.0, static_cast<double>(m_top + m_visibleRows) / m_rowCount);
    }
    if (top)
        *top = a;
    if (bottom)
        *bottom = b;
}

int32_t CListWidget::RowAt(int32_t x, int32_t y) const
{
    const CPoint o = Origin();
    const int64_t dx = int64_t{x} - (int64_t{o.x} + m_textX);
    // Truncated towards zero: a click up to 13 pixels above the first row
    // is on it.
    const int64_t row = (int64_t{y} - (int64_t{o.y} + m_textY)) / kRowPitch;
    if (dx < 0 || dx >= 800 || row < 0 || row >= m_visibleRows)
        return -1;
    if (m_top + row >= m_rowCount)
        return -1;
    return static_cast<int32_t>(m_top + row);
}

int CListWidget::RowClick(int32_t x, int32_t y)
{
    const int32_t row = RowAt(x, y);
    if (row < 0)
        return 0;
    if (m_selection)
        *m_selection = m_rows[static_cast<size_t>(row)].value;
    if (!Ui().IsWindowOpen(kMarketWindow))
        g_commandRing.Push(1);
    return 1;
}

int CListWidget::OnLButtonDown(int32_t x, int32_t y)
{
    return RowClick(x, y);
}
