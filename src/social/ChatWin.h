// The chat window at the bottom of the screen (id 2): the chat input line,
// the history of 34 lines (the newest five on its panel), the player's
// status gauges and, while it is closed, the newest lines over the field.
// The big chat window (id 3) shows the older lines of the same history and
// forwards its text operations to the chat window.
#pragma once
#include <cstdint>

#include "core/SlrList.h"
#include "ui/WidgetWindow.h"

class CChatWin : public CWidgetWindow {
public:
    static constexpr int32_t kId = 2;
    static constexpr int32_t kLines = 34;
    static constexpr int32_t kPanelLines = 5;
    static constexpr int32_t kInputX = 25, kInputY = 558;
    static constexpr int32_t kGaugeHeight = 10;
    static constexpr int32_t kGaugeWidth = 54;
    static constexpr int32_t kLevelGaugeWidth = 99;
    static constexpr int kGauges = 8;
    // The closed window's overlay: a line fades every 150 frames, six fade
    // it out; the frame counter restarts at 41 before it would overflow.
    static constexpr int32_t kOverlayFadeFrames = 150;
    static constexpr int16_t kOverlayExpired = 6;
    static constexpr int32_t kOverlayRestartAbove = 2147483645;
    static constexpr int32_t kOverlayRestart = 41;

    CChatWin();

    void SetState(int32_t state) override;
    void Draw(uint8_t* surface) override;
    void Refresh() override;
    void GetInputPos(CPoint* out) override;
    void Clear() override;

    // value * max / divisor clamped to 1..max; a divisor of 0 or less
    // gives a full gauge.
    static int32_t GaugeWidth(int64_t value, int64_t divisor, int32_t max);
    // The widths of the eight gauges from the player's record.
    static void GaugeWidths(int32_t (&out)[kGauges]);

private:
    void DrawOverlay();
    void DrawGauges(uint8_t* surface);

    CSlrList m_panel;
    CSlrList m_cell;
    // The two extra pictures are tried once an opening (a missing one
    // shows its message once, not every frame).
    bool m_extrasTried = false;
};

class CBigChatWin : public CWidgetWindow {
public:
    static constexpr int32_t kId = 3;
    static constexpr int32_t kFirstLine = 6;
    static constexpr int32_t kLastLine = 33;

    explicit CBigChatWin(CWidgetWindow* chat);

    void Refresh() override;
    void SubmitText() override;
    void GetInputPos(CPoint* out) override;
    char** GetLines() override;
    int32_t* GetLineAttrs() override;
    char* GetText() override;
    int32_t GetMaxLen() override;
    int OnChatMessage(const uint8_t* record, size_t size) override;

private:
    CWidgetWindow* m_chat;
};
