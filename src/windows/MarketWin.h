// The market (58): the rows of g_itemList with four column buttons that
// sort them, a scroll bar and Buy, Sell and Exit. A click on the open
// market never reaches the field.
#pragma once
#include <cstdint>

#include "ui/EditWidget.h"

class CMarketList;
class CScrollBarWidget;

class CMarketWin : public CEditWidget {
public:
    static constexpr int32_t kId = 58;
    // The column buttons' values: name, price, level, effect.
    enum : int32_t { kNoSort = 8, kByName = 10, kByPrice = 11, kByLevel = 12, kByEffect = 13 };

    CMarketWin();

    void Refresh() override;
    void Draw(uint8_t* surface) override;
    int OnLButtonDown(int32_t x, int32_t y) override;
    int OnLButtonDblClk(int32_t x, int32_t y) override;

    CMarketList* GetList() const { return m_list; }
    int32_t GetSelectedSort() const { return m_selectedSort; }
    int32_t GetAppliedSort() const { return m_appliedSort; }
    int32_t GetSortCount() const { return m_sortCount; }

private:
    void Fill();

    CScrollBarWidget* m_scrollBar;
    CMarketList* m_list;
    int32_t m_selectedSort = kNoSort;
    int32_t m_appliedSort = kNoSort;
    // Sorts applied since construction.
    int32_t m_sortCount = 0;
};
