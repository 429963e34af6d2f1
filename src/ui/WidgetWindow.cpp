#include "ui/WidgetWindow.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/CommandRing.h"
#include "app/FrameClock.h"
#include "core/BiString.h"
#include "core/ByteReader.h"
#include "core/HanCodeConv.h"
#include "core/TextLayer.h"
#include "ui/InputFocus.h"
#include "ui/TextCut.h"
#include "effects/EffectsService.h"
#include "social/SocialService.h"
#include "windows/DaradirUzedo.h"
#include "windows/PlayerInfo.h"
#include "windows/UiService.h"

namespace {

constexpr int32_t kChatWindow = 2;

// Chat colours and the texts of the lines built from received chat.
constexpr int32_t kColourShout = 224;
constexpr int32_t kColourNotice = 185;
constexpr int32_t kColourServer = 198;
constexpr int32_t kColourChat = 69;
constexpr int32_t kColourWhisper = 222;

enum : uint8_t { kModeChat = 0, kModeWhisper = 1, kModeShout = 2, kModeNotice = 3 };
constexpr uint8_t kModeAbsent = 'e';
constexpr uint8_t kModeRefused = 'f';
constexpr uint8_t kModeInBattle = 'n';

const CBiString kServerPrefix("서버 메시지 : \0Server Message : ");
const CBiString kAbsentText("%s님은 접속하고 있지 않습니다.\0%s is not in the game");
const CBiString kRefusedText("%s님의 귓속말을 거부하였습니다.\0%s's whisper was refused");
const CBiString kToText("%s님에게로 : \0To %s : ");
const CBiString kFromText("%s님에게서 : \0From %s : ");
const CBiString kInBattleText("%s님은 전투중 입니다.\0%s is Battle mode");

// A line being built, cut at 255 bytes on a character boundary.
class CLineBuilder {
public:
    void Append(const char* text)
    {
        const size_t room = sizeof m_text - 1 - m_length;
        m_length += CopyTextCut(m_text + m_length, room + 1, text);
    }
    // The game's own texts are CP949; the line is Johab, as the names and
    // the typed texts in it are.
    void AppendOwn(const char* cp949)
    {
        char piece[CWidgetWindow::kLineSize + 1];
        CopyTextCut(piece, sizeof piece, cp949);
        Append(CHanCodeConv::CP949ToJohab(piece, piece));
    }
    void AppendOwnF(const char* cp949Format, const char* johabArg)
    {
        char format[CWidgetWindow::kLineSize + 1];
        CopyTextCut(format, sizeof format, cp949Format);
        CHanCodeConv::CP949ToJohab(format, format);
        char piece[CWidgetWindow::kLineSize + 1];
        FormatTextCutF(piece, sizeof piece, format, johabArg);
        Append(piece);
    }
    const char* Text() const { return m_text; }

private:
    char m_text[CWidgetWindow::kLineSize + 1] = {};
    size_t m_length = 0;
};

}  // namespace

CWidgetWindow::CWidgetWindow(int32_t id, const char* slrName, int32_t openX, int32_t openY, int32_t closedX,
                             int32_t closedY, int32_t lineCount)
    : CWidgetContainer(id, nullptr, openX, openY, closedX, closedY), m_slrName(slrName)
{
    if (lineCount > 0) {
        m_lineCount = lineCount;
        const size_t n = static_cast<size_t>(lineCount);
        m_lineText = std::make_unique<char[]>(n * kLineSize);
        m_lines = std::make_unique<char*[]>(n);
        m_lineAttrs = std::make_unique<int32_t[]>(n);
        for (size_t i = 0; i < n; ++i)
            m_lines[i] = m_lineText.get() + i * kLineSize;
        m_maxLen = kLineMaxLen;
    }
}

CWidgetWindow::~CWidgetWindow()
{
    // The focus never points at a window that is gone.
    if (g_inputFocus.GetHomeWidget() == this)
        g_inputFocus.SetHomeWidget(nullptr);
    if (g_inputFocus.GetFocusWidget() == this)
        g_inputFocus.ClearFocus();
}

void CWidgetWindow::Toggle()
{
    ContainerToggle();
    if (m_state == kClosed || m_state == kClosing) {
        if (!g_gmFlag || Ui().IsWindowOpen(kChatWindow))
            g_inputFocus.RestoreFocus();
    }
}

void CWidgetWindow::SetState(int32_t state)
{
    ContainerSetState(state);
    if (state == kOpening)
        m_imageMissing = false;
}

