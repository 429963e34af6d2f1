// The view that owns the game: the display and the layers, the input that
// the layers poll, the game frame and the connect step.
#pragma once
#include <bitset>
#include <cstdint>
#include <vector>

#include "app/WndTimer.h"
#include "platform/Input.h"
#include "platform/Loop.h"
#include "social/MailWriteDlg.h"

class CDib;
class CDisplay;
class CIntroLayer;
class CBGLayer;
class CObjLayer;
class CEffectManager;
class CGameLayer;
class CMySocket;

constexpr size_t kLoadingPictureSize = 800 * 600;

class CQuillonView : public plat::IWindowHandler, public plat::IMessageTarget {
public:
    CQuillonView();
    ~CQuillonView() override;

    void OnInitialUpdate();

    // The frame state machine; one pass per idle call while running.
    void GameFrame();
    // First-frame construction of everything the game draws with.
    void InitGame();
    // Draws the loading screen at step 0, 10, ..., 70, 101 or 102.
    void ShowLoading(int percent);
    void LoadPalette();
    // The hot-key list, Ctrl+B, N, U, M and R only for a game master. Built
    // with the palette and again once the log-in has told who is one.
    void RegisterHotKeys();
    // The 800 x 600 picture of the loading screen, "data\loading.bin".
    void ReadLoadingPicture();
    // Runs while the view is not running: connects once, then waits for
    // the server to accept the client.
    void ConnectStep();
    int ConnectDefaultServer();
    int ConnectPortalServer(const char* host, int port);
    void CreateMainSocket();
    // Takes at most one received command and hands it to its owner.
    void ReceiveDispatch();
    void OnPasswordChangeReply(uint8_t result);
    void OnCharacterResetReply(uint8_t result);
    // The log-in forms' packets: 'x' [ID 12][password 10], 'y' [account
    // record 341], '}' [name 12]. The result of SendCommand; 0 without the
    // main socket.
    int SendLogin(const char* id, const char* password);
    int SendRegistration(const uint8_t* record);
    int SendCharacterName(const char* name);
    // The keep-alive timer runs exactly while the player is in the game.
    void UpdateKeepAliveTimer();
    void StartKeepAliveTimer();
    void StopKeepAliveTimer();
    bool KeepAliveRunning() const { return m_keepAliveTimer.IsRunning(); }
    // TRUE: keep the palette the game shows (there is no system palette to
    // read back here); FALSE: load "Tolmar.PAL".
    void RestorePalette(bool fromSystem);
    // Between the field and the colony mode: swaps the object layer and the
    // game layer, the windows, the music and tells the server.
    void ToggleColonyMode();

    void OnDestroy();
    void ReleaseLayers();

    // Window messages.
    void OnKeyDown(uint32_t nChar, uint32_t nRepCnt, uint32_t nFlags) override;
    void OnKeyUp(uint32_t nChar, uint32_t nRepCnt, uint32_t nFlags) override;
    void OnChar(uint32_t nChar, uint32_t nRepCnt, uint32_t nFlags) override;
    void OnLButtonDown(uint32_t nFlags, int x, int y) override;
    void OnLButtonUp(uint32_t nFlags, int x, int y) override;
    void OnLButtonDblClk(uint32_t nFlags, int x, int y) override;
    void OnRButtonDown(uint32_t nFlags, int x, int y) override;
    void OnRButtonUp(uint32_t nFlags, int x, int y) override;
    void OnRButtonDblClk(uint32_t nFlags, int x, int y) override;
    void OnMouseMove(uint32_t nFlags, int x, int y) override;
    void OnCommand(uint32_t id) override;
    void OnImeNotify(uint32_t command) override;
    void OnMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) override;
    // Posted by the writing dialogs when they finish: 0 the second, 1 the first.
    void OnDialogClosed(uintptr_t which);
    void OnAltA();
    void OnAltD();
    void OnAltI();
    void OnAltR();
    void OnAltS();

    // Whether the last idle pass ran a frame (the loop waits when not).
    bool FrameRanLastPass() const { return m_frameRan; }
    // The loading steps shown so far (for tests and the trace).
    const std::vector<int>& LoadingSteps() const { return m_loadingSteps; }

    CDisplay* m_pDisplay = nullptr;
    // "data\1080.bmp", read when the view is made; nothing draws it.
    CDib* m_pPicture = nullptr;
    CIntroLayer* m_pIntroLayer = nullptr;
    CBGLayer* m_pBGLayer = nullptr;
    CObjLayer* m_pObjLayer = nullptr;
    CEffectManager* m_pEffectManager = nullptr;
    CGameLayer* m_pGameLayer = nullptr;
    // The board and mail connections (GetBoardSocket, GetMailSocket).
    CMySocket* m_pBoardSocket = nullptr;
    CMySocket* m_pMailSocket = nullptr;
    // The dialog-kind value: 0 the Korean writing dialogs, 1 the English.
    uint32_t m_nonKorean = 0;
    // The writing dialogs: the first writes mail, the second posts.
    CMailWriteDlg m_mailWriteDlg{this};
    CMailWriteDlg m_postWriteDlg{this};
    // 1 while a writing dialog is up.
    uint32_t m_dialogOpen = 0;
    uint32_t m_bRunning = 0;
    uint32_t m_keepAliveCount = 0;

private:
    void OnMouse(uint32_t event, int x, int y);
    // An Alt accelerator: Alt and the key count as pressed until a frame
    // has run.
    void FakeAltKey(uint32_t scan);

    CWndTimer m_keepAliveTimer;

    bool m_initialUpdateDone = false;
    bool m_frameRan = false;
    // The keys the accelerators pressed since the last frame.
    std::bitset<256> m_fakedKeys;
    // Hand-off path: when the wait for the two-byte reply gives up.
    uint32_t m_loginReplyDeadline = 0;
    bool m_waitingLoginReply = false;
    std::vector<int> m_loadingSteps;
    std::vector<uint8_t> m_loadingPicture = std::vector<uint8_t>(kLoadingPictureSize, 0);
};

extern CQuillonView* g_pView;
// 1 while the colony mode is on.
extern uint32_t g_colonyMode;

// The keep-alive timer's callback: one call a second; command 54 every 1800.
void KeepAliveTimerProc(uint32_t id);
constexpr uint32_t kKeepAliveSeconds = 1800;

// The music of a stage number (0..9); "Ext.mid" for any other.
const char* StageMusic(int stage);

// The loading screen's line of text, drawn into the 800 x 600 frame bits.
void DrawLoadingText(uint8_t* bits, const char* text);

// Reads the launcher reply "~0"/"~1" straight from the main socket: 0
// accepted, 1 the ID is in use elsewhere, 2 no decision yet, -1 no view or
// socket, 3 a complete reply that is neither (our addition: a failure).
int ReadLoginReply();

// The hand-off reply wait gives up after this long (our choice: the
// original waited for ever).
constexpr uint32_t kLoginReplyTimeoutMs = 30000;
