#include "app/QuillonApp.h"


#include "app/FrameClock.h"
#include "app/GameData.h"
#include "app/HandOff.h"
#include "app/MainFrame.h"
#include "app/QuillonView.h"
#include "app/StringTable.h"
#include "audio/MusicPlayer.h"
#include "colony/SimBuildingTable.h"
#include "colony/SimColony.h"
#include "core/ResFile.h"
#include "effects/Salamander.h"
#include "platform/Clock.h"
#include "platform/Crt.h"
#include "platform/Dialogs.h"
#include "platform/LauncherAtoms.h"
#include "platform/Loop.h"
#include "platform/Process.h"
#include "platform/Window.h"

CQuillonApp theApp;

BOOL CQuillonApp::InitInstance()
{
    m_startExitCode = 1;  // every refusal below ends the program with 1

    // The launcher hand-off, only with a command line.
    g_handOff = HandOffData{};
    const std::string& cmdline = plat::CommandLine();
    if (!cmdline.empty()) {
        const HandOffResult r = ParseHandOff(cmdline, plat::ExePath(), [](uint16_t atom) {
            return plat::LauncherAtoms().Lookup(atom);
        });
        if (r.refusal != HandOffRefusal::None) {
            if (r.refusal != HandOffRefusal::Silent)
                plat::MessageBox("", HandOffMessage(r.refusal));
            return FALSE;
        }
        g_handOff = r.data;
    }

    // Every loader reads the archive: without it (or its nested archive)
    // nothing can start.
    if (!ResOpenGameArchives())
        return FALSE;

    // The frame, the document and the view; the view's first update starts
    // the sound before the data tables are read.
    m_pMainWnd = new CMainFrame;
    if (!m_pMainWnd->LoadFrame())
        return FALSE;

    // The colony's facility table reads its balance values, then the colony
    // starts as a new one. Without "insult.txt" the filter has no words.
    if (!LoadGameData() || !g_simBuildingTable.LoadFacilityData()) {
        plat::MessageBox("", GetGameString(IDS_RESOURCE_DAMAGED));
        return FALSE;
    }
    LoadInsultWords();

    g_simColony.Reset();
    g_bodyPartLists.Load();
    plat::SRand(plat::UnixTime());

    m_startExitCode = 0;
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
    g_bodyPartLists.Free();
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
