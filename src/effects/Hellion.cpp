#include "effects/Hellion.h"

#include "audio/SoundManager.h"

void CHellion::Init(CEffectManager* manager, int x, int y, const CSprSpriteSet* set, int anim)
{
    InitSpr(manager, x, y, set, anim);
    g_soundManager.PlayAt("hellion.wav", 0, 0);
}
