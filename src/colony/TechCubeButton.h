// The recipe button of the base and activation panels: it shows the picked
// facility's recipe cubes, animated, and opens the tech-cube box.
#pragma once
#include <array>

#include "ui/ButtonWidget.h"

class CTechCubeButton : public CButtonWidget {
public:
    static constexpr int32_t kCommand = 83;

    explicit CTechCubeButton(CWidget* owner);

    void Draw(uint8_t* surface) override;

    // The frame of a cube colour for an animation counter: 8 frames, 4 draws
    // each.
    static int CubeFrame(int colour, int32_t counter) { return colour * 8 + (counter % 32 + 32) % 32 / 4; }

private:
    std::array<int32_t, 3> m_counters{};
};
