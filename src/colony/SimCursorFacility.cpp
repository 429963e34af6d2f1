#include "colony/SimCursorFacility.h"

#include "app/MouseState.h"
#include "colony/SimColony.h"
#include "colony/SimCursor.h"
#include "colony/SimTerrain.h"

void CSimCursorFacility::Draw(uint8_t* pixels)
{
    const int mx = g_mouseState.GetX();
    const int my = g_mouseState.GetY();
    if (g_simCursor.GetMode() != CSimCursor::kPlace) {
        int hit = 0;
        for (CSimMapObject* o : g_simColony)
            if (o->HitTest(mx, my)) {
                hit = 1;
                break;
            }
        g_simCursor.SetValid(hit);
        return;
    }
    const ScreenPoint cell = g_simTerrain.ScreenToMap(mx, my);
    m_x = cell.x;
    m_y = cell.y;
    g_simColony.SortByDepth();
    if (g_simColony.CheckPlacement(m_x, m_y) != CSimColony::kPlaceValid) {
        g_simCursor.SetValid(0);
        return;
    }
    CSimFacility::Draw(pixels);
    g_simCursor.SetValid(1);
}
