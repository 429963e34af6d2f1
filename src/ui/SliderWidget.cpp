#include "ui/SliderWidget.h"

#include <algorithm>

#include "app/CommandRing.h"

CSliderWidget::CSliderWidget(int32_t id, const char* slrName, int32_t openX, int32_t openY, int32_t closedX,
                             int32_t closedY, int32_t trackLeft, int32_t trackTop, int32_t trackRight,
                             int32_t trackBottom, int32_t* value, int32_t commandCode, int style)
    : CImageWidget(id, slrName, openX, openY, closedX, closedY),
      m_trackLeft(trackLeft),
      m_trackTop(trackTop),
      m_trackRight(trackRight),
      m_trackBottom(trackBottom),
      m_value(value),
      m_savedValue(value ? std::clamp(*value, 0, 100) : 0),
      m_knob(std::make_unique<CButtonWidget>(0, style == 1 ? kKnobFileAlt : kKnobFile, this, 0, 0, commandCode,
                                             CButtonWidget::kRepeatFrames)),
      m_commandCode(commandCode)
{
    PlaceKnob();
}

CSliderWidget::~CSliderWidget() = default;

void CSliderWidget::PlaceKnob()
{
    const int64_t span = int64_t{m_trackRight} - m_trackLeft;
    const int64_t x = m_trackLeft - kKnobHalf + span * Value() / 100;
    m_knob->SetOffset(static_cast<int32_t>(x), (m_trackBottom + m_trackTop) / 2 - kKnobHalf);
}

void CSliderWidget::ValueFromKnob()
{
    const int64_t span = int64_t{m_trackRight} - m_trackLeft;
    // A track without width has no value to give.
    if (span == 0)
        return;
    const int64_t v = (int64_t{m_knob->GetOffsetX()} + kKnobHalf - m_trackLeft) * 100 / span;
    SetValue(static_cast<int32_t>(std::clamp<int64_t>(v, 0, 100)));
}

bool CSliderWidget::KnobHeld() const
{
    const int32_t s = m_knob->GetPressState();
    return s == CButtonWidget::kLookPressed || s == CButtonWidget::kHeldOff;
}

int CSliderWidget::OnLButtonDown(int32_t x, int32_t y)
{
    const int64_t dx = int64_t{x} - m_pos.x, dy = int64_t{y} - m_pos.y;
    int result = 0;
    if (m_trackLeft <= dx && dx <= m_trackRight && m_trackTop <= dy && dy <= m_trackBottom) {
        m_savedValue = std::clamp(Value(), 0, 100);
        m_knob->SetOffset(static_cast<int32_t>(dx - kKnobHalf), m_knob->GetOffsetY());
        ValueFromKnob();
        PlaceKnob();
        g_commandRing.Push(static_cast<uint32_t>(m_commandCode));
        result = 1;
    }
    const int wasHeld = m_knob->IsPressed();
    if (m_knob->OnLButtonDown(x, y)) {
        // Every knob press starts a drag: the value to spring back to is
        // the one it began with.
        if (!result && !wasHeld && m_knob->IsPressed())
            m_savedValue = std::clamp(Value(), 0, 100);
        result = 1;
    }
    return result;
}

int CSliderWidget::OnMouseMove(int32_t x, int32_t y)
{
    int result = 0;
    if (KnobHeld()) {
        const int64_t dx = int64_t{x} - m_pos.x, dy = int64_t{y} - m_pos.y;
        if (dx < int64_t{m_trackLeft} - kSpringMargin || dx > int64_t{m_trackRight} + kSpringMargin ||
            dy < int64_t{m_trackTop} - kSpringMargin || dy > int64_t{m_trackBottom} + kSpringMargin) {
            SetValue(m_savedValue);
        } else {
            m_knob->SetOffset(static_cast<int32_t>(dx - kKnobHalf), m_knob->GetOffsetY());
            ValueFromKnob();
        }
        PlaceKnob();
        g_commandRing.Push(static_cast<uint32_t>(m_commandCode));
        result = 1;
    }
    m_knob->OnMouseMove(x, y);
    return result;
}

int CSliderWidget::OnLButtonUp(int32_t x, int32_t y)
{
    if (KnobHeld())
        g_commandRing.Push(static_cast<uint32_t>(m_commandCode));
    m_knob->OnLButtonUp(x, y);
    return 0;
}

void CSliderWidget::SetState(int32_t state)
{
    m_knob->SetState(state);
    BaseSetState(state);
}

void CSliderWidget::Update()
{
    AttachedUpdate();
    m_knob->SetState(m_state);
}

void CSliderWidget::Draw(uint8_t* surface)
{
    BaseDraw(surface);
    m_knob->Draw(surface);
}
