// The inventory (side panel 9): the eight equipment boxes, the item grid
// and its scroll bar. Opening it closes the other side panels.
#pragma once
#include <array>
#include <cstdint>

#include "ui/SidePanel.h"

class CItemBoxGroup;
class CItemGrid;
class CScrollBarWidget;

class CInvWin : public CSidePanel {
public:
    static constexpr int32_t kId = 9;
    static constexpr int kBoxes = 8;

    CInvWin();

    void Toggle() override;
    void SetState(int32_t state) override;
    void Draw(uint8_t* surface) override;

    CItemGrid* GetGrid() const { return m_grid; }
    CItemBoxGroup* GetBox(int slot) const { return m_boxes[static_cast<size_t>(slot)]; }

private:
    CItemGrid* m_grid;
    CScrollBarWidget* m_scrollBar;
    std::array<CItemBoxGroup*, kBoxes> m_boxes{};
};