int CWidgetWindow::BodyHit(int32_t x, int32_t y) const
{
    return m_sprite.HitTest(0, x - m_pos.x, y - m_pos.y);
}

int CWidgetWindow::OnLButtonDown(int32_t x, int32_t y)
{
    const int64_t dx = int64_t{x} - m_pos.x, dy = int64_t{y} - m_pos.y;
    if (m_inputRect.left <= dx && dx <= m_inputRect.right && m_inputRect.top <= dy && dy <= m_inputRect.bottom) {
        g_inputFocus.SetFocusWidget(this);
        g_inputFocus.BeginWidgetInput();
        g_commandRing.Push(0);
        return 1;
    }
    if (CWidgetContainer::OnLButtonDown(x, y))
        return 1;
    return BodyHit(x, y);
}

int CWidgetWindow::OnRButtonDown(int32_t x, int32_t y)
{
    return CWidgetContainer::OnRButtonDown(x, y);
}

int CWidgetWindow::OnMouseMove(int32_t x, int32_t y)
{
    return CWidgetContainer::OnMouseMove(x, y) ? 1 : BodyHit(x, y);
}

int CWidgetWindow::OnRButtonUp(int32_t x, int32_t y)
{
    return CWidgetContainer::OnRButtonUp(x, y) ? 1 : BodyHit(x, y);
}

int CWidgetWindow::OnLButtonUp(int32_t x, int32_t y)
{
    return CWidgetContainer::OnLButtonUp(x, y) ? 1 : BodyHit(x, y);
}

void CWidgetWindow::WindowDraw(uint8_t* surface)
{
    if (m_state == kClosed) {
        ScheduleImageUnload();
        return;
    }
    if (m_slrName)
        LoadImageOnDemand();
    else
        m_cleanImage.reset();
    ContainerDraw(surface);
    if (m_inputEnabled && static_cast<int64_t>(strnlen(m_input.data(), m_input.size())) >= int64_t{m_maxLen} - 2)
        SubmitText();
    m_unloadCountdown = kUnloadFrames;
}

void CWidgetWindow::Draw(uint8_t* surface)
{
    WindowDraw(surface);
}

void CWidgetWindow::SubmitText()
{
    if (m_input[0] == '\0')
        return;
    if (const char* line = TypedChatLine())
        SendChat(line);
    ClearInput();
}

const char* CWidgetWindow::TypedChatLine()
{
    m_input[static_cast<size_t>(std::clamp<int32_t>(m_maxLen, 0, kInputSize - 1))] = '\0';
    if (m_input[0] == '\0' || Social().ParseCommand(m_input.data()) != 0)
        return nullptr;
    return m_input.data();
}

void CWidgetWindow::ClearInput()
{
    m_input.fill(0);
    if (CTextLayer* text = g_pTextLayer) {
        text->SetInputText(m_input.data(), kInputSize);
        text->ClearInput();
    }
}

void CWidgetWindow::SendChat(const char* text)
{
    Social().SendChat(text);
}

void CWidgetWindow::StoreLine(const char* text, size_t n, int32_t attr)
{
    char* entry0 = m_lines[0];
    std::memset(entry0, 0, kLineSize);
    std::memcpy(entry0, text, std::min<size_t>(n, kLineSize - 1));
    char* oldest = m_lines[static_cast<size_t>(m_lineCount - 1)];
    for (int32_t i = m_lineCount - 1; i >= 1; --i) {
        m_lines[static_cast<size_t>(i)] = m_lines[static_cast<size_t>(i - 1)];
        m_lineAttrs[static_cast<size_t>(i)] = m_lineAttrs[static_cast<size_t>(i - 1)];
    }
    m_lines[0] = oldest;
    std::memset(oldest, 0, kLineSize);
    if (m_lineCount >= 2)
        m_lineAttrs[1] = attr;
    // The chat overlay shows the new line: alone when older ones had faded.
    if (CDaradirUzedo* ui = g_layerHolder.GetLayer()) {
        if (ui->m_chatOverlayExpired > 0)
            ui->m_chatOverlayShown = 2;
        else if (ui->m_chatOverlayShown < 6)
            ++ui->m_chatOverlayShown;
        ui->m_chatOverlayExpired = 0;
        ui->m_chatOverlayTimer = 0;
    }
}

