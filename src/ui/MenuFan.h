// The game menu's fan of three buttons: as the menu window slides from its
// closed x to its open x, button i travels from its start point to its end
// point. The buttons are frames 0..2 of the window's image; the window's
// frame field holds the hovered button (-1 none). An animated pointer shows
// beside the hovered button while the window is open.
#pragma once
#include <array>
#include <cstdint>

#include "core/SlrList.h"
#include "ui/Widget.h"

class CMenuFan {
public:
    static constexpr int kButtons = 3;
    static constexpr const char* kPointerFile = "data\\MenuPointer.slr";
    // Commands of buttons 0, 1 and 2.
    static constexpr int32_t kFirstCommand = 16;

    CMenuFan(const std::array<CPoint, kButtons>& starts, const std::array<CPoint, kButtons>& ends);

    // The host's Draw, OnMouseMove and OnLButtonDown.
    void Draw(CWidget& host, uint8_t* surface);
    int OnMouseMove(CWidget& host, int32_t x, int32_t y);
    int OnLButtonDown(CWidget& host, int32_t x, int32_t y);

    // Where button i stands for the host's current x.
    CPoint ButtonAt(const CWidget& host, int i) const;
    int32_t GetPointerCounter() const { return m_pointerCounter; }

private:
    std::array<CPoint, kButtons> m_starts;
    std::array<CPoint, kButtons> m_ends;
    CSlrList m_pointer;
    // Nine pointer frames, two drawn frames each.
    int32_t m_pointerCounter = 0;
};
