// A slider over a track that keeps a value of 0..100 in its creator's
// variable and pushes its command id on the press, on every move while the
// knob is held and on the release. Dragged more than 20 pixels off the
// track, the value springs back to what it was at the press.
#pragma once
#include <memory>

#include "ui/ButtonWidget.h"
#include "ui/ImageWidget.h"

class CSliderWidget : public CImageWidget {
public:
    static constexpr const char* kKnobFile = "data\\SlideBtn.slr";
    static constexpr const char* kKnobFileAlt = "data\\button3.slr";
    // The knob image is centred on its point.
    static constexpr int32_t kKnobHalf = 10;
    static constexpr int32_t kSpringMargin = 20;

    // style 1 takes the alternative knob image. The track is relative to
    // the slider's position.
    CSliderWidget(int32_t id, const char* slrName, int32_t openX, int32_t openY, int32_t closedX, int32_t closedY,
                  int32_t trackLeft, int32_t trackTop, int32_t trackRight, int32_t trackBottom, int32_t* value,
                  int32_t commandCode, int style);
    ~CSliderWidget() override;

    void Update() override;
    void SetState(int32_t state) override;
    int OnLButtonDown(int32_t x, int32_t y) override;
    int OnMouseMove(int32_t x, int32_t y) override;
    int OnLButtonUp(int32_t x, int32_t y) override;
    void Draw(uint8_t* surface) override;

    // Knob offset from the value, and the value from the knob offset.
    void PlaceKnob();
    void ValueFromKnob();

    CButtonWidget* GetKnob() const { return m_knob.get(); }
    int32_t GetSavedValue() const { return m_savedValue; }

private:
    bool KnobHeld() const;
    int32_t Value() const { return m_value ? *m_value : 0; }
    void SetValue(int32_t v)
    {
        if (m_value)
            *m_value = v;
    }

    int32_t m_trackLeft;
    int32_t m_trackTop;
    int32_t m_trackRight;
    int32_t m_trackBottom;
    int32_t* m_value;
    int32_t m_savedValue;
    std::unique_ptr<CButtonWidget> m_knob;
    int32_t m_commandCode;
};
