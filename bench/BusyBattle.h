// The effects of a busy battle round a point of the world, each started
// again once it has ended, so the same mix runs in every frame: the damage
// numbers fill their pool of 12, a bolt in each lightning pool, a fire
// storm, three missiles and three sparkles of each colour.
#pragma once
#include <array>

#include "effects/EffectManager.h"

class CBusyBattle {
public:
    void Keep(CEffectManager& fx, int x, int y, CCreature* me, CRleImage* image)
    {
        auto keep = [](auto& held, auto start) {
            for (CEffect*& e : held)
                if (!e || !e->IsActive())
                    e = start();
        };
        keep(m_damages, [&]() -> CEffect* { return fx.StartDamage(x, y + 90, -57, 0, me); });
        for (int pool = 1; pool <= CEffectManager::kLightningPools; ++pool)
            keep(m_bolts[static_cast<size_t>(pool - 1)],
                 [&]() -> CEffect* { return fx.StartBigEffect(pool, x - 200, y - 300, x - 40 * pool, y, 0, 0); });
        keep(m_storm, [&]() -> CEffect* { return fx.StartFireStomMain(x, y, me); });
        keep(m_missiles, [&]() -> CEffect* { return fx.StartGeneric108(x - 300, y - 100, x + 200, y, image); });
        for (int c = CEffectManager::colourRed; c <= CEffectManager::colourYellow; ++c)
            keep(m_sparkles[static_cast<size_t>(c)],
                 [&]() -> CEffect* { return fx.StartUseItemColor(c, x + 10 * c, y); });
    }
    // After the manager's pools were cleared.
    void Forget()
    {
        m_damages.fill(nullptr);
        m_storm.fill(nullptr);
        m_missiles.fill(nullptr);
        for (auto& b : m_bolts)
            b.fill(nullptr);
        for (auto& s : m_sparkles)
            s.fill(nullptr);
    }

private:
    std::array<CEffect*, CEffectManager::kPoolSize> m_damages{};
    std::array<std::array<CEffect*, 1>, CEffectManager::kLightningPools> m_bolts{};
    std::array<CEffect*, 1> m_storm{};
    std::array<CEffect*, 3> m_missiles{};
    std::array<std::array<CEffect*, 3>, 4> m_sparkles{};
};
