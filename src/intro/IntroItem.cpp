#include "intro/IntroItem.h"

#include <cmath>

namespace {
constexpr double kRadPerDeg = 0.01745329;
constexpr size_t kBlendLevelSize = 256 * 256;

int WrapAngle(int a)
{
    a %= 360;
    return a < 0 ? a + 360 : a;
}
}  // namespace

int CIntroItem::Load(const char* name, int angle, int id)
{
    const int r = CSlide::Load(name);
    m_angle = WrapAngle(angle);
    m_id = id;
    m_itemWidth = GetWidth();
    m_itemHeight = GetHeight();
    return r;
}

void CIntroItem::Animate()
{
    if (m_pending > 0) {
        m_pending -= kStep;
        m_angle = WrapAngle(m_angle + kStep);
    } else if (m_pending < 0) {
        m_pending += kStep;
        m_angle = WrapAngle(m_angle - kStep);
    }
    const double rad = m_angle * kRadPerDeg;
    m_x = static_cast<int32_t>(std::sin(rad) * 250.0 + 400.0);
    m_y = static_cast<int32_t>(std::cos(rad) * 100.0 + 150.0);
}

int CIntroItem::BlendLevel(int y)
{
    int level = (8 * y - 400) / 200;
    if (level == 2 || level == 3)
        level = 3;
    else if (level >= 4 && level <= 6)
        level = 5;
    // Rows in front of the carousel's centre line give 0..7; keep it a level.
    if (level < 0)
        level = 0;
    if (level > 7)
        level = 7;
    return level;
}

void CIntroItem::Draw(const BlitTarget& target, const uint8_t* blend)
{
    const int frame = m_counter / 10;
    if (m_angle != 0) {
        int offset = 150 - m_y;
        if (m_x > 400)
            offset = -offset;
        if (m_angle == 180)
            offset = 0;
        if (blend)
            DrawMapped(frame, m_x + offset, m_y, target,
                       blend + static_cast<size_t>(BlendLevel(m_y)) * kBlendLevelSize);
    } else {
        CSlide::Draw(frame, m_x, m_y, target);
    }
    if (++m_counter >= kCounterCycle)
        m_counter = 0;
}

int CompareIntroItems(const CIntroItem* a, const CIntroItem* b)
{
    return (a->GetY() > b->GetY()) - (a->GetY() < b->GetY());
}
