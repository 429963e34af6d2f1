// One figure of the class chooser's carousel: a slide that stands at an
// angle on an ellipse around the screen's centre and turns 10 degrees a frame.
#pragma once
#include <cstdint>

#include "intro/Slide.h"

class CIntroItem : public CSlide {
public:
    // The carousel turns this many degrees a frame.
    static constexpr int kStep = 10;
    // Frames of an animation cycle (48 pictures shown 10 frames each).
    static constexpr int kCounterCycle = 480;

    // Loads the slide; 0 or -1 as CSlide::Load. Angle and id are set either way.
    int Load(const char* name, int angle, int id);
    // One frame of turning, then the screen position from the angle.
    void Animate();
    // The current picture: plain in front, blended by depth elsewhere.
    // blend: the 8 x 256 x 256 blend table (null: the side figures are left out).
    void Draw(const BlitTarget& target, const uint8_t* blend);
    void Rotate(int degrees) { m_pending += degrees; }
    bool IsAtRest() const { return m_angle % 60 == 0; }
    // The id when in front, else -1.
    int GetFrontId() const { return m_angle == 0 ? m_id : -1; }

    int GetAngle() const { return m_angle; }
    int GetPending() const { return m_pending; }
    int GetX() const { return m_x; }
    int GetY() const { return m_y; }
    int GetId() const { return m_id; }
    int GetCounter() const { return m_counter; }

    // The blend level a side figure at screen row y is drawn with.
    static int BlendLevel(int y);

private:
    int32_t m_itemWidth = 0;
    int32_t m_itemHeight = 0;
    int32_t m_angle = 0;
    int32_t m_pending = 0;
    int32_t m_x = 0;
    int32_t m_y = 0;
    int32_t m_counter = 0;
    int32_t m_id = 0;
};

// qsort order of two items by y, the farther (smaller y) first.
int CompareIntroItems(const CIntroItem* a, const CIntroItem* b);
