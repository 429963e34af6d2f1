// A scroll bar: the thumb over its track and two arrow buttons. Holding an
// arrow scrolls the list once at once, then once every frame from the
// eleventh on.
#pragma once
#include <memory>

#include "ui/ButtonWidget.h"
#include "ui/ScrollThumb.h"

class CScrollBarWidget : public CScrollThumb {
public:
    static constexpr const char* kUpFile = "data\\ScrUpArr.slr";
    static constexpr const char* kDownFile = "data\\ScrDnArr.slr";
    // Frames an arrow is held before it repeats.
    static constexpr int32_t kRepeatAfter = 10;

    CScrollBarWidget(CWidget* owner, int32_t upOffsetX, int32_t upOffsetY, int32_t downOffsetX, int32_t downOffsetY,
                     int32_t trackLeft, int32_t trackTop, int32_t trackRight, int32_t trackBottom, CWidget* list);
    ~CScrollBarWidget() override;

    void SetState(int32_t state) override;
    int OnLButtonDown(int32_t x, int32_t y) override;
    int OnMouseMove(int32_t x, int32_t y) override;
    int OnLButtonUp(int32_t x, int32_t y) override;
    void Draw(uint8_t* surface) override;

    CButtonWidget* GetUpArrow() const { return m_upArrow.get(); }
    CButtonWidget* GetDownArrow() const { return m_downArrow.get(); }

private:
    // The list and the thumb follow a new top row.
    void Rescrolled();

    std::unique_ptr<CButtonWidget> m_upArrow;
    std::unique_ptr<CButtonWidget> m_downArrow;
};
