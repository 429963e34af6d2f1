#include "app/QuillonView.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/ExitGame.h"
#include "app/FrameClock.h"
#include "app/HandOff.h"
#include "app/MainFrame.h"
#include "app/MouseState.h"
#include "app/QuillonApp.h"
#include "app/ReceiveDispatch.h"
#include "app/StringTable.h"
#include "audio/MusicPlayer.h"
#include "audio/SoundManager.h"
#include "colony/ColonyService.h"
#include "core/DibIO.h"
#include "core/Display.h"
#include "core/HotKey.h"
#include "core/Locale.h"
#include "core/PaletteManager.h"
#include "core/ResFile.h"
#include "core/TextLayer.h"
#include "effects/EffectManager.h"
#include "intro/IntroLayer.h"
#include "net/MySocket.h"
#include "platform/Clock.h"
#include "platform/Debug.h"
#include "platform/Dialogs.h"
#include "platform/Loop.h"
#include "platform/Settings.h"
#include "platform/Window.h"
#include "script/ScriptManager.h"
#include "social/ListStream.h"
#include "ui/InputFocus.h"
#include "ui/Widget.h"
#include "windows/DaradirUzedo.h"
#include "world/BGLayer.h"
#include "world/FieldFrame.h"
#include "world/GameLayer.h"
#include "world/ObjLayer.h"
#include "world/StageHolder.h"
#include "world/StageLoader.h"

CQuillonView* g_pView;
uint32_t g_colonyMode;

namespace {

constexpr uint32_t kKeepAliveTimerId = 16;
constexpr uint32_t kMsgDialogClosed = 0x40B;
constexpr uint32_t kMsgAccountLogin = 0x40C;
constexpr const char* kRegistryPath = "Software\\Brennix\\Quorvel";
constexpr int kDefaultServerPort = 8020;

// The cursor clip before the game started, and the game's own in full screen.
plat::Rect g_savedCursorClip;
const plat::Rect kGameCursorClip{2, 2, 798, 598};

void PostCloseToMainWindow()
{
    CMainFrame* frame = theApp.m_pMainWnd;
    if (frame && frame->IsWindow())
        plat::Loop().PostMessage(frame, plat::kWmClose);
}

void ShowGameString(int id)
{
    plat::MessageBox("", GetGameString(id));
}

constexpr const char* kStageMusic[10] = {
    "Ext.mid", "Ext.mid", "Ext.mid", "Summer2.mid", "Summer1.mid",
    "Summcombat1.mid", "Winter2.mid", "Outer.mid", "summcombat1.mid", "wintcombat1.mid",
};
constexpr const char* kColonyMusic = "Simul.mid";

// The windows the colony mode opens and closes.
constexpr int32_t kWndToField = 69;
constexpr int32_t kWndChat = 2;
constexpr int32_t kColonyWindows[] = {69, 59, 60, 65, 64, 61};

CWidget* FindWindow(int32_t id)
{
    CDaradirUzedo* ui = g_layerHolder.GetLayer();
    return ui ? ui->GetRootContainer()->FindChild(id) : nullptr;
}

void SetWindowState(int32_t id, int32_t state)
{
    if (CWidget* w = FindWindow(id))
        w->SetState(state);
}

// ---- calls into the colony and stage code --------------------------------
// The writing dialogs connect here.
// The stage number is the one the stage loading keeps.
int CurrentStageNumber() { return g_currentMapId; }
void SetCurrentStageNumber(int stage) { g_currentMapId = stage; }
void LoadColonySprites() { Colony().LoadSprites(); }
void UnloadColonySprites() { Colony().UnloadSprites(); }
void LoadColonyCubesFromInventory() { Colony().LoadCubesFromInventory(); }
// 1 the first writing dialog (mail), 2 the second (posts).
void DestroyWritingDialog(int which)
{
    if (!g_pView)
        return;
    (which == 1 ? g_pView->m_mailWriteDlg : g_pView->m_postWriteDlg).DestroyWindow();
}

}  // namespace

