// The ranking search (68): one line for a name or a rank and the two
// buttons that look it up; the buttons read the line, Enter sends nothing.
#pragma once
#include <cstdint>

#include "ui/EditWidget.h"

class CRankFndWin : public CEditWidget {
public:
    static constexpr int32_t kId = 68;
    static constexpr int32_t kTextMaxLen = 15;

    CRankFndWin();

    void SetState(int32_t state) override;
    void GetInputPos(CPoint* out) override;
    void Draw(uint8_t* surface) override;
    void SubmitText() override {}
};
