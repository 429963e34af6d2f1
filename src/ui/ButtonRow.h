// A column of buttons drawn from one image (count normal frames, then count
// hover frames), pitch pixels apart; a press on the hovered one selects it
// and pushes its command id. The selected button is drawn last.
#pragma once
#include "ui/Widget.h"

class CButtonRow : public CWidget {
public:
    CButtonRow(int32_t id, const char* slrName, int32_t openX, int32_t openY, int32_t closedX, int32_t closedY,
               int32_t count, int32_t pitch, const int32_t* commandCodes, const char* const* koreanTips,
               const char* const* englishTips);

    int OnMouseMove(int32_t x, int32_t y) override;
    int OnLButtonDown(int32_t x, int32_t y) override;
    void Draw(uint8_t* surface) override;

    // count when no button is under the cursor.
    int32_t GetHovered() const { return m_hovered; }

private:
    void DrawButton(int32_t i, uint8_t* surface);

    int32_t m_count;
    int32_t m_pitch;
    const int32_t* m_commandCodes;
    int32_t m_hovered;
    const char* const* m_tips;
};
