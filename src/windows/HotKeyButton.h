// A push button with its own place that posts a click command (or runs its
// activation when it has none), can be dragged with both buttons held (it
// stays wholly on the screen; the release that ends a drag is no click), and
// keeps the ids of the buttons under the held mouse buttons: the battle
// command bar's buttons and the "To field" button.
#pragma once
#include "ui/ButtonWidget.h"

// -1: none.
extern int32_t g_activeBattleButton;
extern int32_t g_leftHeldBattleButton;
extern int32_t g_rightHeldBattleButton;
extern int32_t g_battleButtonDragging;
void ResetHotKeyButtons();

class CHotKeyButton : public CButtonWidget {
public:
    CHotKeyButton(int32_t id, const char* slrName, int32_t openX, int32_t openY, int32_t closedX, int32_t closedY,
                  int32_t clickCmd, int32_t activateCmd1 = 0, int32_t activateCmd2 = 0, int32_t deactivateCmd = 0);

    int OnLButtonDown(int32_t x, int32_t y) override;
    int OnRButtonDown(int32_t x, int32_t y) override;
    int OnMouseMove(int32_t x, int32_t y) override;
    int OnLButtonUp(int32_t x, int32_t y) override;
    int OnRButtonUp(int32_t x, int32_t y) override;
    // Posts both activation commands, or the deactivation when this button
    // is the active one.
    void Activate() override;

private:
    // The cursor's offset from the button at a press, kept while dragging.
    void Grab(int32_t x, int32_t y);
    // The battle bar's tooltips follow the current abilities.
    static void ReloadBar();

    int32_t m_activateCmd1;
    int32_t m_activateCmd2;
    int32_t m_deactivateCmd;
    int32_t m_clickCmd;
    int32_t m_grabX = 0;
    int32_t m_grabY = 0;
};
