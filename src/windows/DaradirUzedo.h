// The in-game UI layer: it owns the root container of every in-game window,
// builds the window directory on its first frame, advances and draws the
// windows on a clock of 60 ticks a second, turns hot keys into command ids
// and offers each latched mouse event to the windows before the field.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/Layer.h"
#include "ui/WidgetContainer.h"

class CDisplay;

// ---- the UI clock ---------------------------------------------------------------
// Ticks of 1/60 s from last to now; the clock wraps, so the gap is the
// unsigned difference, and the product is taken in 64 bits.
uint32_t UiTicksBetween(uint32_t last, uint32_t now);
// last moved on by whole ticks; what does not make a tick is carried.
uint32_t UiTimeAfterTicks(uint32_t last, uint32_t ticks);

extern uint32_t g_uiLastTime;
// A left press went to the windows and its release has not been handled.
extern uint32_t g_uiLeftHeld;
extern uint32_t g_uiWindowsRefreshed;
// Frames a submitted chat line still blocks the next.
extern int16_t g_chatSendDelay;
// The battle result raised the free parameter points.
extern uint8_t g_remainRaised;
extern uint8_t g_abilityRankChanged;
// The windows exist.
extern uint32_t g_uiCreated;
// The game frame the UI layer's frame last ran in.
extern uint32_t g_uiFrameRan;

// Whoever owns the route trail installs how it is drawn and stopped; without
// one nothing is drawn.
struct SRouteTrailHook {
    void (*draw)(uint8_t* surface) = nullptr;
    void (*stop)() = nullptr;
};
extern SRouteTrailHook g_routeTrailHook;
// The field's drop of the carried item at a screen point (a release no
// window took); null: the field takes nothing.
extern void (*g_dropMouseItem)(int x, int y);

// The UI layer's globals as the program starts them (between tests).
void ResetUiLayerGlobals();

class CDaradirUzedo : public CLayer {
public:
    static constexpr int kFormBufferSize = 10;

    explicit CDaradirUzedo(CDisplay* display);
    ~CDaradirUzedo() override;
    // The layer's frame.
    int Draw() override { return OnFrame(); }
    int OnFrame();
    void CreateWindows();

    // The root of every in-game window (widget id 1).
    CWidgetContainer* GetRootContainer() { return &m_root; }

    // The ranking requests: the first page, a page from a first rank
    // (limited to 0..94), a name, a typed rank (1..100).
    void SendRankingRequest();
    void SendRankingPage(int64_t first);
    void SendRankingByName(const char* name);
    void SendRankingByRank(const char* text);
    // The ranking reply: byte 0 ('e' = not in the ranking, else the first
    // rank of the page) and 90 bytes of entries.
    void OnRankingReply(const uint8_t* buf);
    // The password change went through: message box 93 comes up, the form's
    // fields and buffers are emptied.
    void ResetPasswordForm();
    // Toggle of the child with that id, when there is one.
    void ToggleWindow(int id);
    // True while the child window with that id is opening or open.
    bool IsWindowOpen(int id) const;
    // Every window shows the game data again (HP, MP, record, clock).
    void RefreshWindows();
    // Offers this frame's mouse bits to the windows, topmost first; what no
    // window takes stays latched for the field. Returns 1.
    int DispatchMouseButtons();
    // Pops and executes every pending command id of g_commandRing.
    void DispatchCommands();
    // What the NPC or structure with that talk id offers: a shop, the bank,
    // the NPC menu or its script; other ids do nothing.
    void TalkToNpc(int32_t id);
    // Closes each of the region maps 71, 72 and 73 that is open or opening.
    void CloseRegionMaps();
    // Removes the id from the player's item list with the inventory window
    // closed around it (opened again when it was open).
    void RemoveInventoryItem(int itemId);
    // The hot-key list, else the single-key table. Returns 1.
    int HandleHotKeys();
    // A received chat record offered to the profile, group and big chat
    // windows in turn; the last answer (nonzero: taken).
    int RouteChatMessage(const uint8_t* record, size_t size);
    // The same for a whole record in memory (its length from its header).
    int RouteChatMessage(const char* message);
    // Esc: the topmost open window closes; its id, or 0.
    int32_t EscapeTopWindow();

    bool WindowsCreated() const { return m_windowsCreated != 0; }

    uint8_t m_levelTwoHint = 0;
    uint8_t m_levelThreeHint = 0;
    // The current board or mail list window and its reader; -1 none.
    int32_t m_listWindowId = -1;
    int32_t m_readerWindowId = -1;
    std::array<char, 1024> m_talkText{};
    int32_t m_talkTopLine = 0;
    int32_t m_talkLineCount = 0;
    // Stage changes asked for by windows (map 1, map 4, map 5); the
    // creature's update acts on one and clears it.
    std::array<uint8_t, 3> m_travelRequest{};
    uint8_t m_gmChatIdle = 1;
    // The chat overlay over the field while the chat window is closed: its
    // frame counter, the lines that have faded (0..6) and the lines it holds.
    int32_t m_chatOverlayTimer = 0;
    int16_t m_chatOverlayExpired = 0;
    int16_t m_chatOverlayShown = 0;
    int32_t m_transferAmount = 0;
    int32_t m_hpQuickItem = 0;
    int32_t m_mpQuickItem = 0;
    int32_t m_pendingHairColor = -1;
    int32_t m_itemArrivedFlag = 0;
    // The password-change and character-deletion forms' texts.
    std::array<char, kFormBufferSize> m_pwAccount{};
    std::array<char, kFormBufferSize> m_pwNumber1{};
    std::array<char, kFormBufferSize> m_pwNumber2{};
    std::array<char, kFormBufferSize> m_pwNew{};
    std::array<char, kFormBufferSize> m_pwConfirm{};
    std::array<char, kFormBufferSize> m_delAccount{};
    std::array<char, kFormBufferSize> m_delNumber1{};
    std::array<char, kFormBufferSize> m_delNumber2{};
    // The deletion form passed its checks; the confirmation may send.
    bool m_deletionChecked = false;

private:
    CWidget* Child(int32_t id) { return m_root.FindChild(id); }
    void ApplyRowExtras(CWidget* w);
    void UpdateSpeedField();
    void ShowHints();
    void RunFunctionKey(uint32_t key);

    CDisplay* m_pTarget;
    CWidgetContainer m_root{1};
    uint8_t m_windowsCreated = 0;
};

// Holds the one UI layer.
class CLayerHolder {
public:
    CDaradirUzedo* GetLayer() const { return m_pLayer; }
    void SetLayer(CDaradirUzedo* layer) { m_pLayer = layer; }

private:
    CDaradirUzedo* m_pLayer = nullptr;
};

extern CLayerHolder g_layerHolder;

// The game menu's music volume slider, 50 at start.
int GetMusicVolume();
