#include "effects/EffectFire.h"

#include "core/EffectSpriteSet.h"
#include "effects/EffectManager.h"
#include "platform/Crt.h"
#include "world/Character.h"
#include "world/ObjLayer.h"

namespace {

// A random value above lo and below hi.
int Between(int lo, int hi)
{
    int v = 0;
    do
        v = plat::Rand() % hi;
    while (v <= lo);
    return v;
}

struct Band {
    int first, last;  // flames
    int xLo, xHi, yLo, yHi;
};
constexpr Band kBands[] = {
    {0, 19, 600, 800, 200, 500},
    {20, 39, 200, 600, 100, 400},
    {40, 69, 100, 300, 50, 200},
    {70, 79, 0, 100, 0, 100},
};

// The counter values that light a run of flames with random bits.
struct Lighting {
    int counter, first, last;
};
constexpr Lighting kLightings[] = {{0, 0, 9}, {5, 0, 19}, {10, 10, 39}, {20, 20, 59}, {35, 30, 79}};
constexpr int kLightingFrames = 52;

}  // namespace

int CEffectFire::Reset()
{
    m_active = 0;
    m_step = 0;
    for (Flame& f : m_flames)
        f.on = f.counter = 0;
    for (const Band& b : kBands)
        for (int i = b.first; i <= b.last; ++i) {
            Flame& f = m_flames[static_cast<size_t>(i)];
            f.dx = Between(b.xLo, b.xHi);
            f.dy = Between(b.yLo, b.yHi);
        }
    return 0;
}

void CEffectFire::Init(CEffectManager* manager, int x, int y, const CEffectSpriteSet* set)
{
    m_pManager = manager;
    m_x = x;
    m_y = y;
    m_pSet = set;
    m_step = 0;
    for (Flame& f : m_flames)
        f.on = f.counter = 0;
    m_active = 1;
}

void CEffectFire::Draw(uint8_t* dst)
{
    if (m_step < kLightingFrames)
        for (const Lighting& l : kLightings)
            if (m_step == l.counter)
                for (int i = l.first; i <= l.last; ++i)
                    m_flames[static_cast<size_t>(i)].on = plat::Rand() & 1;
    bool any = false;
    for (const Flame& f : m_flames)
        any = any || f.on;
    if (!any) {
        for (Flame& f : m_flames)
            f.on = 0;
        m_step = 0;
        m_active = 0;
        return;
    }
    const int frames = m_pSet ? m_pSet->GetFrameCount() : 0;
    int sx = 0, sy = 0;
    ToScreen(m_x, m_y, sx, sy);
    for (Flame& f : m_flames) {
        if (!f.on)
            continue;
        if (Presented())
            DrawSetFrame(m_pSet, f.counter / 3, sx + f.dx, sy + f.dy, dst);
        if (++f.counter >= 3 * frames) {
            f.counter = 0;
            f.on = 0;
        }
    }
    if (++m_step == 1) {
        CObjLayer* layer = Layer();
        const CCreature* me = layer ? layer->GetMyCharacter() : nullptr;
        if (me && m_pManager)
            m_pManager->StartScreenShake(me->GetPixelX(), me->GetPixelY(), kShakeAmplitude, kShakeFrames);
    }
}
