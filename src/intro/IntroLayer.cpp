#include "intro/IntroLayer.h"

#include <algorithm>
#include <cstring>

#include "app/ExitGame.h"
#include "app/MouseState.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "core/PaletteManager.h"
#include "core/ResFile.h"
#include "net/MySocket.h"
#include "platform/Crt.h"
#include "platform/Dialogs.h"
#include "ui/InputFocus.h"
#include "world/ObjLayer.h"

int32_t g_focusedField = 1;
int32_t g_selectedSlot = 1;
std::array<int32_t, 3> g_slotExists{1, 1, 1};
int32_t g_chooserLoaded;
int32_t g_chooserFadedIn;
int32_t g_wipeHideFrame;
int32_t g_wipeRevealFrame;
int32_t g_requestPending;
int32_t g_requestDone;
// The ordinary arrow until a screen picks another.
int32_t g_cursorFrame = 1;

void ResetIntroState()
{
    g_focusedField = 1;
    g_selectedSlot = 1;
    g_slotExists = {1, 1, 1};
    g_chooserLoaded = 0;
    g_chooserFadedIn = 0;
    g_wipeHideFrame = 0;
    g_wipeRevealFrame = 0;
    g_requestPending = 0;
    g_requestDone = 0;
    g_cursorFrame = 1;
    g_nameEntryStarted = 0;
    g_charName.fill(0);
    g_connectStep = 0;
    g_connectProgress = 0;
    g_connectFrames = 0;
    g_connectPass = 0;
}

CIntroLayer::CIntroLayer(CLayer* parent) : m_pParent(parent)
{
    // Each row's wipe starts somewhere in -800..0.
    for (int32_t& off : m_rowOffsets)
        off = plat::Rand() % 801 - 800;
}

CIntroLayer::~CIntroLayer()
{
    if (g_inputFocus.GetFocusField() == this)
        g_inputFocus.SetFocusField(nullptr);
}

bool CIntroLayer::HitTest(const IntroRect& rc, int x, int y)
{
    return rc.left < x && x < rc.right && rc.top < y && y < rc.bottom;
}

int CIntroLayer::Draw()
{
    m_pScreen = m_pParent ? m_pParent->GetBits() : nullptr;
    if (!m_pScreen)
        return 1;
    SetSpriteClipRect(0, 0, kCols, kRows);
    Run();
    // Nothing queues deferred draws in this program: the queue is always empty.
    DrawCursor();
    return 1;
}

void CIntroLayer::DrawCursor()
{
    if (m_loginHeld || m_registerHeld || m_selectHeld || m_panelHeld)
        return;
    if (CRleImage* frame = g_cursorTileSet.GetFrame(g_cursorFrame))
        frame->Draw(g_mouseState.GetX(), g_mouseState.GetY(), Screen());
}

template <class Fn>
bool CIntroLayer::RunSetUp(Fn&& fn)
{
    try {
        fn();
        return true;
    } catch (CRFileException& e) {
        e.ReportError();
    }
    m_setUpFailed = true;
    ExitGame();
    return false;
}

int CIntroLayer::Run()
{
    if (!g_pView || g_pView->m_bRunning == 0 || m_setUpFailed)
        return 1;
    switch (m_sceneState) {
    case kSceneLoginSetup:
        if (RunSetUp([this] { InitLoginScreen(); }))
            m_sceneState = kSceneLogin;
        break;
    case kSceneLogin:
        LoginForm();
        break;
    case kSceneChooser:
        SlideShow();
        g_cursorFrame = 5;
        break;
    case kSceneRegisterSetup:
        if (RunSetUp([this] { InitRegisterScreen(); }))
            m_sceneState = kSceneRegister;
        break;
    case kSceneRegister:
        RegisterForm();
        break;
    case kSceneCharacterSetup:
        if (RunSetUp([this] { InitCharacterSelect(); }))
            m_sceneState = kSceneCharacter;
        break;
    case kSceneCharacter:
        CharacterCreate();
        break;
    case kSceneTitleSetup:
        if (RunSetUp([this] { InitTitleScreen(); }))
            m_sceneState = kSceneTitle;
        break;
    case kSceneTitle:
        TitleMenu();
        break;
    case kSceneConnect:
        ConnectScreen();
        ConnectStep();
        break;
    case kSceneConnectOnly:
        // Would enter the world once the connect screen reported completion.
        ConnectScreen();
        break;
    default:
        // 0: in the world; the game frame takes the layer away.
        break;
    }
    return 1;
}

// ---- screens -------------------------------------------------------------

CRleImage* CIntroLayer::LoadPicture(CTileSet& image, const char* name)
{
    image.FreeFrames();
    CRFile file(name, CRFile::modeRead);
    if (file.Seek(kTleHeader, 0) != 0 || image.Read(file) != 0)
        return nullptr;  // a damaged picture is left out
    return image.GetFrame(0);
}

void CIntroLayer::LoadBackground(const char* name)
{
    m_background.assign(kScreenBytes, 0);
    const SpriteClipRect saved = GetSpriteClipRect();
    SetSpriteClipRect(0, 0, kCols, kRows);
    if (CRleImage* frame = LoadPicture(m_image4, name))
        frame->Draw(0, 0, ScreenTarget(m_background.data()));
    SetSpriteClipRect(saved.left, saved.top, saved.right, saved.bottom);
    m_image4.FreeFrames();
}

void CIntroLayer::FreeScreen(std::initializer_list<CTileSet*> images)
{
    for (CTileSet* image : images)
        image->FreeFrames();
    m_pPicture2 = m_pPicture3 = m_pPicture4 = nullptr;
    m_background.clear();
    m_background.shrink_to_fit();
}

void CIntroLayer::CopyBackground()
{
    if (m_pScreen && m_background.size() == kScreenBytes)
        std::memcpy(m_pScreen, m_background.data(), kScreenBytes);
}

void CIntroLayer::DrawPicture(CRleImage* picture, int x, int y)
{
    if (picture && m_pScreen)
        picture->Draw(x, y, Screen());
}

// ---- wipes ---------------------------------------------------------------

// Each wipe draws frames k = 0..50 and reports 1; the call after the last
// frame resets its counter and reports 0.
int CIntroLayer::WipeHide(uint8_t* screen)
{
    if (g_wipeHideFrame >= kWipeFrames) {
        g_wipeHideFrame = 0;
        m_wipeRunning = 0;
        return 0;
    }
    m_wipeRunning = 1;
    const int k = g_wipeHideFrame++;
    for (int r = 0; r < kRows && screen; ++r) {
        const int end = std::min(m_rowOffsets[static_cast<size_t>(r)] + kWipeSpeed * k, kCols);
        if (end >= 1)
            std::memset(screen + static_cast<size_t>(r) * kCols, 0, static_cast<size_t>(end));
    }
    return 1;
}

int CIntroLayer::WipeReveal(uint8_t* screen)
{
    if (g_wipeRevealFrame >= kWipeFrames) {
        g_wipeRevealFrame = 0;
        m_wipeRunning = 0;
        m_wipeFinished = 1;
        return 0;
    }
    m_wipeRunning = 1;
    const int k = g_wipeRevealFrame++;
    for (int r = 0; r < kRows && screen; ++r) {
        const int start = std::clamp(m_rowOffsets[static_cast<size_t>(r)] + kWipeSpeed * k, 0, kCols);
        std::memset(screen + static_cast<size_t>(r) * kCols + start, 0, static_cast<size_t>(kCols - start));
    }
    return 1;
}
