// What stands on the colony map: the base of terrain features, facilities
// and the facility that follows the cursor. The colony's object list owns
// them.
#pragma once
#include <cstdint>

#include "core/ListItem.h"

class CSimFacility;
struct SimBuildingType;

class CSimMapObject : public CListItem {
public:
    CSimMapObject(int type, int x, int y) : m_type(type), m_x(x), m_y(y) {}

    virtual int IsRemoved() const { return 0; }
    // 1 when the mouse position hits the object as it was drawn last.
    virtual int HitTest(int /*mouseX*/, int /*mouseY*/) const { return 0; }
    virtual void MarkRemoved() {}
    // The facility operations; 1 when done, 0 when refused.
    virtual int Activate() { return 0; }
    virtual int StripCubes() { return 0; }
    virtual int InsertCube(int /*colour*/) { return 0; }
    virtual int GetProgress() const { return 0; }
    // Into the 800 x 600 frame at the camera of the ground.
    virtual void Draw(uint8_t* /*pixels*/) {}
    virtual int CheckRule() const { return 0; }
    virtual void StartConstruction() {}

    // The object as a facility, or null for a feature.
    virtual CSimFacility* AsFacility() { return nullptr; }
    virtual const CSimFacility* AsFacility() const { return nullptr; }

    // Rock, forest or lava.
    bool IsFeature() const;
    int DepthKey() const { return m_x + m_y; }

    int32_t m_type;
    int32_t m_x;
    int32_t m_y;

protected:
    // Frame first + counter / ticks of the type (the counter advanced first
    // when asked, and kept within the animation), drawn so that the type's
    // anchor lands on (sx, sy); the marker pixel there is then hidden.
    static void DrawAnimated(const SimBuildingType& type, uint8_t* pixels, int32_t& counter, bool advance, int sx,
                             int sy);
    static void DrawAnchored(const SimBuildingType& type, int frame, uint8_t* pixels, int sx, int sy);
};
