// A hot spot on a window that shows a tooltip while the cursor is strictly
// inside its rectangle; it draws nothing else.
#pragma once
#include "ui/ImageWidget.h"

class CTooltipArea : public CImageWidget {
public:
    CTooltipArea(int32_t id, CWidget* owner, int32_t offsetX, int32_t offsetY, int32_t width, int32_t height,
                 int32_t tipX, int32_t tipY);

    int OnMouseMove(int32_t x, int32_t y) override;
    void Draw(uint8_t* surface) override;

    int IsHovered() const { return m_hover; }

private:
    int32_t m_tipX;
    int32_t m_tipY;
    int32_t m_width;
    int32_t m_height;
    int32_t m_hover = 0;
};
