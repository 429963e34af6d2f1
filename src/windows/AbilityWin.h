// The pages of the ability window stack (id 8): list side panels at the
// stack's place, each with ability lists of 4 rows whose backgrounds are
// cut from the page's picture behind them, a scroll bar beside each list
// and, on some, a shadow drawn over the picture.
#pragma once
#include <array>
#include <cstdint>

#include "core/SlrList.h"
#include "ui/ListSidePanel.h"

class CListWidget;

class CAbilityWin : public CListSidePanel {
public:
    static constexpr int32_t kId = 8;
    static constexpr int kMaxLists = 3;

    void Draw(uint8_t* surface) override;

    CListWidget* GetList(int i) const { return i >= 0 && i < m_listCount ? m_lists[static_cast<size_t>(i)] : nullptr; }

protected:
    // shadowName null: no shadow; else it is drawn at (x, y) from the page.
    CAbilityWin(const char* slrName, const char* shadowName, int32_t shadowX, int32_t shadowY);

    // Where a list lies: its top (and its background's), its scroll bar's up
    // and down arrows and the top and bottom of the bar's track.
    struct SPlace {
        int32_t y, upY, downY, trackTop, trackBottom;
    };
    // The action page's three places; the other pages take its first two.
    static constexpr SPlace kUpper{75, 51, 130, 64, 127};
    static constexpr SPlace kMiddle{205, 179, 258, 192, 255};
    static constexpr SPlace kLower{333, 307, 386, 320, 383};
    // The list and its scroll bar become children; the list's selection is
    // the page's own variable for that list.
    template <class List, class... Extra>
    List* AddList(const SPlace& at, Extra... extra)
    {
        const size_t i = static_cast<size_t>(m_listCount);
        auto* list = new List(this, kListX, at.y, &m_sprite, kListX, at.y, kListWidth, kListHeight, kTextX, kTextY,
                              kVisibleRows, &m_selections[i], extra...);
        AddListAndBar(list, at);
        return list;
    }

private:
    static constexpr int32_t kListX = 28, kListWidth = 175, kListHeight = 70, kTextX = 5, kTextY = 5;
    static constexpr int32_t kVisibleRows = 4;
    static constexpr int32_t kArrowX = 227, kTrackLeft = 223, kTrackRight = 238;

    void AddListAndBar(CListWidget* list, const SPlace& at);

    std::array<CListWidget*, kMaxLists> m_lists{};
    std::array<int32_t, kMaxLists> m_selections{-1, -1, -1};
    int m_listCount = 0;
    CSlrList m_shadow;
    int32_t m_shadowX;
    int32_t m_shadowY;
};
