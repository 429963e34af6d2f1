// The death mark: drawn, bobbing, over every creature of the battle's
// death-mark table; it runs until the marks are reset.
#pragma once
#include "effects/Effect.h"

class CDeathMan : public CEffect {
public:
    CDeathMan() { SetName("DeathMan"); }
    void Init(CEffectManager* manager, int x, int y, const CEffectSpriteSet* set, int a);
    void Draw(uint8_t* dst) override;
    int GetBob() const { return m_bob; }
    const CEffectSpriteSet* GetSet() const { return m_pSet; }

private:
    const CEffectSpriteSet* m_pSet = nullptr;
    int32_t m_counter = 0;
    int32_t m_cycle = 0;
    int32_t m_bob = 0;
    int32_t m_bobUp = 0;
    int32_t m_alive = 0;
};
