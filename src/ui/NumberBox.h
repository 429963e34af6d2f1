// An input box whose text is drawn at a fixed place of the screen (233, 93
// from its offset) while its window is open: the amounts of money.
#pragma once
#include "ui/InputBox.h"

class CNumberBox : public CInputBox {
public:
    static constexpr int32_t kTextDx = 233;
    static constexpr int32_t kTextDy = 93;

    CNumberBox(int32_t id, CWidget* owner, int32_t offsetX, int32_t offsetY, int32_t rectLeft, int32_t rectTop,
               int32_t rectRight, int32_t rectBottom, int32_t maxLen);

    void GetInputPos(CPoint* out) override;
    void Draw(uint8_t* surface) override;
    void Clear() override;
    void SetAndDrawText(const char* text) override;
    void TakeFocus() override;

private:
    void DrawNumber();

    int32_t m_textX;
    int32_t m_textY;
};
