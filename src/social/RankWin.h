// The ranking window (67): six lines of the page on show, refresh, search
// and the two paging buttons. While it is open no click goes past it.
#pragma once
#include <array>
#include <cstdint>

#include "ui/EditWidget.h"

class CRankWin : public CEditWidget {
public:
    static constexpr int32_t kId = 67;
    static constexpr int kLineSize = 100;

    CRankWin();

    // The six lines from g_rankingEntries.
    void Refresh() override;
    void Draw(uint8_t* surface) override;
    int OnLButtonDblClk(int32_t x, int32_t y) override;
    int OnLButtonDown(int32_t x, int32_t y) override;
    int OnMouseMove(int32_t x, int32_t y) override;

    const char* GetRankLine(int i) const { return m_rankLines[static_cast<size_t>(i)].data(); }

private:
    std::array<std::array<char, kLineSize>, 6> m_rankLines{};
};
