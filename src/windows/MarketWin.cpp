#include "windows/MarketWin.h"

#include "ui/ButtonWidget.h"
#include "ui/MarketList.h"
#include "ui/ScrollBarWidget.h"
#include "ui/ToggleButton.h"
#include "windows/ItemList.h"

namespace {
constexpr int32_t kRepeat = CButtonWidget::kRepeatFrames;
}  // namespace

CMarketWin::CMarketWin() : CEditWidget(kId, "MarketWin.slr", 170, 100, 170, 600, 0, 1)
{
    m_sprite.Load("data\\MarketWin.slr");
    m_sprite.ResetRects();
    AddChild(new CToggleButton(0, "ItemBtn.slr", this, 52, 43, kByName, &m_selectedSort));
    AddChild(new CToggleButton(0, "PriceBtn.slr", this, 174, 42, kByPrice, &m_selectedSort));
    AddChild(new CToggleButton(0, "LevBtn.slr", this, 274, 44, kByLevel, &m_selectedSort));
    AddChild(new CToggleButton(0, "EffBtn.slr", this, 343, 42, kByEffect, &m_selectedSort));
    AddChild(new CButtonWidget(0, "BuyBtn.slr", this, 25, 381, 72, kRepeat));
    AddChild(new CButtonWidget(0, "SellBtn.slr", this, 122, 381, 73, kRepeat));
    AddChild(new CButtonWidget(0, "ExitBtn.slr", this, 220, 381, 71, kRepeat));
    m_list = new CMarketList(this, 16, 93, 16, 93, 410, 243, 5, 5, 16, g_itemList.GetSelectionPtr());
    AddChild(m_list);
    m_scrollBar = new CScrollBarWidget(this, 430, 96, 430, 322, 431, 113, 440, 322, m_list);
    AddChild(m_scrollBar);
}

void CMarketWin::Fill()
{
    g_itemList.FillListWidget(m_list);
}

void CMarketWin::Refresh()
{
    if (m_state == kClosed || m_state == kClosing)
        return;
    LoadImageOnDemand();
    Fill();
}

void CMarketWin::Draw(uint8_t* surface)
{
    if (m_selectedSort != m_appliedSort) {
        m_appliedSort = m_selectedSort;
        constexpr CItemList::Comparator kColumns[] = {CItemList::CompareName, CItemList::ComparePrice,
                                                      CItemList::CompareLevel, CItemList::CompareDescription};
        if (m_appliedSort >= kByName && m_appliedSort <= kByEffect) {
            g_itemList.Sort(m_list, kColumns[m_appliedSort - kByName]);
            ++m_sortCount;
        }
    }
    CEditWidget::Draw(surface);
    m_scrollBar->SetState(m_state);
}

int CMarketWin::OnLButtonDown(int32_t x, int32_t y)
{
    if (m_state != kOpening && m_state != kOpen)
        return 0;
    CEditWidget::OnLButtonDown(x, y);
    return 1;
}

int CMarketWin::OnLButtonDblClk(int32_t x, int32_t y)
{
    if (m_state != kOpening && m_state != kOpen)
        return 0;
    CWidgetContainer::OnLButtonDblClk(x, y);
    return 1;
}
