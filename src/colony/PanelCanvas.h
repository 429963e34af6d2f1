// An info page drawn on a colony panel's decoded picture (frame 0) with the
// global text layer, which targets the picture while the canvas exists and
// its former target again afterwards.
#pragma once
#include "colony/InfoCanvas.h"

class CWidget;

class CPanelCanvas : public CInfoCanvas {
public:
    explicit CPanelCanvas(CWidget& panel);
    ~CPanelCanvas() override;
    CPanelCanvas(const CPanelCanvas&) = delete;
    CPanelCanvas& operator=(const CPanelCanvas&) = delete;

    void SetColors(uint8_t text, uint8_t shadow) override;
    void DrawText(int x, int y, const char* text) override;
    void DrawTextCentered(int x, int y, const char* text) override;
    void FillRect(int x0, int y0, int x1, int y1, uint8_t colour) override;

private:
    CWidget& m_panel;
    uint8_t* m_savedTarget = nullptr;
    int m_savedWidth = 0;
    int m_savedHeight = 0;
};
