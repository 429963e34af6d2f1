#include "app/MainFrame.h"

#include "app/ExitGame.h"
#include "app/FrameClock.h"
#include "app/QuillonApp.h"
#include "app/QuillonDoc.h"
#include "app/QuillonView.h"
#include "core/Display.h"
#include "core/ResFile.h"
#include "net/MySocket.h"
#include "platform/Clock.h"
#include "platform/Debug.h"
#include "platform/Loop.h"
#include "platform/Process.h"
#include "platform/Window.h"

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame()
{
    plat::Loop().ForgetTarget(this);
    delete m_pView;
    delete m_pDoc;
    ResCloseArchive();
}

bool CMainFrame::LoadFrame()
{
    // A borderless popup without a menu; the display sizes and places it.
    if (!plat::Window().Create("Quorvel", 800, 600))
        return false;
    m_alive = true;
    m_pDoc = new CQuillonDoc;
    m_pView = new CQuillonView;
    if (!m_pDoc->OnNewDocument())
        return false;
    plat::Loop().SetWindowHandlers(m_pView, this);
    m_pView->OnInitialUpdate();
    // Neither the screen saver nor monitor power-saving while the game runs.
    plat::DisableScreenSaver();
    return true;
}

void CMainFrame::OnMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (theApp.PreTranslateMessage(msg, wParam, lParam))
        return;
    if (msg == plat::kWmClose)
        OnClose();
}

void CMainFrame::OnActivateApp(bool active)
{
    // Switching away from the game ends it, except for a game master.
    if (!active && g_gmFlag == 0 && m_alive)
        ExitGame();
}

void CMainFrame::OnWindowMoved()
{
    if (m_pView && m_pView->m_pDisplay)
        m_pView->m_pDisplay->UpdateWindowPlacement();
}

void CMainFrame::OnClose()
{
    DestroyWindow();
}

void CMainFrame::DestroyWindow()
{
    if (!m_alive)
        return;
    m_alive = false;
    // The frame first, then its child the view, as the window system does.
    OnDestroy();
    if (m_pView)
        m_pView->OnDestroy();
    plat::Loop().SetWindowHandlers(nullptr, nullptr);
    plat::Window().Destroy();
    plat::Loop().PostQuitMessage(0);
}

void CMainFrame::OnDestroy()
{
    if (g_pMainSocket) {
        // The log-out packets queued by the exit leave before the close.
        plat::Loop().PumpSources();
        g_pMainSocket->Flush(1000);
        plat::Sleep(1000);
        g_pMainSocket->Close();
    }
}
