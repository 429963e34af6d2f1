// The money-transfer form (97): the recipient (box 95), the amount (box
// 96), arrows that change the amount by 1000 (128, 129), a slider that sets
// it as a share of the player's money (131), OK (126) and Cancel (127).
#pragma once
#include <cstdint>

#include "ui/WidgetWindow.h"

class CSliderWidget;

class CDepositWin : public CWidgetWindow {
public:
    static constexpr int32_t kId = 97;
    static constexpr int32_t kRecipientBox = 95;
    static constexpr int32_t kAmountBox = 96;
    static constexpr int32_t kSliderId = 100;
    static constexpr int32_t kDigits = 11;

    CDepositWin();

    void Refresh() override;
    int32_t OnEscape() override;
    int OnChatMessage(const uint8_t*, size_t) override { return 0; }

    CSliderWidget* GetSlider() const { return m_slider; }

private:
    CSliderWidget* m_slider;
};
