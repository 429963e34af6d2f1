#include "social/BoardReadWin.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/CommandRing.h"
#include "core/ByteReader.h"
#include "core/TextLayer.h"
#include "social/BoardUpload.h"
#include "ui/ButtonWidget.h"

namespace {

constexpr int32_t kCmdBackToList = 63;

struct ButtonDef {
    const char* slr;
    int32_t x, y;
    int32_t command;
    const char* korean;
    const char* english;
};

const ButtonDef kButtons[] = {
    {"MailLeft.slr", 486, 385, 66, "앞글", "Prev. Bull."},
    {"MailRight.slr", 542, 385, 67, "뒷글", "Next Bull."},
    {"MailQuit.slr", 420, 370, 63, "목록보기", "List"},
    {"MailUp.slr", 20, 385, 55, "앞장", "Prev. Page"},
    {"MailDn.slr", 60, 385, 54, "뒷장", "Next Page"},
};

// Board read header (the list record's layout).
constexpr size_t kBoardNumber = 0, kBoardCounter = 4, kBoardName = 8, kBoardDate = 37, kBoardBodySize = 60,
                 kBoardLines = 64, kBoardTitle = 68;
// Mail read header.
constexpr size_t kMailNumber = 0, kMailName = 4, kMailDate = 52, kMailBodySize = 72, kMailLines = 76,
                 kMailTitle = 80;

}  // namespace

CBoardReadWin::CBoardReadWin(int32_t id, const char* slrName, size_t headerSize, size_t bodySizeAt,
                             size_t lineCountAt)
    : CWidgetWindow(id, slrName, 94, 76, 94, 600, 0),
      m_headerSize(headerSize),
      m_bodySizeAt(bodySizeAt),
      m_lineCountAt(lineCountAt)
{
    for (const ButtonDef& d : kButtons) {
        auto* b = new CButtonWidget(0, d.slr, this, d.x, d.y, d.command, CButtonWidget::kRepeatFrames);
        b->SetTooltip(d.korean, d.english);
        AddChild(b);
    }
}

CBullReadWin::CBullReadWin()
    : CBoardReadWin(kId, "data\\BullReadWin.slr", kBoardRecordSize, kBoardBodySize, kBoardLines)
{
}

CMailReadWin::CMailReadWin()
    : CBoardReadWin(kId, "data\\MailReadWin.slr", kMailRecordSize, kMailBodySize, kMailLines)
{
}

uint32_t CBoardReadWin::HeaderU32(size_t offset) const
{
    CByteReader r(m_header.data(), m_headerSize);
    r.Seek(offset);
    return r.U32();
}

std::string CBoardReadWin::HeaderText(size_t offset, size_t size) const
{
    if (offset >= m_headerSize)
        return {};
    const char* p = reinterpret_cast<const char*>(m_header.data() + offset);
    return std::string(p, strnlen(p, std::min(size, m_headerSize - offset)));
}

const char* CBoardReadWin::GetLine(int32_t i) const
{
    return i >= 0 && i < m_lineCount ? m_lines[static_cast<size_t>(i)] : nullptr;
}

int CBoardReadWin::ReceiveItem()
{
    if (m_recordCount == 0) {
        if (!g_boardReceiveStream.ReadRecord(m_header.data(), m_headerSize, CListStream::kTextMode))
            return 0;
        m_bodySize = HeaderU32(m_bodySizeAt);
        m_headerLines = HeaderU32(m_lineCountAt);
        m_recordCount = 1;
        return 1;
    }
    if (m_recordCount == 1 && m_bodySize > 0 && g_boardRequestStream.BodyDue() != m_bodySize) {
        // The body went by while the window was closed: this reply is over.
        m_recordCount = 2;
    }
    if (m_recordCount != 1) {
        // After a whole reply only a marker means anything: the next
        // "\x01TXT" or the "\x01LST" of the page asked for next.
        uint8_t item[CListStream::kMarkerSize];
        g_boardReceiveStream.ReadRecord(item, sizeof item, CListStream::kTextMode);
        return 0;
    }
    m_body.resize(m_bodySize + 1);
    if (m_bodySize > 0 && !g_boardReceiveStream.ReadBody(m_body.data(), m_bodySize))
        return 0;
    m_body[m_bodySize] = 0;
    m_recordCount = 2;
    ShowBody(reinterpret_cast<const char*>(m_body.data()));
    return 1;
}

void CBoardReadWin::Draw(uint8_t* surface)
{
    if (m_state == kOpen)
        ReceiveItem();
    WindowDraw(surface);
}

void CBoardReadWin::DrawHeaderText(int32_t x, int32_t y, const char* text)
{
    if (CTextLayer* t = g_pTextLayer)
        t->DrawText(x, y, text, 1);
}

