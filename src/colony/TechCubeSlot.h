// An item's inventory picture moving in ten steps from where a dragged item
// icon was let go to the widget it was let go over.
#pragma once
#include "ui/Widget.h"

class CTechCubeSlot : public CWidget {
public:
    static constexpr int32_t kSteps = 10;

    CTechCubeSlot() : CWidget(0) {}

    void MoveTo(int32_t fromX, int32_t fromY, int32_t itemId, CWidget* target);
    void Draw(uint8_t* surface) override;

    bool IsMoving() const { return m_steps >= 0; }
    CPoint GetCurrent() const { return m_current; }
    int32_t GetItemId() const { return m_itemId; }
    CWidget* GetTarget() const { return m_target; }

private:
    CPoint m_delta;
    CPoint m_current;
    int32_t m_steps = -1;
    int32_t m_itemId = 0;
    CWidget* m_target = nullptr;
};
