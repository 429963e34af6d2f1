#include "app/QuillonApp.h"

#include <ctime>

#include "app/FrameClock.h"
#include "app/HandOff.h"
#include "app/MainFrame.h"
#include "app/QuillonView.h"
#include "audio/MusicPlayer.h"
#include "core/ResFile.h"
#include "platform/Clock.h"
#include "platform/Crt.h"
#include "platform/Loop.h"
#include "platform/Process.h"
#include "platform/Window.h"

CQuillonApp theApp;

BOOL CQuillonApp::InitInstance()
{
    // The launcher hand-off, only with a command line.
    const std::string& cmdline = plat::CommandLine();
    if (!cmdline.empty()) {
        size_t end = cmdline.find_first_of(" ,\t\n");
        if (cmdline.substr(0, end) != "tolmar")
            return FALSE;  // not started by the launcher: end silently
    }

    // Every loader reads the archive: without it (or its nested archive)
    // nothing can start.
    if (!ResOpenGameArchives()) {
        m_startExitCode = 1;
        return FALSE;
    }

    m_pMainWnd = new CMainFrame;
    if (!m_pMainWnd->LoadFrame())
        return FALSE;

    plat::SRand(static_cast<unsigned>(std::time(nullptr)));

    plat::Loop().SetIdleHandler(this);
    plat::Window().Show();
    return TRUE;
}

int CQuillonApp::Run()
{
    return plat::Loop().Run();
}

int CQuillonApp::ExitInstance()
{
    plat::Loop().SetIdleHandler(nullptr);
    plat::Loop().SetWindowHandlers(nullptr, nullptr);
    if (m_pMainWnd && m_pMainWnd->IsWindow())
        m_pMainWnd->DestroyWindow();
    delete m_pMainWnd;
    m_pMainWnd = nullptr;
    plat::RemoveRuntimeDir();
    return plat::Loop().ExitCode();
}

int CQuillonApp::OnIdle(long)
{
    g_frameTime = plat::NowMs();
    CQuillonView* view = m_pMainWnd ? m_pMainWnd->GetActiveView() : nullptr;
    if (view && m_pMainWnd->IsWindow()) {
        if (view->m_bRunning)
            view->GameFrame();
        else
            view->ConnectStep();
    }
    return TRUE;
}

uint32_t CQuillonApp::IdleWaitMs()
{
    CQuillonView* view = m_pMainWnd ? m_pMainWnd->GetActiveView() : nullptr;
    if (!view || view->FrameRanLastPass())
        return 0;
    // Nothing ran: wait for the next event, at most a millisecond, so the
    // frame still starts on time.
    return 1;
}

bool CQuillonApp::PreTranslateMessage(uint32_t msg, uintptr_t wParam, intptr_t)
{
    if (msg == plat::kMmMciNotify && wParam == plat::kMciNotifySuccessful) {
        g_musicPlayer.Restart();
        return true;
    }
    return false;
}
