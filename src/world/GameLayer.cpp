#include "world/GameLayer.h"

#include <string>

#include "app/FrameClock.h"
#include "app/MouseState.h"
#include "audio/SoundManager.h"
#include "colony/ColonyService.h"
#include "core/DibIO.h"
#include "core/Display.h"
#include "core/PaletteManager.h"
#include "ui/MessageRing.h"
#include "windows/DaradirUzedo.h"
#include "windows/UiService.h"
#include "world/ObjLayer.h"

namespace {
constexpr uint32_t kScanF12 = 88;
}  // namespace

int CGameLayer::Draw()
{
    uint8_t* bits = m_pDisplay ? m_pDisplay->GetBits() : nullptr;
    if (CObjLayer* layer = GetObjLayer())
        layer->TickClock();
    CDaradirUzedo* ui = g_layerHolder.GetLayer();
    if (ui)
        ui->DispatchMouseButtons();

    if (g_lastKey == kScanF12 && bits) {
        static const CPaletteManager::Rgb kBlack{};
        const uint8_t* rgb = g_pPalette ? g_pPalette->GetShownRgb().data() : kBlack.data();
        std::string announce;
        if (ScreenShotKey(bits, rgb, g_gmFlag != 0, &announce))
            g_soundManager.Play("printscreen.wav");
        if (!announce.empty())
            Ui().AddLine(announce.c_str());
    }

    IColony& colony = Colony();
    if (g_mouseState.IsMouseEvent(MOUSE_LDOWN))
        colony.CursorClick();
    if (g_mouseState.IsMouseEvent(MOUSE_RDOWN))
        colony.CursorResetMode();
    const int x = g_mouseState.GetX(), y = g_mouseState.GetY();
    if (x < kEdge)
        colony.ScrollLeft();
    if (x >= CDisplay::kWidth - kEdge)
        colony.ScrollRight();
    if (y < kEdge)
        colony.ScrollUp();
    if (y >= CDisplay::kHeight - kEdge)
        colony.ScrollDown();
    if (colony.IsMapShown() && bits) {
        colony.DrawTerrain(bits);
        colony.DrawObjects(bits);
    }
    if (ui)
        ui->Draw();
    if (bits)
        colony.DrawCursor(x, y, bits);
    g_messageRing.Draw(bits);
    return 1;
}
