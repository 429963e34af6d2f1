// The hair-colour window (87): eight colour swatches, a preview of the
// chosen colour with its name, OK (command 117 applies the UI layer's
// pending colour) and Cancel (118).
#pragma once
#include <cstdint>

#include "core/SlrList.h"
#include "ui/WidgetWindow.h"

class CHairColorWin : public CWidgetWindow {
public:
    static constexpr int32_t kId = 87;
    static constexpr int kColours = 8;
    static constexpr const char* kNames[kColours] = {"WHITE", "GREEN", "VIOLET", "BLUE",
                                                     "BLONDE", "BROWN",  "GRAY",   "BLACK"};

    CHairColorWin();

    void SetState(int32_t state) override;
    int OnLButtonDown(int32_t x, int32_t y) override;
    void Draw(uint8_t* surface) override;

    int32_t GetSelected() const { return m_selected; }
    // The colour of the swatch at a screen point, -1 between them.
    static int32_t SwatchAt(int32_t x, int32_t y);

private:
    CSlrList m_previews;
    bool m_previewsTried = false;
    int32_t m_selected = 0;
};
