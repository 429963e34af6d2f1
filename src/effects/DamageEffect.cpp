#include "effects/DamageEffect.h"

#include <cstdio>
#include <cstring>

#include "core/Display.h"
#include "core/TextLayer.h"
#include "world/Character.h"
#include "world/ObjLayer.h"

int CDamageEffect::WidthOf(int64_t magnitude)
{
    // The last class that holds wins; beyond the largest the largest.
    static constexpr struct {
        int64_t limit;
        int width;
    } kClasses[] = {{10, 36}, {100, 44}, {1000, 52}, {10000, 60}, {100000, 68}, {1000000, 76}};
    for (const auto& c : kClasses)
        if (magnitude <= c.limit)
            return c.width;
    return 84;
}

void CDamageEffect::Init(CEffectManager* manager, int x, int y, int value, CCreature* target)
{
    m_active = 1;
    m_step = 0;
    m_pManager = manager;
    m_x = x;
    m_anchorY = y - 90;
    m_y = m_anchorY;
    m_value = value;
    m_magnitude = value < 0 ? -static_cast<int64_t>(value) : value;
    m_pTarget = target;
    m_width = WidthOf(m_magnitude);
    m_cycleTarget = value == 0 ? 12 : 1;
    Restart();
}

void CDamageEffect::Restart()
{
    m_cycles = 0;
    m_slide = 0;
    m_endCounter = 0;
    m_rolling = 1;
    m_reload = 1;
    m_riseStarted = m_riseFrames = m_rise = 0;
    std::memset(m_text, 0, sizeof(m_text));
    std::memset(m_display, 0, sizeof(m_display));
}

void CDamageEffect::Draw(uint8_t* dst)
{
    if (!m_active)
        return;
    int sx = 0, sy = 0;
    ToScreen(m_x, m_anchorY, sx, sy);
    std::memset(m_text, 0, sizeof(m_text));
    if (m_reload) {
        m_shown = m_magnitude;
        m_reload = 0;
    }
    if (m_value < 0)
        std::snprintf(m_text, sizeof(m_text), "-%lld", static_cast<long long>(m_shown));
    else if (m_value > 0)
        std::snprintf(m_text, sizeof(m_text), "+%lld", static_cast<long long>(m_shown));
    else
        std::snprintf(m_text, sizeof(m_text), "miss");

    CObjLayer* layer = Layer();
    const CCreature* me = layer ? layer->GetMyCharacter() : nullptr;
    uint8_t colour = 60;
    if (m_value > 0)
        colour = 120;
    else if (m_value < 0)
        colour = (me && m_pTarget == me) ? 20 : 233;

    const int len = static_cast<int>(std::strlen(m_text));
    if (m_rolling) {
        if (sx - m_width + m_slide < sx - (len - 2) * 6 && m_shown <= m_magnitude) {
            m_slide += 8;
        } else {
            if (m_text[0])
                std::memcpy(m_display, m_text, sizeof(m_display));
            if (m_cycles < m_cycleTarget)
                ++m_cycles;
            m_reload = 1;
            m_slide = 0;
        }
    }
    if (m_cycles >= m_cycleTarget) {
        m_rolling = 0;
        ++m_endCounter;
    }

    const bool presented = Presented();
    const bool draw = presented && g_pTextLayer && dst;
    if (draw)
        g_pTextLayer->SetTarget(dst, 800, 600);
    const int shownLen = static_cast<int>(std::strlen(m_display));
    const int tx = sx - (shownLen - 2) * 6;
    if (m_value == 0) {
        if (draw && m_display[0])
            g_pTextLayer->DrawTextColored(tx, sy, m_display, colour, 255, 0);
    } else {
        if (presented && m_display[0]) {
            if (draw)
                g_pTextLayer->DrawTextColored(tx, sy - kRiseLimit + m_rise, m_display, colour, 255, 0);
            m_riseStarted = 1;
            ++m_riseFrames;
        }
        if (m_riseStarted) {
            const bool full = g_fullScreenMode != 0;
            if (m_riseFrames >= (full ? 13 : 5)) {
                if (draw)
                    g_pTextLayer->DrawTextColored(tx, sy - kRiseLimit + m_rise, m_display, colour, 255, 0);
                m_rise += full ? 8 : 10;
            }
        }
    }
    if (m_rise > kRiseLimit) {
        m_rise = 0;
        m_endCounter = 20;
        m_rolling = 0;
        m_cycles = 13;
    }
    if (!m_rolling && m_endCounter > 20) {
        m_active = 0;
        Restart();
    }
}
