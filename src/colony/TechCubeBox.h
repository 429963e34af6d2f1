// The colony's 20 tech-cube slots as 4 rows of 5 cells: a cube is dragged
// onto the base-facility panel (into the picked facility's recipe) or onto
// another cell (the two slots exchange). The colony cursor is locked while
// the box is open; Escape cancels the base.
#pragma once
#include <array>

#include "ui/WidgetWindow.h"

class CTechCubeBox : public CWidgetWindow {
public:
    static constexpr int32_t kId = 65;
    static constexpr int32_t kCell = 100;
    static constexpr int kColumns = 5;
    static constexpr int kRows = 4;

    CTechCubeBox();

    void SetState(int32_t state) override;
    void Draw(uint8_t* surface) override;
    int OnLButtonDown(int32_t x, int32_t y) override;
    int OnLButtonUp(int32_t x, int32_t y) override;
    int32_t OnEscape() override;

    // -1 when no cube is dragged.
    int GetDraggedSlot() const { return m_dragged; }

private:
    // The slot of the cell at the screen point, -1 outside the grid.
    int CellAt(int32_t x, int32_t y) const;
    // The cube may go into the picked facility through this panel.
    static bool TakesCube(CWidget* panel);

    int m_dragged = -1;
};

// One animation counter per cube slot.
extern std::array<int16_t, 20> g_techCubeCounters;
