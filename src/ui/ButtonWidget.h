// A push button: four frames (normal, hover, pressed, disabled); a press
// over it arms it, the release over it pushes its command id into the
// command ring. Presses closer together than the repeat interval (in object
// layer frames) are taken and ignored.
#pragma once
#include "ui/ImageWidget.h"

class CButtonWidget : public CImageWidget {
public:
    enum : int32_t { kLookNormal = 0, kLookHover = 1, kLookPressed = 2, kLookDisabled = 3 };
    // What GetPressState gives for a press held while the cursor is off.
    static constexpr int32_t kHeldOff = 4;
    static constexpr int32_t kRepeatFrames = 15;

    CButtonWidget(int32_t id, const char* slrName, CWidget* owner, int32_t offsetX, int32_t offsetY,
                  int32_t commandCode, int32_t repeatInterval);
    CButtonWidget(int32_t id, const char* slrName, int32_t openX, int32_t openY, int32_t closedX, int32_t closedY,
                  int32_t commandCode, int32_t repeatInterval);

    void SetState(int32_t state) override;
    int OnMouseMove(int32_t x, int32_t y) override;
    int OnLButtonDown(int32_t x, int32_t y) override;
    int OnLButtonUp(int32_t x, int32_t y) override;
    void Draw(uint8_t* surface) override;

    // look, or 4 while pressed with the cursor off the button.
    int32_t GetPressState() const;
    int32_t GetLook() const { return m_look; }
    // 3 disables the button, 0 enables it.
    void SetLook(int32_t look) { m_look = look; }
    int IsPressed() const { return m_pressed; }
    int32_t GetCommandCode() const { return m_commandCode; }

protected:
    void ButtonDraw(uint8_t* surface);
    int ButtonRelease(int32_t x, int32_t y);

    int32_t m_look = kLookNormal;
    int32_t m_pressed = 0;
    int32_t m_commandCode = 0;
    uint32_t m_lastPress = 0;
    int32_t m_repeatInterval = kRepeatFrames;
    // No press accepted yet: the next one is, whatever the clock says.
    bool m_neverPressed = true;
};
