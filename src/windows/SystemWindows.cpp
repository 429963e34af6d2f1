#include "windows/SystemWindows.h"

#include <algorithm>
#include <cstring>

#include "app/CommandRing.h"
#include "app/FrameClock.h"
#include "core/Blit.h"
#include "core/TextLayer.h"
#include "platform/Clock.h"
#include "ui/InputFocus.h"
#include "ui/TextCut.h"
#include "windows/DaradirUzedo.h"

CNoticeLine* g_currentNoticeLine;
CMessageBoxWin* g_pMessageBoxWin;

namespace {

constexpr int32_t kClosedX = -328;
constexpr int32_t kRepeat = CButtonWidget::kRepeatFrames;
constexpr const char* kOkSprite = "okg1.slr";
constexpr const char* kCancelSprite = "cancelg1.slr";
constexpr uint8_t kMessageColour = 197;

// Text in one colour, no shadow, into the 800 x 600 surface.
CTextLayer* TextInto(uint8_t* surface, uint8_t colour)
{
    CTextLayer* text = surface ? g_pTextLayer : nullptr;
    if (text) {
        text->SetTarget(surface, kScreenWidth, kScreenHeight);
        text->SetColor(0);
        text->SetColors(colour, 255);
    }
    return text;
}

}  // namespace

// ---- notice line ------------------------------------------------------------

void CNoticeLine::Show(const char* text, int draws)
{
    g_currentNoticeLine = this;
    m_countdown = draws;
    CopyTextCut(m_text.data(), m_text.size(), text ? text : "");
}

void CNoticeLine::Draw(uint8_t* surface)
{
    if (m_countdown > INT32_MIN)
        --m_countdown;
    if (m_countdown <= 0)
        return;
    if (CTextLayer* text = TextInto(surface, kColour))
        text->DrawText(kX, kY, m_text.data(), 0);
}

// ---- message box ------------------------------------------------------------

CMessageBoxWin::CMessageBoxWin() : CWidget(0, nullptr, 0, 0, 0, 0), m_lastScroll(plat::UnixTime())
{
    for (int i = 0; i < kLines; ++i)
        m_lines[static_cast<size_t>(i)] = m_lineBuf[static_cast<size_t>(i)].data();
}

void CMessageBoxWin::SetText(const char* text)
{
    const size_t n = text ? strnlen(text, kTextSize - 1) : 0;
    if (n)
        std::memcpy(m_text.data(), text, n);
    m_text[n] = 0;
    m_offset = 0;
}

void CMessageBoxWin::NextLine()
{
    char* first = m_lines[0];
    std::rotate(m_lines.begin(), m_lines.begin() + 1, m_lines.end());
    m_lines[kLines - 1] = first;
    if (IsEmpty())
        return;
    // text[kTextSize - 1] is always 0, so the walk ends inside the text.
    const int32_t start = m_offset;
    int32_t j = start;
    while (j < start + kLineBytes && m_text[static_cast<size_t>(j)] != 0) {
        if (static_cast<uint8_t>(m_text[static_cast<size_t>(j)]) > 127) {
            // A lead byte whose trail is the end of the text ends the walk.
            if (m_text[static_cast<size_t>(j) + 1] == 0) {
                ++j;
                break;
            }
            j += 2;
        } else {
            ++j;
        }
    }
    const size_t n = static_cast<size_t>(j - start);
    std::memcpy(first, m_text.data() + start, n);
    first[n] = 0;
    m_offset = j;
}

void CMessageBoxWin::Draw(uint8_t* surface)
{
    if (CTextLayer* text = TextInto(surface, kMessageColour))
        for (int i = 0; i < kLines; ++i)
            text->DrawText(50, 30 + 20 * i, m_lines[static_cast<size_t>(i)], 1);
    const uint32_t now = plat::UnixTime();
    const int64_t gap = static_cast<int64_t>(now) - m_lastScroll;
    if (gap > 1 || gap < -1) {
        NextLine();
        m_lastScroll = now;
    }
}

// ---- form inputs --------------------------------------------------------------

CPasswordInput::CPasswordInput(int32_t id, CWidget* owner, int32_t offsetX, int32_t offsetY, int32_t width,
                               int32_t height, int32_t maxLen)
    : CInputBox(id, owner, offsetX, offsetY, 0, 0, width, height), m_fieldLen(maxLen)
{
    m_maxLen = maxLen;
}

char* CPasswordInput::GetText()
{
    // The edit line may have been started for longer texts elsewhere.
    m_input[static_cast<size_t>(std::clamp(m_fieldLen, 0, kInputSize - 1))] = 0;
    return m_input.data();
}

void CPasswordInput::Draw(uint8_t* surface)
{
    CopyTextCut(m_shown.data(), m_shown.size(), GetText());
    const size_t n = std::min<size_t>(std::strlen(m_shown.data()), kMaxStars);
    if (n == 0)
        return;
    char stars[kMaxStars + 1] = {};
    std::fill_n(stars, n, '*');
    if (CTextLayer* text = TextInto(surface, 60))
        text->DrawText(kFormX + m_offsetX, kFormY + m_offsetY, stars, 0);
}

void CPasswordInput::GetInputPos(CPoint* out)
{
    if (out)
        *out = CPoint{kFormX + m_offsetX, kFormY + m_offsetY};
}

void CPasswordInput::TakeFocus()
{
    g_inputFocus.SetFocusWidget(this);
    g_inputFocus.BeginWidgetInput();
}

