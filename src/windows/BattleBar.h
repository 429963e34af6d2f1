// The battle command bar: a column of five buttons on the left edge that
// give the battle orders (attack, defence, support, reaction, item). A right
// click cycles the ability the attack, defence and support buttons stand
// for; their tooltips name it.
#pragma once
#include "ui/WidgetContainer.h"

class CHotKeyButton;

class CBattleBar : public CWidgetContainer {
public:
    static constexpr int32_t kId = 42;
    enum : int32_t { kItem = 45, kReaction = 46, kAttack = 43, kDefence = 44, kSupport = 47 };

    CBattleBar();

    // Presses and releases go to every button, topmost first, not only to
    // the first that takes them.
    int OnLButtonDown(int32_t x, int32_t y) override;
    int OnRButtonDown(int32_t x, int32_t y) override;
    int OnRButtonUp(int32_t x, int32_t y) override;
    int OnLButtonUp(int32_t x, int32_t y) override;
    // The tooltips of the attack, defence and support buttons: the current
    // ability of categories 1, 2 and 6, or the button's own name.
    void ReloadData() override;

private:
    template <class Handler>
    int RouteAll(Handler handler)
    {
        int taken = 0;
        for (int i = m_childCount - 1; i >= 0; --i)
            taken |= handler(m_children[static_cast<size_t>(i)]) ? 1 : 0;
        return taken;
    }

    CHotKeyButton* m_attackButton;
    CHotKeyButton* m_defenceButton;
    CHotKeyButton* m_supportButton;
};
