// The intro layer's forms: log-in, registration, and the character screen
// with its new-character panel; their checks and the replies to them.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/ExitGame.h"
#include "app/FrameClock.h"
#include "app/MouseState.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "core/HanCodeConv.h"
#include "core/PaletteManager.h"
#include "core/TextLayer.h"
#include "intro/IntroLayer.h"
#include "intro/LoginChecks.h"
#include "platform/Dialogs.h"
#include "ui/InputFocus.h"
#include "world/ObjLayer.h"

int32_t g_nameEntryStarted;
std::array<char, 12> g_charName;

namespace {

constexpr uint32_t kScanTab = 15;
constexpr uint32_t kScanEnter = 28;

// The edit line keeps at most this many bytes of its buffer.
constexpr int kEditCapacity = 255;

constexpr uint8_t kFieldTextColour = 60;
constexpr uint8_t kTransparent = 255;

bool KeyPressed(uint32_t scan) { return g_lastKey == scan; }

// The log-in screen.
constexpr IntroRect kLoginNewId{519, 330, 627, 350};
constexpr IntroRect kLoginOk{467, 464, 514, 497};
constexpr IntroRect kLoginQuit{670, 464, 715, 497};
constexpr IntroRect kLoginDeadButton{652, 148, 715, 189};

struct FormField {
    int limit;
    int x, y;
    IntroRect hit;
};
constexpr FormField kLoginFields[2] = {
    {11, 519, 195, {519, 195, 649, 210}},
    {9, 519, 232, {519, 232, 646, 246}},
};
constexpr FormField kRegisterFields[kRegFieldCount] = {
    {11, 78, 152, {78, 152, 236, 170}},  {9, 75, 200, {75, 200, 196, 217}},
    {9, 221, 197, {221, 197, 341, 215}}, {12, 75, 246, {75, 246, 207, 264}},
    {12, 290, 243, {290, 243, 380, 261}}, {15, 77, 296, {77, 296, 305, 337}},
    {20, 77, 343, {77, 343, 236, 361}},  {60, 79, 389, {79, 389, 561, 406}},
    {30, 76, 443, {76, 443, 374, 461}},
};

// The registration screen.
constexpr IntroRect kRegisterOk{652, 148, 715, 189};
constexpr IntroRect kRegisterCancel{654, 331, 717, 374};
constexpr IntroRect kRegisterDead{131, 432, 186, 463};

// The character screen, by slot.
struct SlotPlace {
    int portraitX, portraitY;
    int nameX, nameY;
    int levelX, levelY;
    int emptyX, emptyY;
    IntroRect ok;
    int okPictureX, okPictureY;
    IntroRect portrait;
};
constexpr SlotPlace kSlots[3] = {
    {80, 123, 120, 534, 120, 560, 89, 230, {131, 432, 186, 463}, 131, 432, {80, 125, 240, 430}},
    {320, 124, 360, 534, 360, 559, 329, 230, {373, 433, 428, 466}, 373, 433, {322, 125, 480, 430}},
    {560, 124, 604, 533, 604, 559, 570, 230, {614, 432, 669, 464}, 614, 432, {559, 125, 720, 430}},
};

struct PanelPlace {
    int pictureX, pictureY;
    int nameX, nameY;
    IntroRect yes;
    IntroRect no;
};
constexpr PanelPlace kPanels[3] = {
    {3, 208, 90, 332, {257, 363, 300, 403}, {8, 363, 56, 403}},
    {247, 208, 332, 332, {502, 364, 546, 404}, {252, 364, 300, 403}},
    {484, 208, 569, 332, {742, 365, 786, 404}, {489, 364, 536, 403}},
};
constexpr int kNameLimit = 12;

// Indexes of the character screen's extra pictures among the portraits.
constexpr size_t kPanelPicture = 6;
constexpr size_t kYesPicture = 7;
constexpr size_t kNoPicture = 8;

void ShowMessage(const char* text) { plat::MessageBox("", text); }

bool SlotPlayable(int slot) { return g_loginRecord.SlotExists(slot) && g_loginRecord.SlotKind(slot) >= 0; }

}  // namespace

