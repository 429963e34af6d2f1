#include "app/ExitGame.h"

#include "app/MainFrame.h"
#include "app/QuillonApp.h"
#include "app/QuillonView.h"
#include "net/MySocket.h"
#include "platform/Clock.h"
#include "platform/Loop.h"
#include "world/ObjLayer.h"

namespace {

bool g_exiting;

bool MaySend()
{
    return g_pMainSocket && g_pMainSocket->CanSend();
}

// Fields 7, 9 and 10 of the own record, each only while the socket may send.
void SendLogoutFields(CObjLayer* layer)
{
    for (int field : {7, 9, 10})
        if (MaySend())
            layer->SendCharacterField(field);
}

void CloseMainWindow()
{
    CMainFrame* frame = theApp.m_pMainWnd;
    if (frame && frame->IsWindow())
        plat::Loop().PostMessage(frame, plat::kWmClose);
}

}  // namespace

bool IsExiting() { return g_exiting; }
void ResetExitState() { g_exiting = false; }

void ExitGame()
{
    if (g_exiting)
        return;
    g_exiting = true;
    CObjLayer* layer = g_pView ? g_pView->m_pObjLayer : nullptr;
    if (layer) {
        if (layer->m_inField && MaySend())
            layer->SendLeaveField();
        if (layer->m_areaCenterSet && MaySend())
            layer->LeaveArea();
        if (layer->m_inBattle && layer->m_battleNumber >= 20001) {
            // The count of log-outs during a death match, field 36.
            CharacterRecord& rec = layer->MyRecord();
            rec.SetU16(CharacterRecord::kBattleLogouts, rec.U16(CharacterRecord::kBattleLogouts) + 1u);
            layer->SendCharacterField(36);
        }
        if (layer->m_inWorld) {
            SendLogoutFields(layer);
            if (MaySend())
                layer->SendLogout();
        }
    }
    plat::Sleep(1000);
    CloseMainWindow();
}

void LogOutToTitle()
{
    CObjLayer* layer = g_pView ? g_pView->m_pObjLayer : nullptr;
    if (layer && layer->m_inWorld) {
        SendLogoutFields(layer);
        if (MaySend())
            layer->SendQuitNotice();
    }
}

void LogOutAndExit()
{
    if (g_exiting)
        return;
    g_exiting = true;
    CObjLayer* layer = g_pView ? g_pView->m_pObjLayer : nullptr;
    if (layer && layer->m_inWorld) {
        SendLogoutFields(layer);
        if (MaySend())
            layer->SendLogout();
    }
    plat::Sleep(1000);
    CloseMainWindow();
}