const char* StageMusic(int stage)
{
    if (stage < 0 || stage >= 10)
        return kStageMusic[0];
    return kStageMusic[stage];
}

// The loading screen's line of text: white, centred in the band from
// (0, 180) to (800, 230) of the 8-bit frame. The text layer draws it in the
// game's own font.
void DrawLoadingText(uint8_t* bits, const char* text)
{
    if (!g_pTextLayer || !bits || !text)
        return;
    // White is whatever the palette has nearest to it (255 is the key).
    uint8_t white = 15;
    if (g_pPalette) {
        std::array<bool, 256> excluded{};
        excluded[255] = true;
        white = static_cast<uint8_t>(CPaletteManager::NearestColor(g_pPalette->GetShownRgb(), 255, 255, 255, excluded));
    }
    const int n = static_cast<int>(std::strlen(text));
    const int width = n > 0 ? (n - 1) * CTextLayer::kAsciiAdvance + 8 : 0;
    // No shadow, transparent background; the layer's settings are put back.
    const uint32_t style = g_pTextLayer->GetStyle();
    const uint8_t textColor = g_pTextLayer->GetTextColor();
    const uint8_t backColor = g_pTextLayer->GetBackColor();
    g_pTextLayer->SetTarget(bits, CDisplay::kWidth, CDisplay::kHeight);
    g_pTextLayer->SetColor(0);
    g_pTextLayer->SetColors(white, CTextLayer::kTransparent);
    g_pTextLayer->DrawText((CDisplay::kWidth - width) / 2, 180, text, 0);
    g_pTextLayer->SetColor(style);
    g_pTextLayer->SetColors(textColor, backColor);
}

CQuillonView::CQuillonView()
{
    g_rememberedBattles.fill(0);
    m_pPicture = new CDib("data\\1080.bmp");
    m_nonKorean = IsNonKoreanLocale() ? 1 : 0;
    g_pView = this;
}

CQuillonView::~CQuillonView()
{
    plat::Loop().ForgetTarget(this);
    FreeHotKeys();
    delete m_pPicture;
    if (g_pView == this)
        g_pView = nullptr;
}

void CQuillonView::OnInitialUpdate()
{
    if (m_initialUpdateDone)
        return;
    m_initialUpdateDone = true;
    plat::Window().ShowCursor(false);  // the game draws its own cursor
    // Without sound the game goes on silent; the result is only traced.
    const int sound = g_soundManager.Init();
    if (sound != 1)
        plat::DebugPrintf("sound: %d %s\n", sound, g_soundManager.GetLastError().c_str());
    g_soundManager.SetListenerPosition(0, 0);
    if (g_mixer.Open())
        g_mixer.FindVolumeControl();
    // timeBeginPeriod(1): the clock is already millisecond-exact here.
}

// ---- the frame -----------------------------------------------------------

void CQuillonView::GameFrame()
{
    const plat::CInputRouter& input = plat::Loop().Input();
    if (input.AsyncKeyDown(plat::kVkControl) && input.AsyncKeyDown(plat::kVkMenu))
        ExitGame();

    if (!g_firstFrameDone) {
        g_firstFrameDone = 1;
        InitGame();
    }

    g_frameNow = g_frameTime;
    const FrameDecision d = ScheduleFrame(g_frameNow, g_nextFrameDue, g_frameScheduleStarted);
    m_frameRan = d.run;
    if (d.run) {
        g_frameScheduleStarted = true;
        ++g_gameFrameCount;
        g_frameNotPresented = d.skipDraw ? 1 : 0;
        g_nextFrameDue = d.nextDue;

        ReceiveDispatch();
        UpdateKeepAliveTimer();

        if (m_pIntroLayer && m_pIntroLayer->GetSceneState() == 0 && m_pIntroLayer->IsFinished()) {
            m_pIntroLayer->ClearFinished();
            if (m_pDisplay)
                m_pDisplay->RemoveLayer(m_pIntroLayer);
        }
        if (m_pIntroLayer && m_pIntroLayer->IsFinished())
            g_frameNotPresented = 0;

        if (m_pDisplay)
            m_pDisplay->Draw();
        // The scripts step in the UI layer's frame; while the field does
        // not draw that layer yet, they step here.
        if (g_uiFrameRan != g_gameFrameCount)
            CScriptManager::StepAll();
        if (g_pPalette)
            g_pPalette->Update();
    }

    if (d.run) {
        // The Alt accelerators fake a key press; it is taken back once a
        // frame has seen it, as the latches are. Keys pressed in between
        // change the last key, so the faked ones are remembered.
        if (g_accelKeyFlag) {
            g_accelKeyFlag = 0;
            g_keyState[56] = 0;
            for (size_t scan = 0; scan < m_fakedKeys.size(); ++scan)
                if (m_fakedKeys[scan])
                    g_keyState[scan] = 0;
        }
        m_fakedKeys.reset();
        g_lastKey = 0;
        g_mouseState.ResetMouseEvents();
    }
}