// ---- fields and the edit line ----------------------------------------------

char* CIntroLayer::GetLoginField(int field)
{
    if (field == 1)
        return m_loginId.data();
    if (field == 2)
        return m_loginPassword.data();
    return nullptr;
}

char* CIntroLayer::GetRegisterField(int field)
{
    if (field < 1 || field > kRegFieldCount)
        return nullptr;
    return m_registerFields[static_cast<size_t>(field - 1)].data();
}

void CIntroLayer::GetLoginId(char* out, size_t size) const
{
    if (!out || size == 0)
        return;
    const size_t n = std::min(strnlen(m_loginId.data(), m_loginId.size()), size - 1);
    std::memcpy(out, m_loginId.data(), n);
    out[n] = '\0';
}

void CIntroLayer::FocusField(int field, char* buffer, size_t size, int x, int y, int max)
{
    m_editBuffer.fill(0);
    if (buffer && size)
        std::memset(buffer, 0, size);
    m_pFocusBuffer = buffer;
    m_focusSize = size;
    m_fieldX = x;
    m_fieldY = y;
    m_fieldMax = max;
    g_focusedField = field;
    if (CTextLayer* text = g_pTextLayer) {
        text->SetInputText(m_editBuffer.data(), kEditCapacity);
        text->ClearInput();
    }
    g_inputFocus.SetFocusField(this);
    g_inputFocus.BeginFieldInput();
}

void CIntroLayer::CopyEditToField()
{
    if (!m_pFocusBuffer || m_focusSize == 0)
        return;
    // Johab and CP949 give every character the same width, so the converted
    // text is as long as the edit line's; it is still cut to the field.
    std::array<char, kEditBufferSize> cp949{};
    std::memcpy(cp949.data(), m_editBuffer.data(), cp949.size() - 1);
    CHanCodeConv::JohabToCP949(cp949.data(), cp949.data());
    size_t n = strnlen(cp949.data(), cp949.size() - 1);
    n = std::min(n, m_focusSize - 1);
    // A lead byte cut from its trail byte is dropped with it.
    size_t keep = 0;
    for (size_t i = 0; i < n;) {
        const size_t w = static_cast<uint8_t>(cp949[i]) >= 0x80 ? 2 : 1;
        if (i + w > n)
            break;
        i += w;
        keep = i;
    }
    std::memcpy(m_pFocusBuffer, cp949.data(), keep);
    std::memset(m_pFocusBuffer + keep, 0, m_focusSize - keep);
}

void CIntroLayer::DrawFormText(int x, int y, const char* text)
{
    CTextLayer* layer = g_pTextLayer;
    if (!layer || !text || !text[0] || !m_pScreen)
        return;
    layer->SetTarget(m_pScreen, kCols, kRows);
    layer->DrawTextColored(x, y, text, kFieldTextColour, kTransparent, 1);
}

void CIntroLayer::DrawStars(int x, int y, const char* text)
{
    static constexpr char kStars[] = "**********";
    const size_t n = std::min(strnlen(text, 64), sizeof kStars - 1);
    if (n == 0)
        return;
    char stars[sizeof kStars];
    std::memcpy(stars, kStars, n);
    stars[n] = '\0';
    DrawFormText(x, y, stars);
}

namespace {
void PrepareText(uint8_t* screen)
{
    if (CTextLayer* text = g_pTextLayer) {
        text->SetTarget(screen, CIntroLayer::kCols, CIntroLayer::kRows);
        text->SetColor(1);
        text->SetColors(kFieldTextColour, kTransparent);
    }
}

// The edit line for the focused field and its editing keys; then the
// forms' own texts are drawn with their shadow, over the line's text.
void RunEditLine(uint8_t* screen, bool masked)
{
    if (masked)
        g_inputFocus.DrawFieldPassword(screen);
    else
        g_inputFocus.DrawFieldInput(screen);
    if (CTextLayer* text = g_pTextLayer)
        text->HandleEditKeys();
    PrepareText(screen);
}
}  // namespace

