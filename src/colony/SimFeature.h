// A terrain feature of the colony map: rock, forest or lava, one of four
// pictures.
#pragma once
#include "colony/SimMapObject.h"

class CSimFeature : public CSimMapObject {
public:
    CSimFeature(int type, int x, int y, int variant) : CSimMapObject(type, x, y), m_variant(variant) {}

    void Draw(uint8_t* pixels) override;

    // Which of the type's frames is shown, 0..3.
    int32_t m_variant;
    // Where it was drawn last.
    int32_t m_screenX = 0;
    int32_t m_screenY = 0;
};
