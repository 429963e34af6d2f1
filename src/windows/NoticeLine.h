// The timed notice line. Minimal form: the text and its countdown of draws.
#pragma once
#include <array>
#include <cstdint>

#include "ui/Widget.h"

class CNoticeLine : public CWidget {
public:
    static constexpr int kTextSize = 128;

    CNoticeLine() : CWidget(0) {}
    // Shows text for `draws` draws and becomes g_currentNoticeLine.
    void Show(const char* text, int draws);
    char* GetText() override { return m_text.data(); }
    int GetCountdown() const { return m_countdown; }

private:
    int32_t m_countdown = 0;
    std::array<char, kTextSize> m_text{};
};

// The notice line Show was called on last; null before.
extern CNoticeLine* g_currentNoticeLine;
