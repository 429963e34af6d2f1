// One button of a group that share a selection variable: a press stores the
// button's value there; every member whose value is selected draws pressed.
#pragma once
#include "ui/ButtonWidget.h"

class CToggleButton : public CButtonWidget {
public:
    CToggleButton(int32_t id, const char* slrName, CWidget* owner, int32_t offsetX, int32_t offsetY, int32_t value,
                  int32_t* selection);

    int OnLButtonDown(int32_t x, int32_t y) override;
    void Draw(uint8_t* surface) override;

private:
    int32_t m_value;
    int32_t* m_selection;
};
