#include "effects/SprEffect.h"

#include <algorithm>
#include <cstdint>

#include "core/SprSpriteSet.h"

namespace {

// A part's offset from the file added to a position, held far inside the
// int range.
int Offset(int base, int64_t d)
{
    return static_cast<int>(std::clamp<int64_t>(base + d, -(int64_t{1} << 30), int64_t{1} << 30));
}

}  // namespace

void CSprEffect::InitSpr(CEffectManager* manager, int x, int y, const CSprSpriteSet* set, int anim)
{
    m_pManager = manager;
    m_x = x;
    m_y = y;
    m_pSet = set;
    m_anim = anim;
    m_step = 0;
    m_tick = 0;
    m_active = 1;
}

const SprEntry* CSprEffect::DrawStep(uint8_t* dst, int lift)
{
    const SprSequence* seq = m_pSet ? m_pSet->GetSequence(m_anim) : nullptr;
    if (!seq || m_step < 0 || static_cast<size_t>(m_step) >= seq->entries.size())
        return nullptr;
    const SprEntry& entry = seq->entries[static_cast<size_t>(m_step)];
    if (Presented()) {
        for (const SprPart& part : entry.parts) {
            int sx = 0, sy = 0;
            ToScreen(Offset(m_x, part.a), Offset(m_y, int64_t{part.b} + lift), sx, sy);
            DrawImage(m_pSet->GetFrame(static_cast<int>(part.frame)), sx, sy, dst);
        }
    }
    return &entry;
}

void CSprEffect::NextStep()
{
    const int steps = m_pSet ? m_pSet->GetAnimLength(m_anim) : 0;
    if (++m_step >= steps)
        m_active = 0;
}
