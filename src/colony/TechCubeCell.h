// The player's unspent tech points as a row of cubes; a click on one spends
// it and sends a cube flying to the tech window.
#pragma once
#include "ui/Widget.h"

class CTechCube;

class CTechCubeCell : public CWidget {
public:
    static constexpr int32_t kId = 50;
    static constexpr int32_t kPitch = 60;
    static constexpr int32_t kHeight = 64;
    // Cubes drawn at most (the screen's width).
    static constexpr int32_t kMaxShown = 13;

    explicit CTechCubeCell(CTechCube* flying);

    void Draw(uint8_t* surface) override;
    int OnLButtonDown(int32_t x, int32_t y) override;

private:
    CTechCube* m_flying;
    int32_t m_counter = 0;
};
