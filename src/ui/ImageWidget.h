// A control on a window: it takes the owner's position plus its offset and
// the owner's state every frame, so it slides with the window. Without an
// owner it is a free-standing widget with a slide of its own.
#pragma once
#include "ui/Widget.h"

class CImageWidget : public CWidget {
public:
    CImageWidget(int32_t id, const char* slrName, CWidget* owner, int32_t offsetX, int32_t offsetY);
    CImageWidget(int32_t id, const char* slrName, int32_t openX, int32_t openY, int32_t closedX, int32_t closedY);

    void Update() override;

    CWidget* GetOwner() const { return m_owner; }
    int32_t GetOffsetX() const { return m_offsetX; }
    int32_t GetOffsetY() const { return m_offsetY; }
    void SetOffset(int32_t x, int32_t y)
    {
        m_offsetX = x;
        m_offsetY = y;
    }

protected:
    // Sprite frame 0 hit at the screen point.
    bool Hit(int32_t x, int32_t y) const { return m_sprite.HitTest(0, x - m_pos.x, y - m_pos.y) != 0; }
    void AttachedUpdate();

    CWidget* m_owner = nullptr;
    int32_t m_offsetX = 0;
    int32_t m_offsetY = 0;
};
