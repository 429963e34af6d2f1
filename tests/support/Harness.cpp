#include "support/Harness.h"

#include "support/FakeServer.h"

#include "app/CommandRing.h"
#include "app/ExitGame.h"
#include "app/FrameClock.h"
#include "app/HandOff.h"
#include "app/MouseState.h"
#include "app/QuillonApp.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "audio/MusicPlayer.h"
#include "audio/SoundManager.h"
#include "core/Blit.h"
#include "core/DibIO.h"
#include "core/HotKey.h"
#include "core/PaletteManager.h"
#include "core/ResFile.h"
#include "fixtures/IntroArchive.h"
#include "intro/IntroLayer.h"
#include "script/ScriptManager.h"
#include "world/FieldFrame.h"
#include "world/StageLoader.h"
#include "net/PacketAssembler.h"
#include "core/TileSet.h"
#include "platform/Crt.h"
#include "platform/Debug.h"
#include "platform/LauncherAtoms.h"
#include "platform/Loop.h"
#include "platform/Process.h"
#include "platform/Settings.h"
#include "ui/InputFocus.h"
#include "colony/ColonyService.h"
#include "effects/EffectsService.h"
#include "rules/CalcData.h"
#include "rules/GameData.h"
#include "rules/ItemData.h"
#include "script/ScriptService.h"
#include "social/ChatLine.h"
#include "social/ListStream.h"
#include "social/SocialService.h"
#include "ui/FieldView.h"
#include "ui/FloatTextList.h"
#include "ui/MessageRing.h"
#include "ui/NoticeList.h"
#include "ui/WidgetGlobals.h"
#include "windows/DispatchCommands.h"
#include "windows/MouseCursor.h"
#include "windows/DaradirUzedo.h"
#include "windows/HotKeyButton.h"
#include "windows/ItemList.h"
#include "windows/SystemWindows.h"
#include "windows/PlayerInfo.h"
#include "windows/UiService.h"
#include "world/ZoneFlags.h"

void ResetGameGlobals()
{
    ResetFrameClock();
    ResetInputState();
    ResetExitState();
    FreeHotKeys();
    ResCloseArchive();
    g_commandRing.Reset();
    g_colonyMode = 0;
    g_inputFocus.Reset();
    ResetWidgetGlobals();
    ResetUiLayerGlobals();
    ResetHotKeyButtons();
    plat::SetLauncherAtoms(nullptr);
    g_musicPlayer.Reset();
    g_mixer.Close();
    g_soundManager.Reset();
    ResetBlitContexts();
    ResetPaletteCycleCount();
    ResetScreenShots();
    g_cursorTileSet.FreeFrames();
    g_handOff = HandOffData{};
    ResetReceiveState();
    ResetIntroState();
    CScriptManager::Reset();
    ResetStageLoader();
    ResetColonyState();
    SetPacketSource(nullptr);
    plat::SRand(1);
    // The rules, the records and the service seams.
    ResetCalcData();
    FreeGameData();
    g_itemData.Reset();
    g_playerInfo.Reset();
    g_itemList.Clear();
    ResetDispatchGlobals();
    ResetFieldFrame();
    g_zoneFlags.fill(0);
    g_messageRing.Clear();
    g_floatTexts.Clear();
    g_noticeList.Clear();
    SetFieldViewRight(800);
    g_currentNoticeLine = nullptr;
    g_mouseCursor = CMouseCursor{};
    g_lastMouseCursor = CMouseCursor{};
    g_rescuerId = 0;
    g_rescueBattle = 0;
    SetEffects(nullptr);
    SetUi(nullptr);
    SetSocial(nullptr);
    SetColony(nullptr);
    SetScripts(nullptr);
    ResetBoardState();
}

CHarness::CHarness(uint32_t clockStart) : m_platform(plat::HeadlessConfig{clockStart, true})
{
    ResetGameGlobals();
    plat::SetDebugSink([this](std::string_view text) { m_debug.append(text); });
}

CHarness::~CHarness()
{
    if (m_started)
        theApp.ExitInstance();
    m_server.reset();
    plat::SetDebugSink({});
    ResetGameGlobals();
    plat::SetCommandLine("");
    m_archive.reset();
}

plat::CMessageLoop& CHarness::Loop() { return plat::Loop(); }

CFakeServer& CHarness::Server()
{
    if (!m_server) {
        m_server = std::make_unique<CFakeServer>();
        m_server->UseForClient();
        m_server->Register();
    }
    return *m_server;
}

bool CHarness::Start(const std::string& commandLine)
{
    if (!plat::Settings().GetDword("Software\\Brennix\\Quorvel\\Server", "Port"))
        Server();
    plat::SetCommandLine(commandLine);
    // Without an archive of the test's own, the smallest one start-up accepts
    // with the pictures the intro scenes open.
    if (!CTestArchive::AnyInstalled())
        m_archive = std::make_unique<CTestArchive>(CIntroArchive::Game(), false);
    m_started = true;
    return theApp.InitInstance() != 0;
}

bool CHarness::Step() { return plat::Loop().Step(); }

void CHarness::Steps(int n)
{
    for (int i = 0; i < n && Step(); ++i) {
    }
}

bool CHarness::RunUntil(const std::function<bool()>& pred, int maxSteps)
{
    for (int i = 0; i < maxSteps; ++i) {
        if (pred())
            return true;
        if (!Step())
            return pred();
    }
    return pred();
}

void CHarness::RunForMs(uint32_t ms)
{
    const uint32_t start = Clock().NowMs();
    RunUntil([&] { return Clock().NowMs() - start >= ms; });
}

bool CHarness::Quit() { return plat::Loop().QuitPosted(); }

void CHarness::KeyDown(uint8_t scan, bool extended, bool repeat)
{
    plat::RawEvent e;
    e.kind = plat::RawKind::KeyDown;
    e.scan = scan;
    e.extended = extended;
    e.repeat = repeat;
    plat::Loop().InjectInput(e);
}

void CHarness::KeyUp(uint8_t scan, bool extended)
{
    plat::RawEvent e;
    e.kind = plat::RawKind::KeyUp;
    e.scan = scan;
    e.extended = extended;
    plat::Loop().InjectInput(e);
}

void CHarness::KeyPress(uint8_t scan, bool extended)
{
    KeyDown(scan, extended);
    KeyUp(scan, extended);
}

void CHarness::MouseMove(int x, int y)
{
    plat::RawEvent e;
    e.kind = plat::RawKind::MouseMove;
    e.x = x;
    e.y = y;
    plat::Loop().InjectInput(e);
}

void CHarness::MouseDown(int button, int x, int y)
{
    plat::RawEvent e;
    e.kind = plat::RawKind::ButtonDown;
    e.button = button;
    e.x = x;
    e.y = y;
    plat::Loop().InjectInput(e);
}

void CHarness::MouseUp(int button, int x, int y)
{
    plat::RawEvent e;
    e.kind = plat::RawKind::ButtonUp;
    e.button = button;
    e.x = x;
    e.y = y;
    plat::Loop().InjectInput(e);
}

void CHarness::Click(int button, int x, int y)
{
    MouseDown(button, x, y);
    MouseUp(button, x, y);
}

void CHarness::FocusLost()
{
    plat::RawEvent e;
    e.kind = plat::RawKind::FocusLost;
    plat::Loop().InjectInput(e);
}

void CHarness::FocusGained()
{
    plat::RawEvent e;
    e.kind = plat::RawKind::FocusGained;
    plat::Loop().InjectInput(e);
}