void CQuillonView::InitGame()
{
    g_savedCursorClip = plat::Window().GetClipCursor();

    DisplayParams params;
    params.window = &plat::Window();
    params.width = CDisplay::kWidth;
    params.height = CDisplay::kHeight;
    params.modeWidth = CDisplay::kWidth;
    params.modeHeight = CDisplay::kHeight;
    params.bitsPerPixel = 8;
    params.spareSwitch = 1;
    params.fullScreen = 1;
    params.toggleLock = 1;
    params.registryPath = kRegistryPath;
    m_pDisplay = new CDisplay(params);

    LoadPalette();
    // A display or palette that cannot be had has already asked to quit.
    if (!m_pDisplay->Ok() || plat::Loop().QuitPosted())
        return;
    ShowLoading(0);

    g_layerHolder.SetLayer(new CDaradirUzedo(m_pDisplay));
    ShowLoading(10);

    m_pBGLayer = new CBGLayer(m_pDisplay);
    ShowLoading(20);

    m_pObjLayer = new CObjLayer(m_pDisplay, m_pBGLayer);
    ShowLoading(30);

    g_musicPlayer.SetNotifyWindow(theApp.m_pMainWnd);
    ExtractMusicFiles();
    ShowLoading(40);

    m_pEffectManager = new CEffectManager(m_pObjLayer);
    InstallAbilityHooks();
    ShowLoading(50);

    m_pIntroLayer = new CIntroLayer(m_pDisplay);
    ShowLoading(60);

    m_pGameLayer = new CGameLayer(m_pDisplay);
    ShowLoading(70);

    m_pDisplay->InitDirectDraw();
    if (m_pDisplay->IsFullScreen())
        plat::Window().ClipCursor(&kGameCursorClip);

    if (g_pStageHolder)
        g_pStageHolder->LoadObjectFiles();
    ShowLoading(101);

    m_pBoardSocket = new CMySocket;
    m_pMailSocket = new CMySocket;
    ShowLoading(102);

    m_pDisplay->AddLayer(m_pIntroLayer);
}

void CQuillonView::ShowLoading(int percent)
{
    m_loadingSteps.push_back(percent);
    plat::DebugPrintf("loading %d\n", percent);
    if (percent == 0)
        ReadLoadingPicture();
    RestorePalette(false);
    if (!m_pDisplay || m_pDisplay->Lock() != 0)
        return;
    uint8_t* bits = m_pDisplay->GetBits();
    if (!bits) {
        m_pDisplay->Unlock();
        return;
    }
    if (percent >= 102)
        std::memset(bits, 0, kLoadingPictureSize);
    else
        std::memcpy(bits, m_loadingPicture.data(), kLoadingPictureSize);
    m_pDisplay->Unlock();

    if (percent <= 101) {
        char text[64];
        if (percent == 101)
            std::snprintf(text, sizeof text, "Loading Tolmar Resource Complete...");
        else
            std::snprintf(text, sizeof text, "Loading Tolmar Resource File. %d%%", percent);
        if (uint8_t* dc = m_pDisplay->GetDC()) {
            DrawLoadingText(dc, text);
            m_pDisplay->ReleaseDC(dc);
        }
    }
    m_pDisplay->SetNeedsFlip(1);
    m_pDisplay->Draw();
}

