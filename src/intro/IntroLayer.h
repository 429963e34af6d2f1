// The intro and login scenes: one layer that draws everything before the
// player enters the world and runs the scene state machine every frame.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/Blit.h"
#include "core/Layer.h"
#include "core/TileSet.h"
#include "intro/IntroItem.h"
#include "intro/Slide.h"

class CRleImage;

// A screen rectangle: left, top, right, bottom.
struct IntroRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// Scene states.
enum : int32_t {
    kSceneInWorld = 0,
    kSceneLoginSetup = 10,
    kSceneLogin = 11,
    kSceneChooser = 12,
    kSceneRegisterSetup = 13,
    kSceneRegister = 14,
    kSceneCharacterSetup = 15,
    kSceneCharacter = 16,
    kSceneTitleSetup = 17,
    kSceneTitle = 18,
    kSceneConnect = 1000,
    kSceneConnectOnly = 2000,
};

class CIntroLayer : public CLayer {
public:
    static constexpr int kRows = 600;
    static constexpr int kCols = 800;
    static constexpr size_t kScreenBytes = static_cast<size_t>(kRows) * kCols;
    // A wipe lasts this many frames and moves 32 pixels a frame.
    static constexpr int kWipeFrames = 51;
    static constexpr int kWipeSpeed = 32;
    static constexpr int kEditBufferSize = 256;
    // Every .tle picture starts with a header the tile set does not read.
    static constexpr long kTleHeader = 20;
    static constexpr int kItemCount = 6;

    // parent: the layer whose pixels are the screen (the display).
    explicit CIntroLayer(CLayer* parent);
    ~CIntroLayer() override;

    // Once a frame: the scene, then the cursor. Returns 1.
    int Draw() override;
    // The scene state driver. Returns 1.
    int Run();

    // All four bounds exclusive: a point on the border is outside.
    static bool HitTest(const IntroRect& rc, int x, int y);

    void ShowTitle() { m_sceneState = kSceneTitleSetup; }
    void ShowLogin() { m_sceneState = kSceneLoginSetup; }

    // 0 once the player is in the world.
    uint32_t GetSceneState() const { return static_cast<uint32_t>(m_sceneState); }
    bool IsFinished() const { return m_finished != 0; }
    void ClearFinished() { m_finished = 0; }

    // The focused field's edit buffer (255 usable bytes), position and
    // maximum length, for the input focus.
    char* GetInputBuffer() { return m_editBuffer.data(); }
    void GetInputPos(int& x, int& y) const { x = m_fieldX; y = m_fieldY; }
    int GetInputMaxLen() const { return m_fieldMax; }

    // The screens. Each set-up loads its pictures and palette and moves on
    // to its form on the next frame.
    void InitLoginScreen();
    void LoginForm();
    void InitRegisterScreen();
    void RegisterForm();
    void InitCharacterSelect();
    void CharacterCreate();
    // The class chooser.
    void SlideShow();
    // The title screen, reachable only through ShowTitle.
    void InitTitleScreen();
    void TitleMenu();
    // The connect screen and one step of the connect sequence; the screen
    // never reports completion (0).
    int ConnectScreen();
    void ConnectStep();

    // The forms' checks; 1 when the request was sent, 0 after a message.
    int CheckLogin();
    int CheckRegistration();
    int CheckCharacterName();
    // The log-in form's ID, always terminated.
    void GetLoginId(char* out, size_t size) const;

    // Field buffers of the forms (CP949): log-in 1..2, registration 1..9;
    // null for any other number.
    char* GetLoginField(int field);
    char* GetRegisterField(int field);
    char* GetNameField() { return m_charNameField.data(); }
    int GetSelectAction() const { return m_selectAction; }
    int GetPanelOpen() const { return m_panelOpen; }

    // The connect screen's line for a pass 0..3.
    static void FormatConnectText(int pass, char* out, size_t size);
    // The last line the connect screen drew.
    const char* GetConnectText() const { return m_connectText.data(); }
    // Replies to the forms' requests, from the receive dispatcher.
    void OnLoginReply(int result, int subCode);
    void OnRegisterReply(int result);
    void OnCharacterNameReply(int result);

    // The two wipes over the screen rows: 1 while running, 0 on the frame
    // that ends them.
    int WipeHide(uint8_t* screen);
    int WipeReveal(uint8_t* screen);

    // The rotation a click at (x, y) asks of the carousel (degrees).
    static int ChooserRotation(int x, int y);

    // Scene state (10 after construction) and the report that the game
    // frame consumes when it takes the layer off the display.
    int32_t m_sceneState = kSceneLoginSetup;
    uint32_t m_finished = 1;

    // What the tests and the forms look at.
    const std::vector<uint8_t>& Background() const { return m_background; }
    const std::array<int32_t, kRows>& RowOffsets() const { return m_rowOffsets; }
    int GetColourA() const { return m_colourA; }
    int GetColourB() const { return m_colourB; }
    int GetFrontItem() const { return m_frontItem; }
    int GetChooserSelection() const { return m_chooserSelection; }
    const CIntroItem& GetItem(int i) const { return m_items[static_cast<size_t>(i)]; }
    int GetLoginHeld() const { return m_loginHeld; }
    int GetLoginAction() const { return m_loginAction; }
    int GetNameScroll() const { return m_nameScroll; }

