// The bank (94): the way to the money-transfer form (124) and to the
// cabinet (125).
#pragma once
#include <cstdint>

#include "ui/WidgetWindow.h"

class CBankWin : public CWidgetWindow {
public:
    static constexpr int32_t kId = 94;

    CBankWin();

    int OnChatMessage(const uint8_t*, size_t) override { return 0; }
};
