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
}

namespace {

// Scan codes the forms read.
constexpr uint32_t kScanTab = 15;
constexpr uint32_t kScanEnter = 28;

// The log-in screen.
constexpr IntroRect kLoginNewId{519, 330, 627, 350};
constexpr IntroRect kLoginOk{467, 464, 514, 497};
constexpr IntroRect kLoginQuit{670, 464, 715, 497};
constexpr IntroRect kLoginIdField{519, 195, 649, 210};
constexpr IntroRect kLoginPasswordField{519, 232, 646, 246};
constexpr IntroRect kLoginDeadButton{652, 148, 715, 189};
constexpr int kLoginIdLimit = 11;
constexpr int kLoginPasswordLimit = 9;

// The key pressed since the last frame.
bool KeyPressed(uint32_t scan) { return g_lastKey == scan; }

}  // namespace

CIntroLayer::CIntroLayer(CLayer* parent) : m_pParent(parent)
{
    // Each row's wipe starts somewhere in -800..0.
    for (int32_t& off : m_rowOffsets)
        off = plat::Rand() % 801 - 800;
}

CIntroLayer::~CIntroLayer() = default;

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

void CIntroLayer::DrawPicture(const CRleImage* picture, int x, int y)
{
    if (picture && m_pScreen)
        const_cast<CRleImage*>(picture)->Draw(x, y, Screen());
}

void CIntroLayer::FocusField(int field, int x, int y, int max)
{
    m_editBuffer.fill(0);
    m_fieldX = x;
    m_fieldY = y;
    m_fieldMax = max;
    g_focusedField = field;
    if (field == 1)
        m_loginId.fill(0);
    else if (field == 2)
        m_loginPassword.fill(0);
}

void CIntroLayer::InitLoginScreen()
{
    LoadBackground("major\\blacknom.tle");
    m_pPicture4 = LoadPicture(m_image4, "major\\bbutid.tle");
    m_pPicture2 = LoadPicture(m_image2, "major\\againokbu.tle");
    m_pPicture3 = LoadPicture(m_image3, "major\\bbutq.tle");
    if (g_pPalette)
        g_pPalette->LoadPalette("tolmar.PAL");
    m_loginId.fill(0);
    m_loginPassword.fill(0);
    FocusField(1, kLoginIdField.left, kLoginIdField.top, kLoginIdLimit);
    g_requestPending = 0;
    g_requestDone = 0;
}

void CIntroLayer::LoginForm()
{
    if (!m_loginHeld)
        CopyBackground();

    if (KeyPressed(kScanTab)) {
        if (g_focusedField == 1)
            FocusField(2, kLoginPasswordField.left, kLoginPasswordField.top, kLoginPasswordLimit);
        else
            FocusField(1, kLoginIdField.left, kLoginIdField.top, kLoginIdLimit);
    } else if (KeyPressed(kScanEnter)) {
        DrawPicture(m_pPicture2, 457, 457);
        m_loginAction = 2;
        m_loginHeld = 0;
    }

    if (g_requestDone) {
        m_sceneState = kSceneCharacterSetup;
        m_loginAction = 0;
        FreeScreen({&m_image2, &m_image4, &m_image3});
        m_editBuffer.fill(0);
    }
    if (g_playerIdState == 2) {
        if (g_pView && g_pView->m_pObjLayer)
            g_pView->m_pObjLayer->SendUserId(m_loginId.data());
        g_requestPending = 0;
    }

    switch (m_loginAction) {
    case 1:
        m_sceneState = kSceneRegisterSetup;
        m_loginAction = 0;
        FreeScreen({&m_image2, &m_image4, &m_image3});
        break;
    case 2:
        // A request still awaiting its reply keeps the action for later.
        if (!g_requestPending) {
            CheckLogin();
            m_loginAction = 0;
        }
        break;
    case 3:
        FreeScreen({&m_image2, &m_image4, &m_image3});
        m_loginAction = 0;
        ExitGame();
        break;
    default:
        break;
    }

    const int x = g_mouseState.GetX(), y = g_mouseState.GetY();
    if (g_mouseState.IsMouseEvent(MOUSE_LDOWN) && !m_loginHeld) {
        if (HitTest(kLoginNewId, x, y)) {
            DrawPicture(m_pPicture4, 512, 321);
            m_loginHeld = 1;
        } else if (HitTest(kLoginOk, x, y)) {
            DrawPicture(m_pPicture2, 457, 457);
            m_loginHeld = 2;
        } else if (HitTest(kLoginQuit, x, y)) {
            DrawPicture(m_pPicture3, 660, 455);
            m_loginHeld = 3;
        } else if (HitTest(kLoginIdField, x, y)) {
            FocusField(1, kLoginIdField.left, kLoginIdField.top, kLoginIdLimit);
        } else if (HitTest(kLoginPasswordField, x, y)) {
            FocusField(2, kLoginPasswordField.left, kLoginPasswordField.top, kLoginPasswordLimit);
        } else if (HitTest(kLoginDeadButton, x, y)) {
            m_loginHeld = 0;
        }
    }
    if (g_mouseState.IsMouseEvent(MOUSE_LUP)) {
        // The action is the held button's, wherever the button is let go.
        m_loginAction = m_loginHeld;
        m_loginHeld = 0;
    }
}