void CQuillonView::ReadLoadingPicture()
{
    // A missing or short picture leaves the rest of the screen black.
    m_loadingPicture.assign(kLoadingPictureSize, 0);
    const int h = ResOpen("data\\loading.bin");
    if (h < 0) {
        plat::DebugOut("loading.bin not found\n");
        return;
    }
    ResRead(m_loadingPicture.data(), 1, m_loadingPicture.size(), h);
    ResClose(h);
}

void CQuillonView::LoadPalette()
{
    delete g_pPalette;
    g_pPalette = new CPaletteManager(m_pDisplay);
    delete g_pTextLayer;
    g_pTextLayer = new CTextLayer(m_pDisplay);
    InstallFormFieldCheck();

    g_pPalette->LoadPalette("data\\Tolmar.PAL");
    g_pPalette->LoadTransTable("data\\TransTable.tbl");
    // The fonts are part of the game's data: without them the game ends.
    if (!g_pTextLayer->LoadFonts("data\\Shan.fnt", "data\\Seng.fnt"))
        plat::Loop().PostQuitMessage(-1);
    g_pPalette->BuildShadeTables();
    g_pPalette->BuildTintTables();

    RegisterHotKeys();

    delete g_pStageHolder;
    g_pStageHolder = new CStageHolder(this);
    g_pStageHolder->LoadCursor();

    g_musicPlayer.SetVolume(GetMusicVolume());
}

void CQuillonView::RegisterHotKeys()
{
    FreeHotKeys();
    AddHotKey(100, {29, 15});
    AddHotKey(4, {29, 31});
    AddHotKey(5, {29, 30});
    AddHotKey(6, {29, 47});
    AddHotKey(7, {29, 34});
    AddHotKey(11, {29, 21});
    if (g_gmFlag) {
        AddHotKey(48, {29, 48});
        AddHotKey(49, {29, 49});
        AddHotKey(50, {29, 22});
        AddHotKey(51, {29, 50});
        AddHotKey(89, {29, 19});
    }
    AddHotKey(18, {29, 45});
    AddHotKey(109, {29, 2});
    AddHotKey(108, {29, 3});
    AddHotKey(146, {29, 16});
}

void CQuillonView::RestorePalette(bool fromSystem)
{
    // There is no system palette here: "from the system" keeps the palette
    // the game shows.
    if (fromSystem || !g_pPalette)
        return;
    g_pPalette->LoadPalette("Tolmar.PAL");
}

// ---- connecting ----------------------------------------------------------

void CQuillonView::CreateMainSocket()
{
    if (!g_pMainSocket)
        g_pMainSocket = new CMySocket;
}

int CQuillonView::ConnectDefaultServer()
{
    // The built-in server: loopback unless the settings name another.
    std::string host = "127.0.0.1";
    int port = kDefaultServerPort;
    plat::ISettings& s = plat::Settings();
    if (auto h = s.GetString("Software\\Brennix\\Quorvel\\Server", "Host"); h && !h->empty())
        host = *h;
    if (auto p = s.GetDword("Software\\Brennix\\Quorvel\\Server", "Port"); p && *p > 0 && *p < 65536)
        port = static_cast<int>(*p);
    return g_pMainSocket->Connect(host.c_str(), port);
}

int CQuillonView::ConnectPortalServer(const char* host, int port)
{
    return g_pMainSocket->Connect(host, port);
}

