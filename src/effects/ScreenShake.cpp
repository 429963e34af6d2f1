#include "effects/ScreenShake.h"

#include "effects/QuakeController.h"
#include "world/ObjLayer.h"

void CScreenShake::Init(CEffectManager* manager, int x, int y, int amplitude, int duration)
{
    m_pManager = manager;
    m_x = x;
    m_y = y;
    m_amplitude = amplitude;
    m_duration = duration;
    m_step = 0;
    m_active = 1;
}

void CScreenShake::Draw(uint8_t* /*dst*/)
{
    CObjLayer* layer = Layer();
    if (layer && CentreSeesPoint(Ground(), m_x, m_y)) {
        int fx = 0, fy = 0;
        layer->GetFocusPixel(fx, fy);
        layer->SetFocusPixel(fx, fy + ((m_step & 4) ? -m_amplitude : m_amplitude));
    }
    if (++m_step >= m_duration)
        m_active = 0;
}
