// A character's chat line over its head for 401 game frames, in two lines.
#pragma once
#include "effects/Effect.h"

class CCreature;

class CChatBalloon : public CEffect {
public:
    static constexpr int kLineSize = 256;
    // Line 1 takes bytes while its index is below 34, line 2 below 60;
    // a double-byte character is never cut.
    static constexpr int kLine1End = 34;
    static constexpr int kLine2End = 60;
    static constexpr int kEllipsisAfter = 62;
    static constexpr uint32_t kLifeFrames = 401;

    // (Re)starts the balloon over the character; it becomes the
    // character's balloon.
    void Init(CEffectManager* manager, CCreature* character, const char* text, int colour);
    void Draw(uint8_t* dst) override;
    // Ends the balloon; the speaker forgets it when it was its balloon.
    void Stop() override;

    CCreature* GetCharacter() const { return m_pCharacter; }
    int GetTopY() const { return m_topY; }
    int GetTextX() const { return m_textX; }
    const char* GetLine1() const { return m_line1; }
    const char* GetLine2() const { return m_line2; }
    int GetColour() const { return m_colour; }

    // The split on its own: line 1 and line 2 (each kLineSize bytes).
    static void SplitText(const char* text, char* line1, char* line2);

private:
    CCreature* m_pCharacter = nullptr;
    uint32_t m_startFrame = 0;
    int32_t m_framesDrawn = 0;
    char m_line1[kLineSize] = {};
    char m_line2[kLineSize] = {};
    int32_t m_textX = 0;
    int32_t m_topY = 0;
    int32_t m_colour = 0;
};
