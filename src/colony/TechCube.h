// A tech point on its way from the cube cells to the tech window: ten steps
// of equal (truncated) deltas, then the point counts as used.
#pragma once
#include "ui/Widget.h"

class CTechCube : public CWidget {
public:
    static constexpr int32_t kSteps = 10;

    CTechCube();

    void MoveTo(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY);
    // While moving: the cube at the current point, one step on.
    void Draw(uint8_t* surface) override;

    bool IsMoving() const { return m_steps >= 0; }
    CPoint GetCurrent() const { return m_current; }

private:
    CPoint m_delta;
    CPoint m_current;
    // -1 idle.
    int32_t m_steps = -1;
};
