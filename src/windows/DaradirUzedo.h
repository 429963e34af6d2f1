// The in-game UI layer that owns every in-game window. Minimal form: a
// layer with no windows yet.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/Layer.h"
#include "ui/WidgetContainer.h"

class CDisplay;

class CDaradirUzedo : public CLayer {
public:
    explicit CDaradirUzedo(CDisplay* display) : m_pDisplay(display) {}
    int Draw() override { return 1; }

    // The root of every in-game window (widget id 1).
    CWidgetContainer* GetRootContainer() { return &m_root; }

    // The ranking reply: byte 0 ('e' = name not found) and 90 more bytes.
    void OnRankingReply(const uint8_t* buf)
    {
        for (size_t i = 0; i < m_lastRanking.size(); ++i)
            m_lastRanking[i] = buf[i];
    }
    std::array<uint8_t, 91> m_lastRanking{};
    // The password change went through: the form's window and its inputs
    // are reset.
    void ResetPasswordForm() {}
    // Opens a closed window or closes an open one.
    void ToggleWindow(int /*id*/) {}
    // True while the child window with that id is opening or open.
    bool IsWindowOpen(int id) const;
    // Every window shows the game data again (HP, MP, record, clock).
    void RefreshWindows() {}
    // Offers this frame's mouse bits to the windows, topmost first.
    void DispatchMouseButtons() {}
    // Pops and executes every pending command id of g_commandRing
    // (DispatchCommands.cpp).
    void DispatchCommands();
    // Closes each of the region maps 71, 72 and 73 that is open or opening.
    void CloseRegionMaps();
    // Removes the id from the player's item list with the inventory window
    // closed around it (opened again when it was open).
    void RemoveInventoryItem(int itemId);
    // Polls the hot keys once per frame.
    void HandleHotKeys() {}
    // Offers a received chat line to the profile, group and big chat
    // windows in turn; 1 when one took it.
    int RouteChatMessage(const char* /*message*/) { return 0; }

    // Stage changes asked for by windows (map 1, map 4, map 5); the
    // creature's update acts on one and clears it.
    std::array<uint8_t, 3> m_travelRequest{};

    // ---- the command dispatcher's state -----------------------------------
    // The current board or mail list window (52 or 54) and its reader (55
    // or 56); -1 none.
    int32_t m_listWindowId = -1;
    int32_t m_readerWindowId = -1;
    // The NPC talk text's first shown line and its line count less one.
    int32_t m_talkTopLine = 0;
    int32_t m_talkLineCount = 0;
    // The game master's Enter toggle.
    uint8_t m_gmChatIdle = 1;
    int32_t m_transferAmount = 0;
    // The items chosen for the quick restores; 0 none.
    int32_t m_hpQuickItem = 0;
    int32_t m_mpQuickItem = 0;
    // The colour picked in the hair-colour window; -1 none.
    int32_t m_pendingHairColor = -1;
    // The password-change and deletion forms' texts, at most 9 bytes each.
    std::array<char, 10> m_pwAccount{}, m_pwNumber1{}, m_pwNumber2{}, m_pwNew{}, m_pwConfirm{};
    std::array<char, 10> m_delAccount{}, m_delNumber1{}, m_delNumber2{};
    // The deletion form passed its checks; the confirmation may send.
    bool m_deletionChecked = false;

    // The chat overlay over the field while the chat window is closed: its
    // frame counter, the lines that have faded (0..6) and the lines it holds.
    int32_t m_chatOverlayTimer = 0;
    int16_t m_chatOverlayExpired = 0;
    int16_t m_chatOverlayShown = 0;

private:
    [[maybe_unused]] CDisplay* m_pDisplay;
    CWidgetContainer m_root{1};
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
