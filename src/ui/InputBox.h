// A one-line text entry without an image on a window (a password, a name,
// the profile text): it follows its owner and takes the text-input focus
// when its rectangle is clicked. The owner reads the text with GetText.
#pragma once
#include "ui/WidgetWindow.h"

class CInputBox : public CWidgetWindow {
public:
    static constexpr int32_t kMaxLen = 25;

    CInputBox(int32_t id, CWidget* owner, int32_t offsetX, int32_t offsetY, int32_t rectLeft, int32_t rectTop,
              int32_t rectRight, int32_t rectBottom);

    int OnLButtonDown(int32_t x, int32_t y) override;
    void GetInputPos(CPoint* out) override;
    void Draw(uint8_t* surface) override;
    void SubmitText() override {}
    int OnChatMessage(const uint8_t*, size_t) override { return 0; }
    // Copied as far as the entry holds it.
    void SetText(const char* text) override;

protected:
    CWidget* m_owner;
    int32_t m_offsetX;
    int32_t m_offsetY;
};
