// The base of the colony's side panels: docked on the right, (528, 0) open
// and (800, 0) closed; opening one closes the other main and colony panels.
// Its Refresh writes on a fresh copy of its picture.
#pragma once
#include <cstdint>

#include "colony/PanelCanvas.h"
#include "ui/SidePanel.h"

class CColonyPanel : public CSidePanel {
public:
    static constexpr int32_t kOpenX = 528;
    static constexpr int32_t kClosedX = 800;
    // Panel texts and numbers.
    static constexpr uint8_t kTextColour = 60;

    CColonyPanel(int32_t id, const char* slrName, int32_t lineCount);

    // Shown: the picture and the picked facility's name.
    void Refresh() override;

    // A window of the UI layer's root container; null without one.
    static CWidget* FindWindow(int32_t id);

protected:
    // Shown (neither closed nor closing) and its picture loaded: a clean
    // picture and then paint(canvas) on it in the panel colour.
    template <class Painter>
    void RefreshPicture(Painter paint);
    bool PreparePicture();
    void DrawPickedName(CInfoCanvas& canvas);
};

template <class Painter>
void CColonyPanel::RefreshPicture(Painter paint)
{
    if (!PreparePicture())
        return;
    CPanelCanvas canvas(*this);
    canvas.SetColors(kTextColour, 255);
    paint(canvas);
}
