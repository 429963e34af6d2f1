// The game's text renderer. Minimal form: the fonts are named but not drawn
// yet.
#pragma once
#include <cstdint>

#include "core/Layer.h"

class CDisplay;

class CTextLayer : public CLayer {
public:
    explicit CTextLayer(CDisplay* display) : m_pDisplay(display) {}

    // Loads the Hangul and the English font; 1 on success.
    int LoadFonts(const char* hangulFont, const char* englishFont);
    // A typed character for the edit line; a requested mode switch takes
    // effect first.
    void OnEditChar(uint32_t ch)
    {
        m_lastChar = ch;
        if (m_modeSwitchRequest) {
            m_hangulMode = !m_hangulMode;
            m_modeSwitchRequest = 0;
        }
    }
    // Switches between Hangul and Latin input at the next character.
    void RequestModeSwitch() { m_modeSwitchRequest = 1; }

    uint32_t LastChar() const { return m_lastChar; }
    bool IsHangulMode() const { return m_hangulMode != 0; }

private:
    [[maybe_unused]] CDisplay* m_pDisplay;
    uint32_t m_lastChar = 0;
    uint32_t m_hangulMode = 1;
    uint32_t m_modeSwitchRequest = 0;
};

extern CTextLayer* g_pTextLayer;
