#include "ui/ScrollBarWidget.h"

#include "core/Blit.h"

namespace {

// The arrows push -1: the command dispatcher's end of its pass.
constexpr int32_t kArrowCommand = -1;

}  // namespace

CScrollBarWidget::CScrollBarWidget(CWidget* owner, int32_t upOffsetX, int32_t upOffsetY, int32_t downOffsetX,
                                   int32_t downOffsetY, int32_t trackLeft, int32_t trackTop, int32_t trackRight,
                                   int32_t trackBottom, CWidget* list)
    : CScrollThumb(owner, upOffsetX, upOffsetY, trackLeft, trackTop, trackRight, trackBottom, list),
      m_upArrow(std::make_unique<CButtonWidget>(0, kUpFile, owner, upOffsetX, upOffsetY, kArrowCommand,
                                                CButtonWidget::kRepeatFrames)),
      m_downArrow(std::make_unique<CButtonWidget>(0, kDownFile, owner, downOffsetX, downOffsetY, kArrowCommand,
                                                  CButtonWidget::kRepeatFrames))
{
    m_upArrow->SetState(kOpen);
    m_downArrow->SetState(kOpen);
    // The thumb starts below the up arrow.
    SetOffset(upOffsetX, upOffsetY + m_upArrow->GetSprite()->GetHeight());
}

CScrollBarWidget::~CScrollBarWidget() = default;

void CScrollBarWidget::SetState(int32_t state)
{
    BaseSetState(state);
    m_upArrow->SetState(state);
    m_downArrow->SetState(state);
}

void CScrollBarWidget::Rescrolled()
{
    if (m_list)
        m_list->Refresh();
    Refresh();
}

int CScrollBarWidget::OnLButtonDown(int32_t x, int32_t y)
{
    if (InTrack(x, y, 0)) {
        m_savedTop = m_list ? m_list->GetTopIndex() : 0;
        ScrollTo(y);
        Rescrolled();
        m_dragging = 1;
        return 1;
    }
    m_upArrow->OnLButtonDown(x, y);
    m_downArrow->OnLButtonDown(x, y);
    m_holdFrames = 0;
    return 0;
}

int CScrollBarWidget::OnMouseMove(int32_t x, int32_t y)
{
    if (!m_dragging) {
        m_upArrow->OnMouseMove(x, y);
        m_downArrow->OnMouseMove(x, y);
        return 0;
    }
    if (InTrack(x, y, kDragMargin))
        ScrollTo(y);
    else if (m_list)
        m_list->SetTopIndex(m_savedTop);
    Rescrolled();
    return 1;
}

int CScrollBarWidget::OnLButtonUp(int32_t x, int32_t y)
{
    m_upArrow->OnLButtonUp(x, y);
    m_downArrow->OnLButtonUp(x, y);
    m_dragging = 0;
    return 0;
}

void CScrollBarWidget::Draw(uint8_t* surface)
{
    if (m_state != kOpen) {
        m_thumbTop = 0;
        if (m_list)
            m_list->SetTopIndex(0);
        return;
    }
    Update();
    m_upArrow->Draw(surface);
    m_downArrow->Draw(surface);
    // Once at the press, then every frame after the tenth held one.
    const bool repeat = m_holdFrames == 0 || m_holdFrames >= kRepeatAfter;
    if (m_upArrow->GetPressState() == CButtonWidget::kLookPressed && repeat && m_list) {
        m_list->ScrollUp();
        Rescrolled();
    }
    if (m_downArrow->GetPressState() == CButtonWidget::kLookPressed && repeat && m_list) {
        m_list->ScrollDown();
        Rescrolled();
    }
    if (surface)
        m_sprite.Draw(0, m_pos.x - 3, m_pos.y + m_thumbTop, ScreenTarget(surface));
    if (m_holdFrames < INT32_MAX)
        ++m_holdFrames;
}