void CQuillonView::ConnectStep()
{
    m_frameRan = false;
    if (g_connectOnce) {
        g_connectOnce = 0;
        CreateMainSocket();
        if (IsHandOffPath()) {
            int r = ConnectPortalServer(g_handOff.host.c_str(), g_handOff.port);
            int sent = r < 0 ? 0
                             : g_pMainSocket->SendCommand(g_handOff.text.data(),
                                                          static_cast<int>(g_handOff.text.size()));
            if (r < 0 || sent < 1) {
                ShowGameString(IDS_SERVER_UNAVAILABLE);
                PostCloseToMainWindow();
                return;
            }
            m_waitingLoginReply = true;
            m_loginReplyDeadline = plat::NowMs() + kLoginReplyTimeoutMs;
        } else if (ConnectDefaultServer() < 0) {
            ShowGameString(IDS_SERVER_UNAVAILABLE);
            PostCloseToMainWindow();
            return;
        }
    }

    if (!IsHandOffPath()) {
        m_bRunning = 1;
        return;
    }
    if (!m_waitingLoginReply)
        return;
    switch (ReadLoginReply()) {
    case 0:
        m_waitingLoginReply = false;
        m_bRunning = 1;
        return;
    case 1:
        m_waitingLoginReply = false;
        plat::MessageBox("", "귀하의 아이디로 다른 사용자가 사용하고 있습니다.");
        PostCloseToMainWindow();
        return;
    case 3:
        m_waitingLoginReply = false;
        ShowGameString(IDS_SERVER_UNAVAILABLE);
        PostCloseToMainWindow();
        return;
    case -1:
        m_waitingLoginReply = false;
        return;
    default:
        break;
    }
    if (IsExiting()) {
        m_waitingLoginReply = false;
        return;
    }
    if (static_cast<int32_t>(plat::NowMs() - m_loginReplyDeadline) >= 0) {
        m_waitingLoginReply = false;
        ShowGameString(IDS_SERVER_UNAVAILABLE);
        PostCloseToMainWindow();
    }
}

int ReadLoginReply()
{
    if (!g_pView || !g_pMainSocket)
        return -1;
    char reply[2];
    int n = g_pMainSocket->Peek(reply, 2);
    // A closed socket gives no more bytes: a partial reply is a lost line.
    if (n < 0 || (n < 2 && !g_pMainSocket->IsOpen())) {
        // A server that was never reached is "unavailable", not "lost".
        ShowGameString(g_pMainSocket->HasConnected() ? IDS_CONNECTION_LOST : IDS_SERVER_UNAVAILABLE);
        ExitGame();
        return 2;
    }
    if (n < 2)
        return 2;  // both bytes must have arrived
    int len = 2;
    g_pMainSocket->Read(reply, len);
    if (reply[0] == '~' && reply[1] == '0')
        return 0;
    if (reply[0] == '~' && reply[1] == '1')
        return 1;
    return 3;
}

// ---- keep-alive ----------------------------------------------------------

void KeepAliveTimerProc(uint32_t)
{
    CQuillonView* view = g_pView;
    if (!view)
        return;
    if (++view->m_keepAliveCount >= kKeepAliveSeconds) {
        if (view->m_pObjLayer)
            view->m_pObjLayer->SendKeepAlive();
        view->m_keepAliveCount = 0;
    }
}

void CQuillonView::StartKeepAliveTimer()
{
    if (m_keepAliveTimer.Start(this, kKeepAliveTimerId, 1000, KeepAliveTimerProc))
        m_keepAliveCount = 0;
}

void CQuillonView::StopKeepAliveTimer()
{
    if (m_keepAliveTimer.IsRunning()) {
        m_keepAliveTimer.Stop();
        m_keepAliveCount = 0;
    }
}

void CQuillonView::UpdateKeepAliveTimer()
{
    const bool inGame = m_pIntroLayer && m_pIntroLayer->GetSceneState() == 0;
    if (m_keepAliveTimer.IsRunning() && !inGame)
        StopKeepAliveTimer();
    else if (!m_keepAliveTimer.IsRunning() && inGame)
        StartKeepAliveTimer();
}

