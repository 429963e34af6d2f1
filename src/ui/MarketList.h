// The market window's list: every row of the market model (255), drawn
// straight onto the screen.
#pragma once
#include "ui/ListWidget.h"

class CMarketList : public CListWidget {
public:
    // The crop rectangle is not used: this list draws no background.
    CMarketList(CWidget* owner, int32_t offsetX, int32_t offsetY, int32_t, int32_t, int32_t, int32_t, int32_t textX,
                int32_t textY, int32_t visibleRows, int32_t* selection)
        : CListWidget(owner, offsetX, offsetY, textX, textY, visibleRows, selection, kMaxMarketRows)
    {
    }

    void Draw(uint8_t* surface) override;
};
