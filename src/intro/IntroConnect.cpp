// The intro layer's connect screen and the connect sequence that takes the
// chosen character into the world.
#include <cstdio>
#include <cstring>

#include "app/ExitGame.h"
#include "app/MouseState.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "colony/SimColony.h"
#include "core/Display.h"
#include "core/HanCodeConv.h"
#include "core/PaletteManager.h"
#include "core/ResFile.h"
#include "core/TextLayer.h"
#include "intro/IntroLayer.h"
#include "net/MySocket.h"
#include "platform/Clock.h"
#include "platform/Crt.h"
#include "platform/Dialogs.h"
#include "rules/StartPositions.h"
#include "script/ScriptService.h"
#include "world/BGLayer.h"
#include "world/ObjLayer.h"
#include "world/StageLoader.h"

int32_t g_connectStep;
int32_t g_connectProgress;
int32_t g_connectFrames;
int32_t g_connectPass;

namespace {

constexpr uint32_t kScanEsc = 1;
constexpr int kBackColour = 63;
constexpr uint8_t kTextColour = 167;
constexpr int kBars = 234;
constexpr int kFramesPerBar = 4;
constexpr int kPassColours[4] = {100, 116, 113, 113};
// The look a new character leaves to chance.
constexpr uint32_t kRandomLook = 99;
// The script value a new character or colony starts with.
constexpr uint32_t kNewCharacterScriptValue = 256;

int SelectedSlot() { return g_selectedSlot < 1 ? 1 : (g_selectedSlot > 3 ? 3 : g_selectedSlot); }
// 0 for a character made since the program started.
bool SlotExists() { return g_slotExists[static_cast<size_t>(SelectedSlot() - 1)] != 0; }

}  // namespace

void CIntroLayer::FormatConnectText(int pass, char* out, size_t size)
{
    static constexpr const char* kPassTexts[4] = {"Pass 1 ", "Pass 2 ", "Pass 3 ",
                                                  "Try again (Press Esc to Quit)"};
    const int p = pass < 0 ? 0 : (pass > 3 ? 3 : pass);
    std::snprintf(out, size, "Login Processing .. %s  ( Press ESC to Quit )", kPassTexts[p]);
}

int CIntroLayer::ConnectScreen()
{
    FormatConnectText(g_connectPass, m_connectText.data(), m_connectText.size());
    const BlitTarget screen = Screen();
    if (m_pScreen)
        ScreenFillRect(screen, 0, 0, kCols, kRows, kBackColour);

    if (m_pConnectFrame) {
        DrawPicture(m_pConnectFrame, 20, 350);
    } else if (m_pScreen) {
        try {
            m_pConnectFrame = LoadPicture(m_image1, "data\\connect.tle");
        } catch (CRFileException& e) {
            e.ReportError();
            m_setUpFailed = true;
            ExitGame();
            return 0;
        }
        if (g_pPalette)
            g_pPalette->LoadPalette("Tolmar.PAL");
    }

    if (g_lastKey == kScanEsc)
        ExitGame();

    if (CTextLayer* text = g_pTextLayer; text && m_pScreen) {
        text->SetTarget(m_pScreen, kCols, kRows);
        text->SetColor(1);
        text->DrawTextColored(30, 383, m_connectText.data(), kTextColour, 255, 1);
    }

    ++g_connectFrames;
    if (g_connectFrames % kFramesPerBar == 0 && g_connectProgress < kBars)
        ++g_connectProgress;
    if (g_connectProgress >= kBars) {
        if (g_connectPass >= 2) {
            g_connectPass = 3;
            g_connectProgress = kBars;
        } else {
            ++g_connectPass;
            g_connectProgress = 0;
        }
    }
    const int colour = kPassColours[g_connectPass < 0 ? 0 : (g_connectPass > 3 ? 3 : g_connectPass)];
    for (int i = 0; m_pScreen && i < g_connectProgress; ++i)
        ScreenFillRect(screen, 44 + 3 * i, 424, 1, 16, colour);
    return 0;
}