// ---- colony mode ---------------------------------------------------------

void CQuillonView::ToggleColonyMode()
{
    if (g_colonyMode == 0) {
        if (m_pDisplay) {
            m_pDisplay->RemoveLayer(m_pObjLayer);
            m_pDisplay->AddLayer(m_pGameLayer);
        }
        g_colonyMode = 1;
        SetWindowState(kWndToField, CWidget::kOpening);
        LoadColonySprites();
        if (g_gmFlag) {
            CWidget* chat = FindWindow(kWndChat);
            if (!chat || !chat->IsOpenOrOpening()) {
                g_inputFocus.RestoreFocus();
                SetWindowState(kWndChat, CWidget::kOpening);
            }
        }
        if (m_pObjLayer)
            m_pObjLayer->SendLeaveField();
        LoadColonyCubesFromInventory();
        g_musicPlayer.SetFileName(kColonyMusic);
        g_musicPlayer.Play();
        return;
    }

    g_musicPlayer.SetFileName(StageMusic(CurrentStageNumber()));
    g_musicPlayer.Play();
    // Back to the field at its fixed start cell.
    const int stage = 0, x = 219, y = 314;
    SetCurrentStageNumber(stage);
    if (m_pObjLayer) {
        m_pObjLayer->SetEntryPoint(stage, x, y);
        m_pObjLayer->SendEnterField();
        m_pObjLayer->RemoveAllCharacters();
    }
    if (m_pDisplay) {
        m_pDisplay->RemoveLayer(m_pGameLayer);
        m_pDisplay->AddLayer(m_pObjLayer);
    }
    g_colonyMode = 0;
    for (int32_t id : kColonyWindows)
        SetWindowState(id, CWidget::kClosing);
    UnloadColonySprites();
}

// ---- tear-down -----------------------------------------------------------

void CQuillonView::OnDestroy()
{
    // Music: only our own stream's volume; the desktop's is never touched.
    g_musicPlayer.SetVolume(0);
    g_musicPlayer.Close();
    g_mixer.Close();
    DeleteMusicFiles();
    g_soundManager.StopAll();

    StopKeepAliveTimer();
    // No press of a writing dialog and no board reply may reach the windows
    // and sockets about to go.
    m_mailWriteDlg.DestroyWindow();
    m_postWriteDlg.DestroyWindow();
    ResetBoardState();
    if (m_pDisplay) {
        m_pDisplay->RemoveLayer(m_pIntroLayer);
        m_pDisplay->RemoveLayer(m_pBGLayer);
        m_pDisplay->RemoveLayer(m_pObjLayer);
        m_pDisplay->RemoveLayer(m_pGameLayer);
        if (CDaradirUzedo* ui = g_layerHolder.GetLayer())
            m_pDisplay->RemoveLayer(ui);
    }
    delete m_pEffectManager;
    m_pEffectManager = nullptr;
    delete m_pGameLayer;
    m_pGameLayer = nullptr;
    delete m_pIntroLayer;
    m_pIntroLayer = nullptr;
    delete m_pBGLayer;
    m_pBGLayer = nullptr;
    delete m_pObjLayer;
    m_pObjLayer = nullptr;
    delete g_layerHolder.GetLayer();
    g_layerHolder.SetLayer(nullptr);
    delete m_pDisplay;
    m_pDisplay = nullptr;
    delete m_pPicture;
    m_pPicture = nullptr;

    delete m_pMailSocket;
    m_pMailSocket = nullptr;
    delete m_pBoardSocket;
    m_pBoardSocket = nullptr;
    delete g_pMainSocket;
    g_pMainSocket = nullptr;

    ReleaseLayers();
    if (g_firstFrameDone)
        plat::Window().ClipCursor(nullptr);
}

void CQuillonView::ReleaseLayers()
{
    delete g_pTextLayer;
    g_pTextLayer = nullptr;
    delete g_pPalette;
    g_pPalette = nullptr;
    FreeHotKeys();
    delete g_pStageHolder;
    g_pStageHolder = nullptr;
}

