// A button with a tick mark left of it; the tick flips when a release over
// the button posts its command.
#pragma once
#include "ui/ButtonWidget.h"

class CCheckBox : public CButtonWidget {
public:
    static constexpr const char* kMarkFile = "data\\CheckBox.slr";

    CCheckBox(int32_t id, const char* slrName, CWidget* owner, int32_t offsetX, int32_t offsetY, int32_t commandCode,
              int ticked);
    CCheckBox(int32_t id, const char* slrName, int32_t openX, int32_t openY, int32_t closedX, int32_t closedY,
              int32_t commandCode, int ticked);

    int OnLButtonUp(int32_t x, int32_t y) override;
    void Draw(uint8_t* surface) override;

    int IsTicked() const { return m_ticked; }
    void SetTicked(int ticked) { m_ticked = ticked; }

protected:
    int CheckRelease(int32_t x, int32_t y);

    // Frame 0 unticked, frame 1 ticked.
    CSlrList m_mark;
    int32_t m_ticked;
};