void CIntroLayer::ConnectStep()
{
    CObjLayer* layer = g_pView ? g_pView->m_pObjLayer : nullptr;
    if (!layer || IsExiting())
        return;
    const int slot = SelectedSlot();

    // The steps are tried in order: those that do not wait may run on in
    // the same frame.
    if (g_connectStep == 0) {
        // The jail time is unknown until the server tells it.
        layer->m_jailStartTime = -1;
        m_jailRequested = false;
        layer->SendConnectRequest();
        g_connectStep = 1;
    }
    if (g_connectStep == 1 && g_versionConfirmed)
        g_connectStep = 2;
    if (g_connectStep == 2) {
        layer->SendCharacterChoice(slot);
        g_connectStep = 3;
    }
    if (g_connectStep == 3) {
        if (g_playerIdState == 1) {
            g_connectStep = 4;
        } else if (g_playerIdState == 2) {
            char name[AccountRecord::kSlotNameSize];
            g_loginRecord.SlotName(slot, name);
            layer->SendUserId(name);
            g_connectStep = 2;
        }
    }
    if (g_connectStep == 4) {
        layer->SendReadyCheck();
        if (g_pMainSocket) {
            const uint8_t colony = 'j';
            g_pMainSocket->SendCommand(&colony, 1);
        }
        g_colonyAnswer = 0;
        g_connectStep = 5;
    }
    if (g_connectStep == 5)
        ConnectStep5();
    if (g_connectStep == 6 && layer->m_myFieldAnswer)
        g_connectStep = 7;
    if (g_connectStep == 7)
        ConnectStep7();
    if (g_connectStep == 8)
        ConnectStep8();
    if (g_connectStep == 9) {
        if (layer->m_enteredAnswer == 1) {
            g_connectStep = 10;
        } else if (layer->m_enteredAnswer == -1) {
            // Waiting on would never end: tell the player and leave.
            plat::MessageBox("", "게임에 들어갈 수 없습니다. 게임을 종료합니다.");
            ExitGame();
            return;
        }
    }
    if (g_connectStep == 10)
        EnterWorld();
}

void CIntroLayer::ConnectStep5()
{
    CObjLayer* layer = g_pView->m_pObjLayer;
    const bool exists = SlotExists();
    if (!exists || g_readyAnswer == -1) {
        // A character the server does not have yet: tell it everything.
        CharacterRecord& rec = layer->MyRecord();
        rec.SetU32(CharacterRecord::kLook, static_cast<uint32_t>((m_colourA << 3) | m_colourB));
        layer->SendCharacterField(23);
        layer->SendCharacterField(50);
        layer->SendCharacterField(60);
        g_connectStep = 7;
    } else if (g_readyAnswer == 1) {
        layer->RequestCharacterField(g_myId, 50);
        g_connectStep = 6;
    }
}

void CIntroLayer::ConnectStep7()
{
    CObjLayer* layer = g_pView->m_pObjLayer;
    CharacterRecord& rec = layer->MyRecord();
    if (rec.U32(CharacterRecord::kLook) == kRandomLook) {
        rec.SetU32(CharacterRecord::kLook, static_cast<uint32_t>(plat::Rand() % 64));
        layer->SendCharacterField(23);
    }
    // Asked once, and again only after a while without an answer.
    const uint32_t now = plat::NowMs();
    if (!m_jailRequested || static_cast<int32_t>(now - m_jailRequestAt) >= 0) {
        layer->RequestCharacterField(g_myId, 69);
        layer->RequestCharacterField(g_myId, 68);
        m_jailRequested = true;
        m_jailRequestAt = now + kJailRequestRepeatMs;
    }
    const int32_t jailStart = layer->m_jailStartTime;
    if (jailStart == -1)
        return;
    const StartPosition start = jailStart == 0 ? GetStartPosition() : GetStartPositionB();
    // The stage loaded is the start cell's.
    g_currentMapId = start.map;
    if (!LoadStage(start.map))
        return;
    layer->SetEntryPoint(start.map, start.x, start.y);
    layer->SendEnterField();
    g_connectStep = 8;
}

void CIntroLayer::ConnectStep8()
{
    if (g_colonyAnswer == 0)
        return;
    const bool exists = SlotExists();
    if (g_colonyAnswer == 1 && exists) {
        g_simColony.SendRequest(3, g_myId);
        g_simColony.SendRequest(2, g_myId);
        g_simColony.SendRequest(4, g_myId);
    } else {
        char greeting[CSimColony::kProfileTextSize] = "안녕하세요.";
        CHanCodeConv::CP949ToJohab(greeting, greeting);
        g_simColony.SendProfileText(greeting);
        g_simColony.SendFacilities();
        g_simColony.SendCubes();
        g_simColony.SendResources();
    }
    g_connectStep = 9;
}

void CIntroLayer::EnterWorld()
{
    CQuillonView* view = g_pView;
    CObjLayer* layer = view->m_pObjLayer;
    const bool exists = SlotExists();
    if (view->m_pDisplay) {
        view->m_pDisplay->AddLayer(view->m_pBGLayer);
        view->m_pDisplay->AddLayer(layer);
    }
    layer->SetInWorld();
    layer->RequestCharacterField(g_myId, 63);
    layer->RequestCharacterField(g_myId, 37);
    if (!exists || g_colonyAnswer == -1 || g_readyAnswer == -1)
        layer->MyRecord().SetU16(CharacterRecord::kScriptValue, kNewCharacterScriptValue);
    Scripts().Load("AutoExec");
    m_sceneState = kSceneInWorld;
    g_connectStep = 0;
}