// ---- input ---------------------------------------------------------------

void CQuillonView::OnKeyDown(uint32_t, uint32_t, uint32_t nFlags)
{
    const uint32_t scan = nFlags & 255;
    g_keyState[scan] = 1;
    g_lastKey = scan;
}

void CQuillonView::OnKeyUp(uint32_t, uint32_t, uint32_t nFlags)
{
    g_keyState[nFlags & 255] = 0;
    g_lastKey = 0;
}

void CQuillonView::OnChar(uint32_t nChar, uint32_t, uint32_t)
{
    if (g_pTextLayer)
        g_pTextLayer->OnEditChar(nChar);
}

void CQuillonView::OnMouse(uint32_t event, int x, int y)
{
    g_mouseState.SetMouseEvent(event, x, y);
}

void CQuillonView::OnLButtonDown(uint32_t, int x, int y)
{
    OnMouse(MOUSE_LDOWN, x, y);
    g_mouseState.SetMouseButton(1, true);
}

void CQuillonView::OnLButtonUp(uint32_t, int x, int y)
{
    OnMouse(MOUSE_LUP, x, y);
    g_mouseState.SetMouseButton(1, false);
}

void CQuillonView::OnLButtonDblClk(uint32_t, int x, int y) { OnMouse(MOUSE_LDBLCLK, x, y); }

void CQuillonView::OnRButtonDown(uint32_t, int x, int y)
{
    OnMouse(MOUSE_RDOWN, x, y);
    g_mouseState.SetMouseButton(2, true);
}

void CQuillonView::OnRButtonUp(uint32_t, int x, int y)
{
    OnMouse(MOUSE_RUP, x, y);
    g_mouseState.SetMouseButton(2, false);
}

void CQuillonView::OnRButtonDblClk(uint32_t, int x, int y) { OnMouse(MOUSE_RDBLCLK, x, y); }

void CQuillonView::OnMouseMove(uint32_t, int x, int y) { OnMouse(MOUSE_MOVE, x, y); }

void CQuillonView::FakeAltKey(uint32_t scan)
{
    g_accelKeyFlag = 56;
    g_keyState[56] = 1;
    g_keyState[scan & 255] = 1;
    m_fakedKeys.set(scan & 255);
    g_lastKey = scan;
}

void CQuillonView::OnAltA() { FakeAltKey(30); }
void CQuillonView::OnAltD() { FakeAltKey(32); }
void CQuillonView::OnAltI() { FakeAltKey(23); }
void CQuillonView::OnAltR() { FakeAltKey(19); }
void CQuillonView::OnAltS() { FakeAltKey(31); }

void CQuillonView::OnCommand(uint32_t id)
{
    switch (id) {
    case plat::kAccelAltA: OnAltA(); break;
    case plat::kAccelAltA + 1: OnAltD(); break;
    case plat::kAccelAltA + 2: OnAltI(); break;
    case plat::kAccelAltA + 3: OnAltR(); break;
    case plat::kAccelAltS: OnAltS(); break;
    default: break;  // Print Screen's 32776 has no handler
    }
}

void CQuillonView::OnImeNotify(uint32_t command)
{
    // The game composes Hangul itself; the mode change goes to its edit line.
    if (command == plat::kImnSetConversionMode && g_pTextLayer)
        g_pTextLayer->RequestModeSwitch();
}

void CQuillonView::OnDialogClosed(uintptr_t which)
{
    if (which > 1)
        return;
    RestorePalette(false);
    if (m_pDisplay)
        m_pDisplay->SetNeedsFlip(1);
    DestroyWritingDialog(which == 0 ? 2 : 1);
}

void CQuillonView::OnMessage(uint32_t msg, uintptr_t wParam, intptr_t)
{
    if (msg == kMsgDialogClosed)
        OnDialogClosed(wParam);
    else if (msg == kMsgAccountLogin) {
        // Nothing opens the account dialog.
    }
}