void CBoardReadWin::Refresh()
{
    LoadImageOnDemand();
    CTextLayer* text = g_pTextLayer;
    if (m_lineCount < 0 || !text || !m_sprite.IsLoaded() || !m_cleanImage)
        return;
    m_sprite.CopyFrom(*m_cleanImage);
    m_sprite.SetAsTextTarget(0);
    text->SetColors(kTextColour, 255);
    DrawHeader();
    text->SetColors(kTextColour, 255);
    for (int32_t i = 0; i < kPageLines && m_top + i < m_lineCount; ++i)
        text->DrawText(kLineX, kLineY + kLinePitch * i, m_lines[static_cast<size_t>(m_top + i)], 1);
}

void CBoardReadWin::NextPage()
{
    m_top = std::max(0, std::min(m_top + kPageLines, m_lineCount - kPageLines));
    Refresh();
}

void CBoardReadWin::PrevPage()
{
    m_top = std::max(0, m_top - kPageLines);
    Refresh();
}

void CBoardReadWin::ResetRequest(CMySocket* socket)
{
    m_recordCount = 0;
    m_socket = socket;
}

void CBoardReadWin::SetPageText(int32_t lineCount, const char* text)
{
    m_lines.clear();
    m_lineCount = 0;
    m_top = 0;
    const size_t n = text ? std::strlen(text) : 0;
    m_text.assign(text ? text : "", text ? text + n : nullptr);
    m_text.push_back('\0');
    // Never more lines than the text has.
    char* p = m_text.data();
    for (int32_t i = 0; i < lineCount; ++i) {
        m_lines.push_back(p);
        ++m_lineCount;
        char* lf = std::strchr(p, '\n');
        if (!lf)
            break;
        *lf = '\0';
        p = lf + 1;
    }
    Refresh();
}

int32_t CBoardReadWin::OnEscape()
{
    g_commandRing.Push(kCmdBackToList);
    return m_id;
}

// ---- the board -----------------------------------------------------------

std::string CBullReadWin::Wrap(const char* text)
{
    std::string out;
    if (!text)
        return out;
    const size_t n = std::strlen(text);
    out.reserve(n + n / 40 + 2);
    int32_t column = 0;
    for (size_t i = 0; i < n;) {
        const bool wide = static_cast<uint8_t>(text[i]) >= 128 && i + 1 < n;
        const size_t width = wide ? 2 : 1;
        out.append(text + i, width);
        i += width;
        column += static_cast<int32_t>(width);
        if (out.back() == '\n') {
            column = 0;
        } else if (column >= kWrapColumns) {
            out += "\r\n";
            column = 0;
        }
    }
    return out;
}

void CBullReadWin::ShowBody(const char* body)
{
    const std::string wrapped = Wrap(body);
    SetPageText(static_cast<int32_t>(CountLines(wrapped)), wrapped.c_str());
}

void CBullReadWin::DrawHeader()
{
    char number[16];
    std::snprintf(number, sizeof number, "%d", static_cast<int32_t>(HeaderU32(kBoardNumber)));
    DrawHeaderText(30, kHeaderY, number);
    DrawHeaderText(70, kHeaderY, HeaderText(kBoardName, 17).c_str());
    const std::string date = HeaderText(kBoardDate, 12);
    DrawHeaderText(175, kHeaderY, date.size() > 2 ? date.c_str() + 2 : "");
    char count[16];
    std::snprintf(count, sizeof count, "%d", static_cast<int32_t>(HeaderU32(kBoardLines)));
    DrawHeaderText(240, kHeaderY, count);
    std::snprintf(count, sizeof count, "%d", static_cast<int32_t>(HeaderU32(kBoardCounter)));
    DrawHeaderText(275, kHeaderY, count);
    DrawHeaderText(360, kHeaderY, HeaderText(kBoardTitle, 80).c_str());
}

// ---- the mailbox ---------------------------------------------------------

void CMailReadWin::ShowBody(const char* body)
{
    const uint32_t lines = std::min(CountLines(body ? body : ""), m_headerLines);
    SetPageText(static_cast<int32_t>(lines), body);
}

void CMailReadWin::DrawHeader()
{
    char number[16];
    std::snprintf(number, sizeof number, "%d", static_cast<int32_t>(HeaderU32(kMailNumber)));
    DrawHeaderText(30, kHeaderY, number);
    DrawHeaderText(70, kHeaderY, HeaderText(kMailName, 17).c_str());
    DrawHeaderText(175, kHeaderY, HeaderText(kMailDate, 12).c_str());
    char count[16];
    std::snprintf(count, sizeof count, "%d", static_cast<int32_t>(HeaderU32(kMailLines)));
    DrawHeaderText(250, kHeaderY, count);
    DrawHeaderText(310, kHeaderY, HeaderText(kMailTitle, 88).c_str());
}
