// A list box on a window: up to 128 rows of text (the market's list as many
// as its model, 255), 14 pixels apart, a window of visibleRows of them from
// the top row, and a selection that lives in a variable of its creator (a
// click stores the row's value there and pushes command 1 unless window 58
// is open). The texts are not owned.
#pragma once
#include <array>

#include "ui/ImageWidget.h"

class CListWidget : public CImageWidget {
public:
    static constexpr int kMaxRows = 128;
    static constexpr int kMaxMarketRows = 255;
    static constexpr int32_t kRowPitch = 14;
    static constexpr uint8_t kSelectedColour = 60;
    static constexpr uint8_t kRowColour = 162;

    struct Row {
        const char* text = nullptr;
        int32_t value = 0;
    };

    // The crop rectangle is for the lists with an image of their own.
    CListWidget(CWidget* owner, int32_t offsetX, int32_t offsetY, int32_t cropX, int32_t cropY, int32_t cropWidth,
                int32_t cropHeight, int32_t textX, int32_t textY, int32_t visibleRows, int32_t* selection);

    int OnLButtonDown(int32_t x, int32_t y) override;
    void Clear() override { m_rowCount = 0; }
    void ScrollUp() override;
    void ScrollDown() override;
    int32_t GetTopIndex() override { return m_top; }
    void SetTopIndex(int32_t row) override;
    void SetScrollFraction(double fraction) override;
    void GetScrollFraction(double* top, double* bottom) override;

    // A row past the list's capacity (the 129th, the market's 256th) is
    // ignored.
    void AddRow(const char* text, int32_t value);
    int32_t GetRowCount() const { return m_rowCount; }
    const Row& GetRow(int i) const { return m_rows[static_cast<size_t>(i)]; }
    int32_t GetVisibleRows() const { return m_visibleRows; }

protected:
    // A list of maxRows (at most kMaxMarketRows) rows.
    CListWidget(CWidget* owner, int32_t offsetX, int32_t offsetY, int32_t textX, int32_t textY, int32_t visibleRows,
                int32_t* selection, int32_t maxRows);

    // The click's row, or -1 when it is not on a row.
    int32_t RowAt(int32_t x, int32_t y) const;
    int RowClick(int32_t x, int32_t y);
    // Where the list's frame starts: the owner's position plus the offset.
    CPoint Origin() const;
    int32_t Selected() const { return m_selection ? *m_selection : 0; }

    std::array<Row, kMaxMarketRows> m_rows{};
    int32_t m_maxRows = kMaxRows;
    int32_t m_rowCount = 0;
    int32_t* m_selection;
    int32_t m_visibleRows;
    int32_t m_textX;
    int32_t m_textY;
    int32_t m_top = 0;
};