// ---- log-in ------------------------------------------------------------------

void CIntroLayer::FocusLoginField(int field)
{
    const FormField& f = kLoginFields[field == 2 ? 1 : 0];
    if (field == 2)
        FocusField(2, m_loginPassword.data(), m_loginPassword.size(), f.x, f.y, f.limit);
    else
        FocusField(1, m_loginId.data(), m_loginId.size(), f.x, f.y, f.limit);
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
    FocusLoginField(1);
    g_requestPending = 0;
    g_requestDone = 0;
}

void CIntroLayer::LoginForm()
{
    if (!m_loginHeld)
        CopyBackground();
    RunEditLine(m_pScreen, g_focusedField == 2);

    if (KeyPressed(kScanTab)) {
        FocusLoginField(g_focusedField == 1 ? 2 : 1);
    } else if (KeyPressed(kScanEnter)) {
        DrawPicture(m_pPicture2, 457, 457);
        m_loginAction = 2;
        m_loginHeld = 0;
    }

    CopyEditToField();
    DrawFormText(kLoginFields[0].x, kLoginFields[0].y, m_loginId.data());
    DrawStars(kLoginFields[1].x, kLoginFields[1].y, m_loginPassword.data());

    if (g_requestDone) {
        m_sceneState = kSceneCharacterSetup;
        m_loginAction = 0;
        FreeScreen({&m_image2, &m_image4, &m_image3});
        m_editBuffer.fill(0);
        m_pFocusBuffer = nullptr;
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
        m_pFocusBuffer = nullptr;
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
        } else if (HitTest(kLoginFields[0].hit, x, y)) {
            FocusLoginField(1);
        } else if (HitTest(kLoginFields[1].hit, x, y)) {
            FocusLoginField(2);
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
    if (const char* message = LoginCheckMessage(m_loginId.data(), m_loginPassword.data())) {
        ShowMessage(message);
        return 0;
    }
    if (g_pView)
        g_pView->SendLogin(m_loginId.data(), m_loginPassword.data());
    g_requestPending = 1;
    return 1;
}

// ---- registration ------------------------------------------------------------

void CIntroLayer::FocusRegisterField(int field)
{
    const size_t i = static_cast<size_t>(std::clamp(field, 1, static_cast<int>(kRegFieldCount)) - 1);
    const FormField& f = kRegisterFields[i];
    // A field keeps at most its limit - 1 bytes and a terminator.
    FocusField(static_cast<int>(i) + 1, m_registerFields[i].data(),
               std::min(m_registerFields[i].size(), static_cast<size_t>(f.limit)), f.x, f.y, f.limit);
}

void CIntroLayer::InitRegisterScreen()
{
    LoadBackground("major\\greennom.tle");
    m_pPicture4 = LoadPicture(m_image4, "major\\grokbut.tle");
    m_pPicture2 = LoadPicture(m_image2, "major\\grqbut.tle");
    if (g_pPalette)
        g_pPalette->LoadPalette("tolmar.PAL");
    for (auto& field : m_registerFields)
        field.fill(0);
    FocusRegisterField(1);
    g_requestPending = 0;
    g_requestDone = 0;
}

void CIntroLayer::RegisterForm()
{
    if (!m_registerHeld)
        CopyBackground();
    RunEditLine(m_pScreen, g_focusedField == 2 || g_focusedField == 3);

    if (KeyPressed(kScanTab)) {
        FocusRegisterField(g_focusedField % kRegFieldCount + 1);
    } else if (KeyPressed(kScanEnter)) {
        DrawPicture(m_pPicture4, 652, 148);
        m_registerAction = 1;
    }

    CopyEditToField();
    for (int i = 0; i < kRegFieldCount; ++i) {
        const FormField& f = kRegisterFields[i];
        const char* text = m_registerFields[static_cast<size_t>(i)].data();
        if (i == kRegPassword || i == kRegPasswordAgain)
            DrawStars(f.x, f.y, text);
        else
            DrawFormText(f.x, f.y, text);
    }

    auto leave = [this] {
        m_sceneState = kSceneLoginSetup;
        FreeScreen({&m_image2, &m_image4});
        m_editBuffer.fill(0);
        m_pFocusBuffer = nullptr;
    };
    if (g_requestDone) {
        m_registerAction = 0;
        leave();
    }
    switch (m_registerAction) {
    case 1:
        if (!g_requestPending) {
            CheckRegistration();
            m_registerAction = 0;
        }
        break;
    case 2:
        m_registerAction = 0;
        leave();
        break;
    default:
        break;
    }

    const int x = g_mouseState.GetX(), y = g_mouseState.GetY();
    if (g_mouseState.IsMouseEvent(MOUSE_LDOWN) && !m_registerHeld) {
        if (HitTest(kRegisterOk, x, y)) {
            DrawPicture(m_pPicture4, 652, 148);
            m_registerHeld = 1;
        } else if (HitTest(kRegisterCancel, x, y)) {
            DrawPicture(m_pPicture2, 654, 331);
            m_registerHeld = 2;
        } else if (HitTest(kRegisterDead, x, y)) {
            m_registerHeld = 0;
        } else {
            for (int i = 0; i < kRegFieldCount; ++i) {
                if (HitTest(kRegisterFields[i].hit, x, y)) {
                    FocusRegisterField(i + 1);
                    break;
                }
            }
        }
    }
    if (g_mouseState.IsMouseEvent(MOUSE_LUP)) {
        m_registerAction = m_registerHeld;
        m_registerHeld = 0;
    }
}

int CIntroLayer::CheckRegistration()
{
    RegisterTexts texts{};
    for (size_t i = 0; i < texts.size(); ++i)
        texts[i] = m_registerFields[i].data();
    if (const char* message = RegistrationCheckMessage(texts)) {
        ShowMessage(message);
        return 0;
    }
    AccountRecord record;
    FillRegistrationRecord(record, texts);
    if (g_pView)
        g_pView->SendRegistration(record.bytes.data());
    g_requestPending = 1;
    return 1;
}

// ---- character screen --------------------------------------------------------

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

void CIntroLayer::DrawSlots()
{
    CTextLayer* text = g_pTextLayer;
    if (!text)
        return;
    PrepareText(m_pScreen);
    for (int slot = 1; slot <= AccountRecord::kSlots; ++slot) {
        const SlotPlace& p = kSlots[slot - 1];
        if (!g_loginRecord.SlotExists(slot)) {
            DrawFormText(p.emptyX, p.emptyY, "NEW Character Selected");
            continue;
        }
        // A kind this client does not know has no portrait.
        const int kind = g_loginRecord.SlotKind(slot);
        if (kind >= 0)
            DrawPicture(m_portraitFrames[static_cast<size_t>(kind)], p.portraitX, p.portraitY);
        char name[AccountRecord::kSlotNameSize];
        g_loginRecord.SlotName(slot, name);
        DrawFormText(p.nameX, p.nameY, name);
        char level[16];
        std::snprintf(level, sizeof level, "%d", g_loginRecord.SlotLevel(slot));
        DrawFormText(p.levelX, p.levelY, level);
    }
}

void CIntroLayer::PlaySlot(int slot)
{
    m_selectAction = 0;
    g_selectedSlot = slot;
    char name[AccountRecord::kSlotNameSize];
    g_loginRecord.SlotName(slot, name);
    // An empty name, or a character of a kind this client does not know,
    // cannot be played.
    if (!name[0] || !SlotPlayable(slot))
        return;
    std::memcpy(g_charName.data(), name, g_charName.size());
    // Once a character has been made in this run, every chosen character
    // starts from its kind's template.
    if (m_newCharacterMade && g_pView && g_pView->m_pObjLayer) {
        CObjLayer* layer = g_pView->m_pObjLayer;
        if (const CharacterRecord* templ = layer->GetCharTemplate(g_loginRecord.SlotKind(slot)))
            layer->SetMyCharRecord(*templ);
    }
    m_sceneState = kSceneConnect;
    g_cursorFrame = 1;
    FreeScreen({&m_image2, &m_image3, &m_image4});
    for (CTileSet& image : m_portraitImages)
        image.FreeFrames();
    m_portraitFrames.fill(nullptr);
}

void CIntroLayer::NewCharacterPanel(int slot)
{
    const PanelPlace& p = kPanels[slot - 1];
    if (!m_panelHeld)
        DrawPicture(m_portraitFrames[kPanelPicture], p.pictureX, p.pictureY);
    m_panelOpen = 1;

    if (!g_nameEntryStarted) {
        FocusField(1, m_charNameField.data(), m_charNameField.size(), p.nameX, p.nameY, kNameLimit);
        g_requestPending = 0;
        g_requestDone = 0;
        g_nameEntryStarted = 1;
    }

    RunEditLine(m_pScreen, false);
    CopyEditToField();
    DrawFormText(p.nameX, p.nameY, m_charNameField.data());

    if (g_requestDone) {
        m_panelSubAction = 0;
        m_selectAction = 0;
        m_selectHeld = 0;
        m_panelOpen = 0;
        m_sceneState = kSceneChooser;
        g_selectedSlot = slot;
        g_loginRecord.SetText(AccountRecord::kSlotNames + AccountRecord::kSlotNameSize * static_cast<size_t>(slot - 1),
                              AccountRecord::kSlotNameSize, m_charNameField.data());
        m_newCharacterMade = 1;
        FreeScreen({&m_image2, &m_image3, &m_image4});
        for (CTileSet& image : m_portraitImages)
            image.FreeFrames();
        m_portraitFrames.fill(nullptr);
        g_nameEntryStarted = 0;
        m_editBuffer.fill(0);
        m_pFocusBuffer = nullptr;
        return;
    }

    if (m_panelSubAction == 1) {
        if (!g_requestPending && !CheckCharacterName())
            m_selectHeld = 0;
        m_panelSubAction = 0;
    } else if (m_panelSubAction == 2) {
        m_panelSubAction = 0;
        m_selectAction = 0;
        g_nameEntryStarted = 0;
        m_panelOpen = 0;
        m_editBuffer.fill(0);
        m_pFocusBuffer = nullptr;
        return;
    }

    const int x = g_mouseState.GetX(), y = g_mouseState.GetY();
    if (g_mouseState.IsMouseEvent(MOUSE_LDOWN) && !m_panelHeld) {
        if (HitTest(p.yes, x, y)) {
            DrawPicture(m_portraitFrames[kYesPicture], p.yes.left, p.yes.top);
            m_panelHeld = 1;
            m_selectHeld = 5;
        } else if (HitTest(p.no, x, y)) {
            DrawPicture(m_portraitFrames[kNoPicture], p.no.left, p.no.top);
            m_panelHeld = 2;
            m_selectHeld = 5;
        }
    }
    if (g_mouseState.IsMouseEvent(MOUSE_LUP) && m_panelHeld) {
        m_panelSubAction = m_panelHeld;
        m_panelHeld = 0;
        m_selectHeld = 0;
    }
}

void CIntroLayer::CharacterCreate()
{
    if (!m_selectHeld)
        CopyBackground();
    DrawSlots();

    if (m_selectAction >= 1 && m_selectAction <= 3) {
        PlaySlot(m_selectAction);
        if (m_sceneState != kSceneCharacter)
            return;
    } else if (m_selectAction >= 4 && m_selectAction <= 6) {
        NewCharacterPanel(m_selectAction - 3);
        if (m_sceneState != kSceneCharacter || m_panelOpen)
            return;  // the panel owns the mouse while it is open
    }

    const int x = g_mouseState.GetX(), y = g_mouseState.GetY();
    if (g_mouseState.IsMouseEvent(MOUSE_LDOWN) && !m_selectHeld) {
        m_selectHeld = 0;
        for (int slot = 1; slot <= AccountRecord::kSlots && !m_panelOpen; ++slot) {
            const SlotPlace& p = kSlots[slot - 1];
            const bool exists = g_loginRecord.SlotExists(slot);
            if (exists && HitTest(p.ok, x, y)) {
                CRleImage* pictures[3] = {m_pPicture4, m_pPicture2, m_pPicture3};
                DrawPicture(pictures[slot - 1], p.okPictureX, p.okPictureY);
                m_selectHeld = slot;
                break;
            }
            if (!exists && HitTest(p.portrait, x, y)) {
                m_selectHeld = slot + 3;
                break;
            }
        }
    }
    if (g_mouseState.IsMouseEvent(MOUSE_LUP) && !m_panelOpen) {
        m_selectAction = m_selectHeld;
        m_selectHeld = 0;
    }
}

int CIntroLayer::CheckCharacterName()
{
    if (const char* message = CharacterNameCheckMessage(m_charNameField.data())) {
        ShowMessage(message);
        return 0;
    }
    if (g_pView)
        g_pView->SendCharacterName(m_charNameField.data());
    g_requestPending = 1;
    return 1;
}

// ---- replies -----------------------------------------------------------------

void CIntroLayer::OnLoginReply(int result, int)
{
    const char* message = nullptr;
    switch (result) {
    case 1: message = "없는 사용자 ID입니다."; break;
    case 2: message = "Password가 틀립니다."; break;
    case 3: message = "접속 권한이 없습니다."; break;
    case 4: message = "사용정지 중입니다."; break;
    case 5:
    case 6:
        // The dispatcher has stored the account record.
        g_gmFlag = g_loginRecord.IsGm() ? 1 : 0;
        if (g_pView)
            g_pView->RegisterHotKeys();
        g_requestDone = 1;
        return;
    case 7: message = "이미 등록된 Zunlet ID입니다."; break;
    case 9: message = "이미 사용중인 Zunlet ID입니다."; break;
    case 10: message = "Zunlet ID와 Tolmar ID가 일치하지 않습니다."; break;
    default: message = "로그인 할 수 없습니다."; break;
    }
    ShowMessage(message);
    g_requestPending = 0;
}

void CIntroLayer::OnRegisterReply(int result)
{
    if (result == 0) {
        ShowMessage("등록하셨습니다");
        g_requestDone = 1;
        return;
    }
    g_requestPending = 0;
    switch (result) {
    case 1: ShowMessage("이미 등록된 ID입니다"); break;
    case 2: ShowMessage("이미 등록된 주민등록번호입니다"); break;
    case 3: ShowMessage("올바른 주민등록번호가 아닙니다"); break;
    case 4: ShowMessage("사용하실수 없는 ID입니다"); break;
    case 5: ShowMessage("ID에 특수 문자가 있습니다. 특수문자는 사용하실수 없습니다."); break;
    default: ShowMessage("등록할 수 없습니다"); break;
    }
}

void CIntroLayer::OnCharacterNameReply(int result)
{
    if (result == 0) {
        g_requestDone = 1;
        return;
    }
    g_requestPending = 0;
    switch (result) {
    case 1: ShowMessage("이미 등록된 캐릭터 이름 입니다"); break;
    case 2: ShowMessage("캐릭터 ID에 특수문자가 있습니다. 특수문자는 사용하실수 없습니다."); break;
    case 3: ShowMessage("사용하실수 없는 캐릭터 ID입니다."); break;
    default: ShowMessage("등록할 수 없습니다"); break;
    }
}
