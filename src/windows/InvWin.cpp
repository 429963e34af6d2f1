#include "windows/InvWin.h"

#include <iterator>

#include "ui/ScrollBarWidget.h"
#include "windows/ItemBox.h"
#include "windows/ItemGrid.h"

namespace {

constexpr int32_t kOpenX = 528, kOpenY = 0, kClosedX = 800, kClosedY = 0;
// The side panels that close when this one opens.
constexpr uint16_t kLinked[] = {10, 6, 7, 8, 9, 12, 35, 59, 60, 61, 64, 65};

struct SBoxPlace {
    int32_t x, y, kind, delay;
};
constexpr SBoxPlace kBoxPlaces[CInvWin::kBoxes] = {
    {100, 20, 1, 640},   {20, 60, 1, 800},    {180, 70, 1, 960},   {100, 90, 2, 1120},
    {20, 165, 1, 1280},  {180, 165, 1, 1440}, {100, 235, 1, 1600}, {100, 315, 1, 1760},
};

}  // namespace

CInvWin::CInvWin() : CSidePanel(kId, "InvWin.slr", kOpenX, kOpenY, kClosedX, kClosedY, 0)
{
    SetLinkedIds(kLinked, static_cast<int>(std::size(kLinked)));
    for (int i = 0; i < kBoxes; ++i) {
        const SBoxPlace& p = kBoxPlaces[i];
        auto* box = new CItemBoxGroup(this, i, p.kind, p.delay, kOpenX + p.x, kOpenY + p.y, kClosedX + p.x,
                                      kClosedY + p.y);
        m_boxes[static_cast<size_t>(i)] = box;
        AddChild(box);
    }
    m_grid = new CItemGrid(this, 74, 53);
    AddChild(m_grid);
    m_scrollBar = new CScrollBarWidget(this, 247, 441, 247, 535, 243, 454, 265, 532, m_grid);
    AddChild(m_scrollBar);
}

void CInvWin::Toggle()
{
    CSidePanel::Toggle();
    for (CItemBoxGroup* box : m_boxes)
        box->SetState(m_state);
}

void CInvWin::SetState(int32_t state)
{
    CWidget::SetState(state);
    m_grid->SetState(state);
    // The boxes slide after the window however it is opened or closed;
    // they arrive on their own.
    if (state == kOpening || state == kClosing)
        for (CItemBoxGroup* box : m_boxes)
            box->SetState(state);
}

void CInvWin::Draw(uint8_t* surface)
{
    CSidePanel::Draw(surface);
    m_scrollBar->SetState(m_state);
}
