// The market window's list: its rows are drawn straight onto the screen.
#pragma once
#include "ui/ListWidget.h"

class CMarketList : public CListWidget {
public:
    using CListWidget::CListWidget;

    void Draw(uint8_t* surface) override;
};
