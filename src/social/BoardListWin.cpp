#include "social/BoardListWin.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "app/CommandRing.h"
#include "app/FrameClock.h"
#include "core/BiString.h"
#include "core/Blit.h"
#include "core/TextLayer.h"
#include "net/MySocket.h"
#include "social/BoardList.h"
#include "social/ListStream.h"
#include "ui/ButtonWidget.h"
#include "ui/MessageRing.h"
#include "windows/PlayerInfo.h"

namespace {

const CBiString kNoBoardServer("게시판 서버에 연결할 수 없습니다.\0Cannot connect to the board server.");
const CBiString kNoMailServer("편지 서버에 연결할 수 없습니다.\0Cannot connect to the mail server.");

constexpr int32_t kCmdRead = 58;
constexpr int32_t kCmdQuit = 62;
// The tab hangs above the window.
constexpr int32_t kTabRise = 35;

struct ButtonDef {
    int32_t id;
    const char* slr;
    int32_t x, y;
    int32_t command;
    const char* korean;
    const char* english;
};

enum { kPrevPage, kNextPage, kQuit, kWrite, kRead, kSearch, kErase, kReload, kList, kButtonCount };

const ButtonDef kButtons[kButtonCount] = {
    {0, "MailDn.slr", 501, 385, 52, "앞장", "Previous"},
    {0, "MailUp.slr", 547, 385, 53, "다음장", "Next"},
    {0, "MailQuit.slr", 420, 370, 62, "끝내기", "Quit"},
    {CBoardListWin::kWriteButtonId, "MailWrite.slr", 360, 370, 59, "게시물쓰기", "Write"},
    {0, "MailRead.slr", 300, 370, 58, "게시물보기", "Read"},
    {0, "MailSearch.slr", 240, 370, 60, "게시물찾기", "Search"},
    {0, "MailErase.slr", 180, 370, 61, "게시물지우기", "Erase"},
    {0, "BullReLoad.slr", 120, 370, 57, "다시읽기", "Reload"},
    {0, "BullReList.slr", 60, 370, 56, "목록읽기", "List"},
};

}  // namespace

CBoardListWin::CBoardListWin(int32_t id, const char* slrName, CBoardList* page, bool mail)
    : CWidgetWindow(id, slrName, 96, 76, 800, 76, 0), m_page(page), m_mail(mail)
{
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonDef& d = kButtons[i];
        auto* b = new CButtonWidget(d.id, d.slr, this, d.x, d.y, d.command, CButtonWidget::kRepeatFrames);
        b->SetTooltip(d.korean, d.english);
        AddChild(b);
        if (i == kRead)
            m_readButton = b;
        else if (i == kErase)
            m_eraseButton = b;
        else if (i == kWrite)
            m_writeButton = b;
    }
    m_page->Clear();
}

CBoardListWin::~CBoardListWin() = default;

CBullWin::CBullWin() : CBoardListWin(kId, "BullWin.slr", &g_boardList, false) {}
CMailWin::CMailWin() : CBoardListWin(kId, "MailWin.slr", &g_mailList, true) {}

CMySocket* CBoardListWin::GetSocket() const { return m_mail ? GetMailSocket() : GetBoardSocket(); }

int CBoardListWin::SendLine(const char* text) const
{
    CMySocket* socket = GetSocket();
    return socket ? socket->SendCommand(text, static_cast<int>(std::strlen(text))) : 0;
}

int32_t CBoardListWin::RowAt(int32_t y) const
{
    // Above the first row is the header band, not row 0.
    const int64_t dy = int64_t{y} - (int64_t{m_pos.y} + kRowTop);
    if (dy < 0)
        return -1;
    const int64_t row = dy / kRowPitch;
    return row < CBoardList::kRows ? static_cast<int32_t>(row) : -1;
}

bool CBoardListWin::SelectAt(int32_t x, int32_t y)
{
    if (!BodyHit(x, y))
        return false;
    const CBoardList::Entry* e = m_page->GetEntry(RowAt(y));
    if (!e || e->number < 0)
        return false;
    m_selected = e->number;
    return true;
}

int CBoardListWin::OnLButtonDblClk(int32_t x, int32_t y)
{
    if (SelectAt(x, y)) {
        Refresh();
        g_commandRing.Push(kCmdRead);
    }
    const int taken = CWidgetWindow::OnLButtonDblClk(x, y);
    return taken ? taken : BodyHit(x, y);
}

int CBoardListWin::OnLButtonDown(int32_t x, int32_t y)
{
    if (SelectAt(x, y))
        Refresh();
    return CWidgetWindow::OnLButtonDown(x, y);
}

void CBoardListWin::Draw(uint8_t* surface)
{
    WatchConnection();
    if (IsOpenOrOpening() && OnReply())
        Refresh();
    WindowDraw(surface);
    if (m_state == kClosed)
        return;
    if (m_tab.IsLoaded() && surface && m_tabFrame >= 0 && m_tabFrame < m_tab.GetFrameCount())
        m_tab.Draw(m_tabFrame, m_pos.x, m_pos.y - kTabRise, ScreenTarget(surface));
}

void CBoardListWin::LoadImageOnDemand()
{
    CWidgetWindow::LoadImageOnDemand();
    // The tab comes with the window's image.
    if (m_sprite.IsLoaded() && !m_tab.IsLoaded())
        m_tab.Load(kTabFile);
}

