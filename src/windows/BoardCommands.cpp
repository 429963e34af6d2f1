#include "windows/BoardCommands.h"

#include "app/FrameClock.h"
#include "social/ListStream.h"
#include "social/MailWriteDlg.h"
#include "ui/ButtonWidget.h"
#include "windows/DaradirUzedo.h"
#include "windows/DispatchCommands.h"
#include "windows/PlayerInfo.h"

namespace {

enum : int {
    kBullWin = 52,
    kWriteButton = 53,
    kMailWin = 54,
    kBullReadWin = 55,
    kMailReadWin = 56,
    kSearchWin = 57,
};
// The list's tab frame of the mailbox.
constexpr int kMailTab = 3;

struct Board {
    int command;
    int tab;
    const char* request;
};
constexpr Board kBoards[] = {{48, 1, "BOARD\n"}, {49, 0, "NOTICE\n"}, {50, 2, "BUG\n"}};

CWidget* Win(CDaradirUzedo& ui, int id) { return id >= 0 ? ui.GetRootContainer()->FindChild(id) : nullptr; }

// A window that does not exist counts as closed.
bool IsClosed(CDaradirUzedo& ui, int id)
{
    const CWidget* w = Win(ui, id);
    return !w || w->GetState() == CWidget::kClosed;
}

void SetState(CWidget* w, int32_t state)
{
    if (w)
        w->SetState(state);
}

// The list window's connection goes, and the window with it.
void CloseList(CWidget* list)
{
    if (!list)
        return;
    list->CloseConnection();
    list->SetState(CWidget::kClosing);
}

// The boards and the mail open only out of battle and while no entry is
// being read.
bool MayOpen(CDaradirUzedo& ui)
{
    return g_playerInfo.GetBattleState() == 0 && IsClosed(ui, kBullReadWin) && IsClosed(ui, kMailReadWin);
}

// Both streams follow the list that opened: its socket, its two windows.
void ListenTo(CDaradirUzedo& ui, CMySocket* socket)
{
    g_boardRequestStream.SetSocket(socket);
    g_boardReceiveStream.SetWindows(Win(ui, ui.m_listWindowId), Win(ui, ui.m_readerWindowId));
}

void OpenBoard(CDaradirUzedo& ui, const Board& board)
{
    if (!MayOpen(ui) || (board.command != 48 && !IsClosed(ui, kBullWin)))
        return;
    CloseList(Win(ui, kMailWin));
    ui.m_readerWindowId = kBullReadWin;
    ui.m_listWindowId = kBullWin;
    if (CWidget* list = Win(ui, kBullWin)) {
        list->SetTabFrame(board.tab);
        list->CloseConnection();
        list->OpenConnection(board.request);
        list->SetState(CWidget::kOpening);
        // Only a game master writes on the notice board; the other boards
        // are open to everyone, also after a visit to the notice board.
        if (auto* write = dynamic_cast<CButtonWidget*>(list->FindChild(kWriteButton)))
            write->SetLook(board.command != 49 || g_gmFlag ? CButtonWidget::kLookNormal
                                                           : CButtonWidget::kLookDisabled);
    }
    ListenTo(ui, GetBoardSocket());
}

void OpenMail(CDaradirUzedo& ui)
{
    if (!MayOpen(ui))
        return;
    CloseList(Win(ui, kBullWin));
    ui.m_readerWindowId = kMailReadWin;
    ui.m_listWindowId = kMailWin;
    if (CWidget* list = Win(ui, kMailWin)) {
        list->SetTabFrame(kMailTab);
        list->OpenConnection(nullptr);
        list->SetState(CWidget::kOpening);
    }
    ListenTo(ui, GetMailSocket());
}

// A request line on the open list's connection, when the cooldown allows.
void Request(const char* line)
{
    if (TakeRequestCooldown())
        g_boardRequestStream.SendRequest(line);
}

// "W\n" announces an upload on the open list's kind of connection, when the
// cooldown allows; the dialog opens whatever the cooldown.
void Write(CDaradirUzedo& ui, CWidget* list)
{
    const bool mail = ui.m_listWindowId == kMailWin;
    CMySocket* socket = mail ? GetMailSocket() : GetBoardSocket();
    if (CMailWriteDlg* dlg = WritingDialog(mail); dlg && dlg->MayAnnounce(socket) && TakeRequestCooldown())
        dlg->Announce(socket);
    OpenWritingDialog(mail);
    if (list)
        list->OnListReply();
}

// The search window's text and mode go to the list, and the window closes.
void Search(CDaradirUzedo& ui)
{
    CWidget* search = Win(ui, kSearchWin);
    if (!search)
        return;
    const char* text = search->GetText();
    if (CWidget* list = Win(ui, ui.m_listWindowId))
        list->Search(search->GetSelection(), text ? text : "");
    search->Toggle();
    search->SetState(CWidget::kClosing);
}

}  // namespace

bool RunBoardCommand(CDaradirUzedo& ui, int id)
{
    CWidget* list = Win(ui, ui.m_listWindowId);
    CWidget* reader = Win(ui, ui.m_readerWindowId);
    switch (id) {
    case 48:
    case 49:
    case 50: OpenBoard(ui, kBoards[id - 48]); break;
    case 51: OpenMail(ui); break;
    case 52:
    case 54:
        if (CWidget* w = id == 52 ? list : reader; w && TakeRequestCooldown())
            w->NextPage();
        break;
    case 53:
    case 55:
        if (CWidget* w = id == 53 ? list : reader; w && TakeRequestCooldown())
            w->PrevPage();
        break;
    case 56: Request("LS\n"); break;
    case 57: Request("Z\n"); break;
    case 58:
        if (list && TakeRequestCooldown()) {
            list->RequestEntry(reader);
            SetState(reader, CWidget::kOpening);
        }
        break;
    case 59: Write(ui, list); break;
    case 60:
        if (CWidget* search = Win(ui, kSearchWin); search && TakeRequestCooldown())
            search->Toggle();
        break;
    case 61:
        if (list && TakeRequestCooldown())
            list->DeleteEntry();
        break;
    case 62:
        if (ui.m_listWindowId >= 0) {
            CloseList(list);
            ui.m_listWindowId = -1;
        }
        break;
    case 63:
        SetState(reader, CWidget::kClosing);
        Request("Z\n");
        break;
    case 66: Request("A\n"); break;
    case 67: Request("N\n"); break;
    case 68: Search(ui); break;
    default: return false;
    }
    return true;
}
