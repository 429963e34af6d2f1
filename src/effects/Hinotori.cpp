#include "effects/Hinotori.h"

#include "audio/SoundManager.h"
#include "effects/EffectManager.h"
#include "world/Character.h"
#include "world/ObjLayer.h"

void CHinotori::Draw(uint8_t* dst)
{
    if (DrawStep(dst)) {
        if (m_step == kCryStep)
            g_soundManager.PlayAt("hinotori.wav", 0, 0);
        CObjLayer* layer = Layer();
        const CCreature* me = layer ? layer->GetMyCharacter() : nullptr;
        // The rain covers the screen from its top left corner.
        if (m_step == kRainStep && me && m_pManager)
            m_pManager->StartEffectFire(me->GetPixelX() - 400, me->GetPixelY() - 300);
    }
    NextStep();
}
