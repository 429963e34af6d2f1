#include "windows/TalkBoxWin.h"

#include <algorithm>
#include <cstring>

#include "core/Blit.h"
#include "core/TextLayer.h"
#include "ui/ButtonWidget.h"
#include "windows/DaradirUzedo.h"

namespace {
constexpr int32_t kTextX = 260, kTextY = 153, kTextPitch = 20;
constexpr int32_t kMarkX = 151, kMarkY = 100;
constexpr int kShownLines = 3;
}  // namespace

int WrapTalkText(const char* text, size_t size, TalkLines& lines)
{
    for (auto& line : lines)
        line.fill(0);
    size_t start = 0;
    int count = 0;
    bool ended = false;
    while (count < kTalkLines && !ended) {
        size_t j = start;
        while (j < start + kTalkLineBytes) {
            if (j >= size || text[j] == '\0') {
                ended = true;
                break;
            }
            if (static_cast<uint8_t>(text[j]) & 0x80) {
                // A lead byte without its trail ends the text before it.
                if (j + 1 >= size || text[j + 1] == '\0') {
                    ended = true;
                    break;
                }
                j += 2;
            } else {
                ++j;
            }
        }
        const char* from = text + start;
        size_t n = j - start;
        if (n > 0 && from[0] == ' ') {
            ++from;
            --n;
        }
        std::memcpy(lines[static_cast<size_t>(count)].data(), from, n);
        ++count;
        start = j;
    }
    return count;
}

CTalkBoxWin::CTalkBoxWin() : CNpcWindow(kId, "talkbox.slr")
{
    AddChild(new CButtonWidget(0, "uparrow.slr", this, 286, 50, 141, kNpcButtonRepeat));
    AddChild(new CButtonWidget(0, "downarrow.slr", this, 286, 101, 142, kNpcButtonRepeat));
    m_moreMark.Load("data\\dots.slr");
}

void CTalkBoxWin::Draw(uint8_t* surface)
{
    WindowDraw(surface);
    if (m_state == kClosed)
        return;
    CDaradirUzedo* ui = g_layerHolder.GetLayer();
    if (!ui)
        return;
    const int lines = WrapTalkText(ui->m_talkText.data(), ui->m_talkText.size(), m_shown);
    ui->m_talkLineCount = lines - 1;
    // A top line left over from a longer text shows the last lines.
    ui->m_talkTopLine = std::clamp(ui->m_talkTopLine, 0, std::max(0, ui->m_talkLineCount - 2));
    const int32_t top = ui->m_talkTopLine;
    if (top <= ui->m_talkLineCount - kShownLines && surface)
        m_moreMark.Draw(0, m_pos.x + kMarkX, m_pos.y + kMarkY, ScreenTarget(surface));
    CTextLayer* text = g_pTextLayer;
    if (!text || !surface)
        return;
    text->SetTarget(surface, kScreenWidth, kScreenHeight);
    text->SetColor(0);
    text->SetColors(kTextColour, 255);
    for (int k = 0; k < kShownLines && k < lines; ++k) {
        const int32_t i = top + k;
        if (i >= kTalkLines || i >= lines)
            break;
        text->DrawText(kTextX, kTextY + kTextPitch * k, m_shown[static_cast<size_t>(i)].data(), 0);
    }
}