    static constexpr std::array<uint8_t, 8> kColourTable{15, 185, 225, 198, 164, 101, 136, 169};
    static constexpr std::array<IntroRect, 4> kColourButtons{{
        {640, 514, 682, 546}, {740, 514, 782, 546}, {640, 544, 682, 576}, {740, 544, 782, 576}}};

private:
    BlitTarget Screen() const { return ScreenTarget(m_pScreen); }
    // The screen set-up pattern: the background .tle drawn into the kept
    // background, then button pictures. A missing entry throws.
    void LoadBackground(const char* name);
    CRleImage* LoadPicture(CTileSet& image, const char* name);
    void FreeScreen(std::initializer_list<CTileSet*> images);
    void CopyBackground();
    void DrawPicture(CRleImage* picture, int x, int y);
    // Gives a form field the focus: the field and the edit buffer are
    // emptied and the edit line starts at the field's place.
    void FocusField(int field, char* buffer, size_t size, int x, int y, int max);
    // The edit line's text, converted to CP949, into the focused field.
    void CopyEditToField();
    void FocusLoginField(int field);
    void FocusRegisterField(int field);
    void DrawFormText(int x, int y, const char* text);
    void DrawStars(int x, int y, const char* text);
    // The character screen's parts.
    void DrawSlots();
    void PlaySlot(int slot);
    void NewCharacterPanel(int slot);
    // The connect steps that do more than wait.
    void ConnectStep5();
    void ConnectStep7();
    void ConnectStep8();
    void EnterWorld();
    // Runs a screen set-up; an entry missing from the archive is reported
    // and ends the game instead of being retried every frame.
    template <class Fn>
    bool RunSetUp(Fn&& fn);
    void DrawCursor();
    // The class chooser's first-time loading and its arrow buttons.
    void LoadChooser();
    void DrawChooserButtons(int pressed);

    CLayer* m_pParent;
    uint8_t* m_pScreen = nullptr;

    CTileSet m_image1, m_image2, m_image3, m_image4;
    std::array<CTileSet, 9> m_portraitImages;
    CRleImage* m_pConnectFrame = nullptr;
    // Frame 0 of images 2, 3 and 4 as the current screen loaded them.
    CRleImage* m_pPicture2 = nullptr;
    CRleImage* m_pPicture3 = nullptr;
    CRleImage* m_pPicture4 = nullptr;
    std::array<CRleImage*, 9> m_portraitFrames{};

    CSlide m_nameSlide;
    CSlide m_buttonSlide;
    std::array<CIntroItem, kItemCount> m_items;
    // Drawing order of the items, farthest first.
    std::array<int, kItemCount> m_itemOrder{0, 1, 2, 3, 4, 5};
    int32_t m_nameScroll = 0;
    int32_t m_nameScrolling = 1;
    int32_t m_frontItem = 0;

    int32_t m_colourA = 0;
    int32_t m_colourB = 0;
    int32_t m_pressedColourButton = -1;

    std::vector<uint8_t> m_background;

    std::array<int32_t, 10> m_titleFields{0, 0, 0, 400, 0, 600, 0, 0, 0, 0};
    int32_t m_titleStep = 40;
    int32_t m_wipeRunning = 0;
    int32_t m_wipeFinished = 0;

    int32_t m_loginHeld = 0;
    int32_t m_registerHeld = 0;
    int32_t m_selectHeld = 0;
    int32_t m_panelHeld = 0;
    int32_t m_loginAction = 0;
    int32_t m_registerAction = 0;
    int32_t m_selectAction = 0;
    int32_t m_panelAction = 0;
    int32_t m_panelOpen = 0;

    std::array<int32_t, kRows> m_rowOffsets{};
    int32_t m_newCharacterMade = 0;

    std::array<char, kEditBufferSize> m_editBuffer{};
    int32_t m_chooserRotation = 0;
    int32_t m_chooserSelection = 0;
    int32_t m_fieldX = 0;
    int32_t m_fieldY = 0;
    int32_t m_fieldMax = 0;

    // The log-in form's fields (CP949).
    std::array<char, 12> m_loginId{};
    std::array<char, 10> m_loginPassword{};
    // The registration form's fields, each held to its limit.
    std::array<std::array<char, 64>, 9> m_registerFields{};
    // The new character's name.
    std::array<char, 12> m_charNameField{};
    // The field the edit line copies into, and its size.
    char* m_pFocusBuffer = nullptr;
    size_t m_focusSize = 0;
    int32_t m_panelSubAction = 0;
    // The connect screen's line, and when step 7 asks for the jail and
    // wanted times again.
    std::array<char, 96> m_connectText{};
    uint32_t m_jailRequestAt = 0;
    bool m_jailRequested = false;

    bool m_setUpFailed = false;
};

// The scene's process-wide state.
extern int32_t g_focusedField;       // 1-based
extern int32_t g_selectedSlot;       // 1..3
extern std::array<int32_t, 3> g_slotExists;
extern int32_t g_chooserLoaded;      // the figures are loaded once
extern int32_t g_chooserFadedIn;     // the chooser's fade-in ran once
extern int32_t g_wipeHideFrame;
extern int32_t g_wipeRevealFrame;
extern int32_t g_requestPending;     // a form's request awaits its reply
extern int32_t g_requestDone;        // the reply accepted it
// The frame of the cursor tile set drawn at the mouse position.
extern int32_t g_cursorFrame;
extern int32_t g_nameEntryStarted;   // the new-character panel owns the edit line
// The chosen character's name.
extern std::array<char, 12> g_charName;
// The connect sequence: the next step and the connect screen's bar.
extern int32_t g_connectStep;
extern int32_t g_connectProgress;
extern int32_t g_connectFrames;
extern int32_t g_connectPass;
// How long step 7 waits before asking again for the jail and wanted times.
constexpr uint32_t kJailRequestRepeatMs = 5000;

// The scene globals back to their start state (tests).
void ResetIntroState();
