// The game menu (35): three items that fly in from different sides as the
// menu slides open and post 16, 17 and 18. Opening it closes the side
// panels.
#pragma once
#include <cstdint>

#include "ui/MenuFan.h"
#include "ui/Widget.h"

class CGameMenuWin : public CWidget {
public:
    static constexpr int32_t kId = 35;

    CGameMenuWin();

    void Draw(uint8_t* surface) override;
    int OnMouseMove(int32_t x, int32_t y) override;
    int OnLButtonDown(int32_t x, int32_t y) override;

    const CMenuFan& GetFan() const { return m_fan; }

private:
    CMenuFan m_fan;
};