int CIntroLayer::CheckLogin()
{
    const char* id = m_loginId.data();
    const char* password = m_loginPassword.data();
    const size_t idLen = strnlen(id, m_loginId.size());
    const size_t pwLen = strnlen(password, m_loginPassword.size());
    if (idLen == 0 || pwLen == 0) {
        plat::MessageBox("", "모든 내용을 빠짐없이 입력하십시요");
        return 0;
    }
    if (std::memchr(id, ' ', idLen)) {
        plat::MessageBox("", "ID입력이 잘못 되었습니다");
        return 0;
    }
    if (idLen >= 11 || pwLen >= 9) {
        plat::MessageBox("", "ID나 Password의 크기가 초과 하였습니다.");
        return 0;
    }
    if (g_pView)
        g_pView->SendLogin(id, password);
    g_requestPending = 1;
    return 1;
}

// The registration and character forms and the reply messages attach to
// these entry points; until then the screens show their pictures.
void CIntroLayer::InitRegisterScreen()
{
    LoadBackground("major\\greennom.tle");
    m_pPicture4 = LoadPicture(m_image4, "major\\grokbut.tle");
    m_pPicture2 = LoadPicture(m_image2, "major\\grqbut.tle");
    if (g_pPalette)
        g_pPalette->LoadPalette("tolmar.PAL");
    g_focusedField = 1;
    g_requestPending = 0;
    g_requestDone = 0;
}

void CIntroLayer::RegisterForm()
{
    if (!m_registerHeld)
        CopyBackground();
}

void CIntroLayer::InitCharacterSelect()
{
    static constexpr const char* kPortraits[9] = {
        "major\\eric.tle",     "major\\celinne.tle",  "major\\andrew.tle",
        "major\\wsper.tle",    "major\\mapostle.tle", "major\\wapostle.tle",
        "major\\smallbasic.tle", "major\\yesclick.tle", "major\\noclick.tle"};
    LoadBackground("major\\basic.tle");
    m_pPicture4 = LoadPicture(m_image4, "major\\ok1.tle");
    m_pPicture2 = LoadPicture(m_image2, "major\\ok2.tle");
    m_pPicture3 = LoadPicture(m_image3, "major\\ok3.tle");
    for (size_t i = 0; i < m_portraitImages.size(); ++i)
        m_portraitFrames[i] = LoadPicture(m_portraitImages[i], kPortraits[i]);
    if (g_pPalette)
        g_pPalette->LoadPalette("tolmar.PAL");
}

void CIntroLayer::CharacterCreate()
{
    if (!m_selectHeld)
        CopyBackground();
}

void CIntroLayer::OnLoginReply(int, int) {}
void CIntroLayer::OnRegisterReply(int) {}
void CIntroLayer::OnCharacterNameReply(int) {}

int CIntroLayer::ConnectScreen() { return 0; }
void CIntroLayer::ConnectStep() {}

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