void CBoardListWin::FormatRow(int i, char* out, size_t size) const
{
    const CBoardList::Entry* e = m_page->GetEntry(i);
    if (!e) {
        if (out && size)
            out[0] = '\0';
        return;
    }
    if (m_mail)
        CBoardList::FormatMailRow(*e, out, size);
    else
        CBoardList::FormatBoardRow(*e, out, size);
}

void CBoardListWin::Refresh()
{
    LoadImageOnDemand();
    char myName[32] = {};
    g_playerInfo.GetCharName(myName, sizeof myName);
    const bool mine = m_selected >= 0 && std::strcmp(m_page->GetNameByNumber(m_selected), myName) == 0;
    if (m_readButton)
        m_readButton->SetLook(m_selected < 0 ? CButtonWidget::kLookDisabled : CButtonWidget::kLookNormal);
    if (m_eraseButton)
        m_eraseButton->SetLook(mine || g_gmFlag ? CButtonWidget::kLookNormal : CButtonWidget::kLookDisabled);
    CTextLayer* text = g_pTextLayer;
    if (!text || !m_sprite.IsLoaded() || !m_cleanImage)
        return;
    m_sprite.CopyFrom(*m_cleanImage);
    m_sprite.SetAsTextTarget(0);
    char row[CBoardList::kRowSize];
    for (int i = 0; i < CBoardList::kRows; ++i) {
        const CBoardList::Entry* e = m_page->GetEntry(i);
        FormatRow(i, row, sizeof row);
        const bool selected = e->number >= 0 && e->number == m_selected;
        text->SetColors(selected ? kSelectedColour : kRowColour, 255);
        text->DrawText(kRowTextX, kRowTextY + kRowPitch * i, row, 1);
    }
}

void CBoardListWin::NextPage()
{
    SendLine("F\n");
    m_rowsReceived = 0;
}

void CBoardListWin::PrevPage()
{
    SendLine("B\n");
    m_rowsReceived = 0;
}

void CBoardListWin::OnListReply()
{
    m_page->Clear();
    m_selected = -1;
    m_rowsReceived = 0;
    Refresh();
}

void CBoardListWin::OpenConnection(const char* request)
{
    bool started;
    if (m_mail) {
        char name[32] = {};
        g_playerInfo.GetCharName(name, sizeof name);
        started = OpenBoardConnection(GetMailSocket(), MailServerPort(), MailLoginLine(name));
    } else {
        started = OpenBoardConnection(GetBoardSocket(), BoardServerPort(), request ? request : "");
    }
    m_awaitingConnect = started;
    if (!started)
        ReportNoConnection();
}

void CBoardListWin::CloseConnection()
{
    m_awaitingConnect = false;
    if (CMySocket* socket = GetSocket())
        socket->Close();
}

void CBoardListWin::WatchConnection()
{
    if (!m_awaitingConnect)
        return;
    const CMySocket* socket = GetSocket();
    if (socket && socket->HasConnected()) {
        m_awaitingConnect = false;
        return;
    }
    if (socket && (socket->IsOpen() || socket->IsResolving()))
        return;
    m_awaitingConnect = false;
    ReportNoConnection();
}

void CBoardListWin::ReportNoConnection() const
{
    g_messageRing.AddLine(m_mail ? kNoMailServer.Get() : kNoBoardServer.Get());
}

void CBoardListWin::ResetRequest(CMySocket*) { m_rowsReceived = 0; }

void CBoardListWin::RequestEntry(CWidget* reader)
{
    if (m_selected < 0)
        return;
    char line[16];
    std::snprintf(line, sizeof line, "%d\n", m_selected);
    SendLine(line);
    if (reader)
        reader->ResetRequest(GetSocket());
}

void CBoardListWin::Search(int32_t mode, const char* text)
{
    const std::string request = SearchRequest(mode, text);
    if (!request.empty())
        SendLine(request.c_str());
    OnListReply();
}

int CBoardListWin::OnReply()
{
    if (g_boardReceiveStream.GetMode() == CListStream::kTextMode) {
        // With the read window closed nobody else would take the rest of
        // the read reply and the marker of the next page after it.
        const CWidget* reader = g_boardReceiveStream.GetReadWindow();
        if (!reader || reader->GetState() == kClosed)
            g_boardReceiveStream.DrainReply(m_mail ? kMailRecordSize : kBoardRecordSize);
        if (g_boardReceiveStream.GetMode() == CListStream::kTextMode)
            return 0;
    }
    uint8_t record[kMailRecordSize];
    const int got = m_mail ? ReadTextRecord(record) : ReadListRecord(record);
    if (!got)
        return 0;
    // A page holds 15 rows; more are read and dropped.
    if (CBoardList::Entry* e = m_page->GetEntry(m_rowsReceived)) {
        if (m_mail)
            CBoardList::FillFromMailRecord(*e, record);
        else
            CBoardList::FillFromBoardRecord(*e, record);
        ++m_rowsReceived;
    }
    return 1;
}

void CBoardListWin::DeleteEntry()
{
    if (m_selected < 0)
        return;
    char line[24];
    std::snprintf(line, sizeof line, "DD%d\n", m_selected);
    SendLine(line);
    OnListReply();
}

void CBoardListWin::SetTabFrame(int32_t frame) { m_tabFrame = frame; }

int32_t CBoardListWin::OnEscape()
{
    g_commandRing.Push(kCmdQuit);
    return m_id;
}
