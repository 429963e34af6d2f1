// The base of the NPC menus, the talk box and the region maps: a window that
// slides in from the left to (240, 123) and back, taking clicks only while
// it is open.
#pragma once
#include <cstdint>

#include "ui/EditWidget.h"

constexpr int32_t kNpcButtonRepeat = 15;

class CNpcWindow : public CEditWidget {
public:
    CNpcWindow(int32_t id, const char* slrName);

    void Update() override;
    int OnLButtonDown(int32_t x, int32_t y) override;
    int OnLButtonDblClk(int32_t x, int32_t y) override;
};
