// The inventory's grid of item icons: three columns by two rows of the
// player's 100-slot item list from a top slot that scrolls by rows. Items
// are picked up and dropped through the carried item, and used by a double
// click (potions, the hair-dye pair, the travel and recall items).
#pragma once
#include <cstdint>

#include "ui/ImageWidget.h"

class CItemGrid : public CImageWidget {
public:
    static constexpr int32_t kId = 11;
    static constexpr int kColumns = 3;
    static constexpr int kRows = 2;
    static constexpr int32_t kCellW = 73;
    static constexpr int32_t kCellH = 52;
    // Screen rows where the cells start for a click and a double click.
    static constexpr int32_t kClickTop = 445;
    static constexpr int32_t kDoubleClickTop = 442;
    // The top slot stays a multiple of 3 and shows no slot past the list
    // for more than one row.
    static constexpr int32_t kMaxTop = 96;

    CItemGrid(CWidget* owner, int32_t offsetX, int32_t offsetY);

    void Refresh() override;
    void Draw(uint8_t* surface) override;
    int OnMouseMove(int32_t x, int32_t y) override;
    int OnLButtonDown(int32_t x, int32_t y) override;
    int OnLButtonUp(int32_t x, int32_t y) override;
    int OnLButtonDblClk(int32_t x, int32_t y) override;
    void ScrollUp() override;
    void ScrollDown() override;
    int32_t GetTopIndex() override { return m_top; }
    void SetTopIndex(int32_t row) override;
    void GetScrollFraction(double* first, double* second) override;
    void SetScrollFraction(double fraction) override;

    int32_t GetCount() const { return m_count; }
    int32_t GetHoverCol() const { return m_hoverCol; }
    int32_t GetHoverRow() const { return m_hoverRow; }
    // The item list slot under a screen point (cells from top), or -1.
    int32_t SlotAt(int32_t x, int32_t y, int32_t cellsTop) const;

private:
    CPoint WindowPos() const;
    void Recount();
    // Double click: uses the item of the slot; true when it was used up.
    bool UseItem(int slot);

    int32_t m_top = 0;
    int32_t m_count = 0;
    int32_t m_iconW = 1;
    int32_t m_iconH = 1;
    int32_t m_hoverCol = -1;
    int32_t m_hoverRow = -1;
};

// An item's name and effect text under the inventory window at (wx, wy).
void DrawItemHoverText(int id, int32_t wx, int32_t wy, uint8_t* surface);
