// The cabinet (98): the bank's 20-slot item store, shown by its grid under
// a header.
#pragma once
#include <cstdint>

#include "core/SlrList.h"
#include "ui/WidgetWindow.h"

class CCabinetCell;

class CCabinetWin : public CWidgetWindow {
public:
    static constexpr int32_t kId = 98;

    CCabinetWin();

    void Draw(uint8_t* surface) override;
    int32_t OnEscape() override;
    int OnChatMessage(const uint8_t*, size_t) override { return 0; }

    CCabinetCell* GetCell() const { return m_cell; }

private:
    CSlrList m_header;
    CCabinetCell* m_cell;
};
