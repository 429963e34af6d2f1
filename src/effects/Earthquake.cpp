#include "effects/Earthquake.h"

#include "core/EffectSpriteSet.h"
#include "platform/Crt.h"

namespace {

struct Anchor {
    int x;
    int y;
};

std::array<Anchor, CEarthquake::kCells> g_anchors{};

void BuildAnchors()
{
    static constexpr int kOddRows[8] = {100, 200, 300, 400, 600, 700, 750, 800};
    static constexpr int kEvenRows[8] = {50, 150, 250, 350, 450, 550, 650, 750};
    for (int row = 0; row < 5; ++row)
        for (int i = 0; i < 8; ++i)
            g_anchors[static_cast<size_t>(row * 8 + i)] = {row % 2 == 0 ? kOddRows[i] : kEvenRows[i], 100 * (row + 1)};
}

}  // namespace

int CEarthquake::Reset()
{
    BuildAnchors();
    m_active = 0;
    m_cells.fill(Cell{});
    m_counter = 0;
    return 0;
}

void CEarthquake::Init(CEffectManager* manager, int x, int y, const CEffectSpriteSet* set)
{
    m_pManager = manager;
    m_x = x;
    m_y = y;
    m_pSet = set;
    m_frameCount = set ? set->GetFrameCount() : 0;
    m_cells.fill(Cell{});
    m_counter = 0;
    m_step = 0;
    if (g_anchors[0].x == 0)
        BuildAnchors();
    m_active = 1;
}

void CEarthquake::Draw(uint8_t* dst)
{
    if (m_counter < 130 && m_counter % 5 == 0) {
        for (size_t i = 0; i < m_cells.size(); ++i) {
            Cell& c = m_cells[i];
            if (c.on || plat::Rand() % 16 >= 4)
                continue;
            const int dx = (plat::Rand() & 127) - 64;
            const int dy = (plat::Rand() & 63) - 32;
            c = {1, g_anchors[i].x + dx, g_anchors[i].y + dy, 0};
        }
    }
    bool any = false;
    for (const Cell& c : m_cells)
        any = any || c.on;
    if (!any) {
        m_cells.fill(Cell{});
        m_counter = 0;
        m_active = 0;
        return;
    }
    for (Cell& c : m_cells) {
        if (!c.on)
            continue;
        if (Presented())
            DrawSetFrame(m_pSet, c.counter / 2, c.x, c.y, dst, false, true);
        if (++c.counter >= 2 * m_frameCount)
            c.on = 0;
    }
    ++m_counter;
}
