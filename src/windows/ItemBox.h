// The inventory's equipment boxes: a frame (CItemBox) and the box of one
// equipment slot (CItemBoxGroup) that shows the worn item, takes it off and
// puts items on through the carried item, and slides in after a delay of
// its own so that the boxes follow one another.
#pragma once
#include <cstdint>

#include "ui/ImageWidget.h"

class CItemBox : public CImageWidget {
public:
    // kind 2 has the tall frame; kind 0 draws none.
    CItemBox(int32_t kind, int32_t openX, int32_t openY, int32_t closedX, int32_t closedY);

    void Draw(uint8_t* surface) override;

protected:
    int32_t m_kind;
};

class CItemBoxGroup : public CItemBox {
public:
    // Pixels a UI tick the box slides, and the delay of slot 0.
    static constexpr int32_t kSlideStep = 64;
    static constexpr int32_t kFirstDelay = 640;
    static constexpr int kTravelSlot = 5;
    static constexpr int kTravelItem = 94;

    // window: the inventory, under which the hover text is drawn.
    CItemBoxGroup(CWidget* window, int32_t slot, int32_t kind, int32_t delay, int32_t openX, int32_t openY,
                  int32_t closedX, int32_t closedY);

    void Update() override;
    void Draw(uint8_t* surface) override;
    int OnMouseMove(int32_t x, int32_t y) override;
    int OnLButtonDown(int32_t x, int32_t y) override;
    int OnLButtonUp(int32_t x, int32_t y) override;
    int OnLButtonDblClk(int32_t x, int32_t y) override;

    int32_t GetSlot() const { return m_slot; }
    int32_t GetDelay() const { return m_delay; }
    bool IsHovered() const { return m_hover; }

private:
    CWidget* m_window;
    int32_t m_delay;
    int32_t m_slot;
    bool m_hover = false;
};
