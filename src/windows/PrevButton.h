// The option page's return button (41): a click or Esc posts 30, which
// closes the page and brings the game menu back.
#pragma once
#include <cstdint>

#include "ui/ButtonWidget.h"

class CPrevButton : public CButtonWidget {
public:
    static constexpr int32_t kId = 41;
    static constexpr int32_t kCommand = 30;

    CPrevButton(const char* slrName, int32_t openX, int32_t openY, int32_t closedX, int32_t closedY);

    int32_t OnEscape() override;
};