void CWidgetWindow::AddTextLine(const char* text, int32_t attr)
{
    if (!m_lines || !text)
        return;
    // A line never holds more than its 254 bytes.
    const size_t maxLen = static_cast<size_t>(std::clamp<int32_t>(m_maxLen, 1, kLineSize - 1));
    const size_t cut = maxLen > 3 ? maxLen - 3 : 1;
    size_t len = std::strlen(text);
    const bool split = len > maxLen;
    while (len > maxLen) {
        // Whole characters up to at least maxLen - 3 bytes, at least one.
        size_t n = 0;
        do
            n += CharWidth(text + n);
        while (n < cut);
        StoreLine(text, n, attr);
        text += n;
        len -= n;
    }
    // Pieces wider than a tiny maxLen can use the text up.
    if (len > 0 || !split)
        StoreLine(text, len, attr);
}

int CWidgetWindow::OnChatMessage(const uint8_t* record, size_t size)
{
    CByteReader r(record, record ? size : 0);
    const uint16_t senderId = r.U16();
    char name[kChatNameSize + 1] = {};
    r.Bytes(name, kChatNameSize);
    const uint8_t mode = r.U8();
    const uint16_t stated = r.U16();
    // The stated length may run past the packet.
    const size_t length = std::min<size_t>(stated, r.Remaining());
    if (!r.Ok())
        return 1;
    // The text as far as the line could show it.
    char text[kLineSize + 1] = {};
    r.Bytes(text, std::min(length, sizeof text - 1));

    char nameJ[kChatNameSize + 1];
    CHanCodeConv::CP949ToJohab(name, nameJ);
    // Whispers and battle notices begin with a name and a space; a text
    // without a space is all name.
    const char* space = std::strchr(text, ' ');
    const size_t leadLength = space ? static_cast<size_t>(space - text) : std::strlen(text);
    char lead[kLineSize + 1] = {};
    std::memcpy(lead, text, leadLength);
    CHanCodeConv::CP949ToJohab(lead, lead);
    const char* rest = space ? space + 1 : "";

    const bool fromMe = senderId == g_playerInfo.GetCharId();
    CLineBuilder line;
    if (senderId == 0) {
        line.AppendOwn(kServerPrefix.Get());
        if (mode == kModeAbsent)
            line.AppendOwnF(kAbsentText.Get(), nameJ);
        else if (mode == kModeRefused)
            line.AppendOwnF(kRefusedText.Get(), nameJ);
    }
    if (mode == kModeChat || mode == kModeShout || mode == kModeNotice) {
        line.Append("[");
        line.Append(nameJ);
        line.Append("] ");
        line.Append(text);
    } else if (mode == kModeWhisper) {
        if (fromMe) {
            line.AppendOwnF(kToText.Get(), lead);
        } else {
            Social().SetLastWhisperer(name);
            line.AppendOwnF(kFromText.Get(), nameJ);
        }
        line.Append(rest);
    } else if (mode == kModeInBattle) {
        line.AppendOwnF(kInBattleText.Get(), lead);
    }

    int32_t colour;
    bool balloon;
    if (mode == kModeShout) {
        colour = kColourShout, balloon = true;
    } else if (mode == kModeNotice) {
        colour = kColourNotice, balloon = false;
    } else if (mode == kModeInBattle) {
        colour = kColourServer, balloon = false;
    } else if (fromMe) {
        colour = kColourChat, balloon = true;
    } else if (senderId == 0) {
        colour = kColourServer, balloon = false;
    } else if (mode == kModeWhisper) {
        colour = kColourWhisper, balloon = false;
    } else {
        colour = kColourChat, balloon = true;
    }
    if (balloon)
        Effects().StartChatBalloon(senderId, line.Text(), colour);
    AddTextLine(line.Text(), colour);
    Refresh();
    return 1;
}

void CWidgetWindow::LoadImageOnDemand()
{
    if (m_sprite.IsLoaded() || m_imageMissing)
        return;
    m_sprite.Load(m_slrName);
    if (!m_sprite.IsLoaded()) {
        m_imageMissing = true;
        return;
    }
    m_sprite.Decode();
    m_sprite.ResetRects();
    m_cleanImage = std::make_unique<CSlrList>(m_sprite);
    m_unloadCountdown = kUnloadFrames;
}

CTextLayer* CWidgetWindow::RestorePicture()
{
    LoadImageOnDemand();
    CTextLayer* text = g_pTextLayer;
    if (!m_sprite.IsLoaded() || !m_cleanImage || !text)
        return nullptr;
    m_sprite.CopyFrom(*m_cleanImage);
    m_sprite.SetAsTextTarget(0);
    return text;
}

void CWidgetWindow::ScheduleImageUnload()
{
    if (m_unloadCountdown >= 1) {
        --m_unloadCountdown;
    } else if (m_cleanImage) {
        m_sprite.Free();
        m_cleanImage.reset();
    }
}
