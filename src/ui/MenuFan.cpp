#include "ui/MenuFan.h"

#include "app/CommandRing.h"
#include "core/Blit.h"

namespace {
constexpr int32_t kPointerSteps = 18;
}

CMenuFan::CMenuFan(const std::array<CPoint, kButtons>& starts, const std::array<CPoint, kButtons>& ends)
    : m_starts(starts), m_ends(ends)
{
    m_pointer.Load(kPointerFile);
}

CPoint CMenuFan::ButtonAt(const CWidget& host, int i) const
{
    const CPoint& s = m_starts[static_cast<size_t>(i)];
    const CPoint& e = m_ends[static_cast<size_t>(i)];
    const int64_t span = int64_t{host.GetOpenPos()->x} - host.GetClosedPos()->x;
    // A host that does not slide has its buttons at their end points.
    if (span == 0)
        return e;
    const int64_t progress = int64_t{host.GetPos()->x} - host.GetClosedPos()->x;
    return CPoint{static_cast<int32_t>(s.x + progress * (int64_t{e.x} - s.x) / span),
                  static_cast<int32_t>(s.y + progress * (int64_t{e.y} - s.y) / span)};
}

void CMenuFan::Draw(CWidget& host, uint8_t* surface)
{
    if (host.GetState() == CWidget::kClosed)
        return;
    host.Update();
    if (!surface)
        return;
    const BlitTarget target = ScreenTarget(surface);
    for (int i = 0; i < kButtons; ++i) {
        const CPoint at = ButtonAt(host, i);
        host.GetSprite()->Draw(i, at.x, at.y, target);
    }
    const int32_t hovered = host.GetFrame();
    if (host.GetState() == CWidget::kOpen && hovered >= 0 && hovered < kButtons) {
        const CPoint& e = m_ends[static_cast<size_t>(hovered)];
        m_pointer.Draw(m_pointerCounter / 2, e.x - 65, e.y - 15, target);
        if (++m_pointerCounter >= kPointerSteps)
            m_pointerCounter = 0;
    }
}

int CMenuFan::OnMouseMove(CWidget& host, int32_t x, int32_t y)
{
    if (host.GetState() != CWidget::kOpen)
        return 0;
    int32_t hovered = -1;
    for (int i = kButtons - 1; i >= 0; --i) {
        const CPoint& e = m_ends[static_cast<size_t>(i)];
        if (host.GetSprite()->HitTest(i, x - e.x, y - e.y)) {
            hovered = i;
            break;
        }
    }
    host.SetFrame(hovered);
    return 0;
}

int CMenuFan::OnLButtonDown(CWidget& host, int32_t, int32_t)
{
    const int32_t hovered = host.GetFrame();
    if (host.GetState() != CWidget::kOpen || hovered < 0 || hovered >= kButtons)
        return 0;
    g_commandRing.Push(static_cast<uint32_t>(kFirstCommand + hovered));
    host.SetFrame(-1);
    return 1;
}
