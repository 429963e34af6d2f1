// The colony headquarters' panel: the colony's figures, the build and
// demolish buttons and the rate entry (0..80), which is live while the panel
// is open. Closing it sends the colony's resources.
#pragma once
#include "colony/ColonyPanel.h"

class CHqPanel : public CColonyPanel {
public:
    static constexpr int32_t kId = 60;
    static constexpr int32_t kMaxRate = 80;
    static constexpr int32_t kMaxRateChars = 10;

    CHqPanel();

    void SetState(int32_t state) override;
    void Draw(uint8_t* surface) override;
    void GetInputPos(CPoint* out) override;
    // The entry is a number, never a chat line.
    void SubmitText() override {}

    // The entry's text as the new rate: below 0 is 0, above 80 keeps the
    // old rate; the text is rewritten as the rate.
    void ApplyRateEntry();
};
