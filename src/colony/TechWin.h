// The tech window: the player's used tech points as cubes in rows of four.
#pragma once
#include "ui/WidgetWindow.h"

class CTechWin : public CWidgetWindow {
public:
    static constexpr int32_t kId = 49;
    // Cubes drawn at most (the window's height holds nine rows).
    static constexpr int32_t kMaxShown = 36;

    CTechWin();
    ~CTechWin() override;

    void Draw(uint8_t* surface) override;
    // Where used point i stands on the screen.
    CPoint UsedPointPos(int32_t i) const;

private:
    CSlrList m_cubes;
    int32_t m_counter = 0;
};

// The tech window, for the cube cells; null while there is none.
extern CTechWin* g_pTechWin;
