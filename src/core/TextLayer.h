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
    void SetPasswordMode() {}
    // The buffer text is drawn into (row pitch = width), and the style word
    // (bit 0: drop shadow).
    void SetTarget(uint8_t* bits, int width, int height)
    {
        m_pTarget = bits;
        m_targetWidth = width;
        m_targetHeight = height;
    }
    void SetColor(uint32_t style) { m_style = style; }
    uint8_t* GetTarget() const { return m_pTarget; }
    int GetTargetWidth() const { return m_targetWidth; }
    int GetTargetHeight() const { return m_targetHeight; }
    uint32_t GetStyle() const { return m_style; }

    uint32_t LastChar() const { return m_lastChar; }
    bool IsHangulMode() const { return m_hangulMode != 0; }

private:
    [[maybe_unused]] CDisplay* m_pDisplay;
    uint32_t m_lastChar = 0;
    uint8_t* m_pTarget = nullptr;
    int m_targetWidth = 0;
    int m_targetHeight = 0;
    uint32_t m_style = 1;
    uint32_t m_hangulMode = 1;
    uint32_t m_modeSwitchRequest = 0;
};

extern CTextLayer* g_pTextLayer;
