// The search window (57): a line of text and three buttons choosing what it
// is looked up by, and the button that starts the search (command 68).
#pragma once
#include <cstdint>

#include "ui/WidgetWindow.h"

class CSearchWin : public CWidgetWindow {
public:
    static constexpr int32_t kId = 57;
    // What GetSelection gives: the search modes of the requests.
    enum : int32_t { kByTitle = 0, kByDate = 1, kById = 2 };
    // The longest search text.
    static constexpr int32_t kTextMaxLen = 32;

    CSearchWin();

    void GetInputPos(CPoint* out) override;
    int32_t GetSelection() override { return m_selection; }
    // The line is read by the search command, never sent as chat.
    void SubmitText() override {}

private:
    int32_t m_selection = kByDate;
};
