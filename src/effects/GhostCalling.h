// Four ghosts rising around a point for 401 frames.
#pragma once
#include <array>
#include <cstddef>

#include "effects/Effect.h"

class CGhostCalling : public CEffect {
public:
    static constexpr int kGhosts = 4;
    using Sets = std::array<const CEffectSpriteSet*, kGhosts>;

    CGhostCalling() { SetName("Ghost Calling"); }
    int Reset() override;
    void Init(CEffectManager* manager, int x, int y, const Sets& sets, int a);
    void Draw(uint8_t* dst) override;
    const CEffectSpriteSet* GetSet(int i) const { return m_ghosts[static_cast<size_t>(i)].set; }

private:
    struct Ghost {
        const CEffectSpriteSet* set = nullptr;
        int32_t frame = 0;
        int32_t rise = 0;
    };
    std::array<Ghost, kGhosts> m_ghosts{};
    int32_t m_phase = 0;
};