void CPasswordInput::Clear()
{
    m_input.fill(0);
    CTextLayer* text = g_pTextLayer;
    if (text && g_inputFocus.GetFocusWidget() == this) {
        text->SetInputText(m_input.data(), kInputSize);
        text->ClearInput();
    }
}

// ---- the boxes ------------------------------------------------------------------

CSystemBoxWin::CSystemBoxWin(int32_t id, const char* slrName, int32_t openX)
    : CWidgetWindow(id, slrName, openX, 93, kClosedX, 93, 0)
{
}

CButtonWidget* CSystemBoxWin::AddButton(const char* slrName, int32_t x, int32_t y, int32_t command)
{
    auto* b = new CButtonWidget(0, slrName, this, x, y, command, kRepeat);
    AddChild(b);
    return b;
}

CFormWin::CFormWin(int32_t id, const char* slrName, int32_t okCommand, int32_t cancelCommand, int32_t buttonY)
    : CSystemBoxWin(id, slrName),
      m_ok(AddButton(kOkSprite, 52, buttonY, okCommand)),
      m_cancel(AddButton(kCancelSprite, 187, buttonY, cancelCommand)),
      m_cancelCommand(cancelCommand)
{
}

void CFormWin::Draw(uint8_t* surface)
{
    WindowDraw(surface);
    bool filled = true;
    for (int i = 0; i < m_fieldCount; ++i) {
        CWidget* field = FindChild(m_fieldIds[static_cast<size_t>(i)]);
        const char* text = field ? field->GetText() : nullptr;
        if (!text || !*text)
            filled = false;
    }
    m_ok->SetLook(filled ? CButtonWidget::kLookNormal : CButtonWidget::kLookDisabled);
    bool boxUp = false;
    if (CDaradirUzedo* ui = g_layerHolder.GetLayer())
        boxUp = ui->IsWindowOpen(90) || ui->IsWindowOpen(92) || ui->IsWindowOpen(91);
    m_cancel->SetLook(boxUp ? CButtonWidget::kLookDisabled : CButtonWidget::kLookNormal);
}

void CFormWin::Refresh()
{
    if (m_state != kClosed && m_state != kClosing)
        CWidgetContainer::Refresh();
}

int32_t CFormWin::OnEscape()
{
    g_commandRing.Push(static_cast<uint32_t>(m_cancelCommand));
    return m_id;
}

CPasswordChangeWin::CPasswordChangeWin() : CFormWin(77, "data\\passwordch1.slr", 113, 112, 220)
{
    AddInput<CPasswordInput>(78, 164, 49, 91, 21, 9);
    AddInput<CPasswordInput>(79, 164, 88, 61, 21, 8);
    AddInput<CPasswordInput>(80, 238, 88, 59, 20, 9);
    AddInput<CPasswordInput>(81, 164, 132, 92, 20, 9);
    AddInput<CPasswordInput>(82, 164, 177, 92, 21, 9);
}

void CPasswordChangeWin::SetState(int32_t state)
{
    CWidgetWindow::SetState(state);
    if (state != kClosing)
        return;
    CDaradirUzedo* ui = g_layerHolder.GetLayer();
    if (!g_gmFlag || (ui && ui->IsWindowOpen(2)))
        g_inputFocus.RestoreFocus();
    else
        g_inputFocus.ClearFocus();
}

CSuicideWin::CSuicideWin() : CFormWin(83, "data\\suicide1.slr", 115, 114, 191)
{
    AddInput<CSuicideInput>(84, 164, 61, 113, 21, 9);
    AddInput<CSuicideInput>(85, 164, 118, 62, 21, 8);
    AddInput<CSuicideInput>(86, 237, 117, 61, 22, 9);
}

CSmallBoxWin::CSmallBoxWin() : CSystemBoxWin(89, "data\\smallbox.slr")
{
    AddButton(kOkSprite, 52, 191, 119);
    AddButton(kCancelSprite, 187, 191, 120);
}

CMsgBoxWin::CMsgBoxWin(int32_t id, const char* slrName) : CSystemBoxWin(id, slrName)
{
    AddButton("confirmbutton.slr", 111, 88, 121);
}

// ---- are you sure -----------------------------------------------------------------

CAreYouSureWin::CAreYouSureWin() : CWidget(36, "data\\AreYouSure.slr", 230, 240, 230, 600) {}

int CAreYouSureWin::OnMouseMove(int32_t x, int32_t y)
{
    m_frame = 0;
    const int32_t ox = m_openPos.x, oy = m_openPos.y;
    if (m_state != kOpen || y <= oy || y >= oy + 31)
        return 0;
    if (x > ox + 220 && x < ox + 260)
        m_frame = m_pressed == 1 ? 3 : 1;
    else if (x > ox + 260 && x < ox + 300)
        m_frame = m_pressed == 2 ? 4 : 2;
    return 1;
}

int CAreYouSureWin::OnLButtonDown(int32_t, int32_t)
{
    if (m_frame == 1) {
        m_pressed = 1;
        m_frame = 3;
        return 1;
    }
    if (m_frame == 2) {
        m_pressed = 2;
        m_frame = 4;
        return 1;
    }
    return 0;
}

int CAreYouSureWin::OnLButtonUp(int32_t, int32_t)
{
    if (m_frame == 3 || m_frame == 4) {
        g_commandRing.Push(m_frame == 3 ? 19u : 20u);
        return 1;
    }
    m_pressed = 0;
    return 0;
}

int32_t CAreYouSureWin::OnEscape()
{
    g_commandRing.Push(20);
    return m_id;
}
