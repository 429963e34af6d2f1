#include "effects/ChatBalloon.h"

#include <cstring>

#include "app/FrameClock.h"
#include "core/TextLayer.h"
#include "world/Creature.h"

namespace {

// Copies bytes from text[i] while i < end, a lead byte together with its
// trail byte; stops at a zero byte in either. Returns where it stopped.
size_t CopyPart(const char* text, size_t i, size_t end, char* out)
{
    size_t o = 0;
    while (i < end && text[i] != 0) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b >= 0x80) {
            if (text[i + 1] == 0)
                return i + 1;  // a lone lead byte at the end is dropped
            out[o++] = text[i];
            out[o++] = text[i + 1];
            i += 2;
        } else {
            out[o++] = text[i++];
        }
    }
    return i;
}

}  // namespace

void CChatBalloon::SplitText(const char* text, char* line1, char* line2)
{
    std::memset(line1, 0, kLineSize);
    std::memset(line2, 0, kLineSize);
    size_t i = CopyPart(text, 0, kLine1End, line1);
    CopyPart(text, i, kLine2End, line2);
    // Texts longer than 62 bytes say that they go on.
    int n = 0;
    while (n <= kEllipsisAfter && text[n] != 0)
        ++n;
    if (n > kEllipsisAfter)
        std::strcat(line2, "...");
}

void CChatBalloon::Init(CEffectManager* manager, CCreature* character, const char* text, int colour)
{
    m_pManager = manager;
    m_pCharacter = character;
    m_framesDrawn = 0;
    m_startFrame = g_gameFrameCount;
    SplitText(text, m_line1, m_line2);
    if (character)
        character->SetBalloon(this);
    m_colour = colour;
    m_active = 1;
}

void CChatBalloon::Stop()
{
    if (m_pCharacter && m_pCharacter->GetBalloon() == this)
        m_pCharacter->SetBalloon(nullptr);
    m_active = 0;
}

void CChatBalloon::Draw(uint8_t* dst)
{
    if (!m_pCharacter || !m_pCharacter->IsActive() || !m_pCharacter->IsAlive()) {
        Stop();
        return;
    }
    int sx = 0, sy = 0;
    ToScreen(m_pCharacter->GetPixelX(), m_pCharacter->GetPixelY(), sx, sy);
    m_topY = sy - 100;
    const int len1 = static_cast<int>(std::strlen(m_line1));
    m_textX = len1 < kLine1End ? sx - len1 * 3 : sx - 102;
    if (Presented() && g_pTextLayer && dst) {
        g_pTextLayer->SetTarget(dst, 800, 600);
        const auto colour = static_cast<uint8_t>(m_colour);
        // The chat line is Johab, as the chat window shows it.
        g_pTextLayer->DrawTextColored(m_textX, m_topY, m_line1, colour, 255, 0);
        if (m_line2[0])
            g_pTextLayer->DrawTextColored(m_textX, m_topY + 14, m_line2, colour, 255, 0);
    }
    ++m_framesDrawn;
    if (g_gameFrameCount - m_startFrame >= kLifeFrames)
        Stop();
}
