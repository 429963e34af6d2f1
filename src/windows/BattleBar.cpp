#include "windows/BattleBar.h"

#include <utility>

#include "rules/AbilitySet.h"
#include "ui/MyCharacterView.h"
#include "windows/HotKeyButton.h"

namespace {

struct SButton {
    int32_t id;
    const char* sprite;
    int32_t y;
    int32_t clickCmd, activateCmd2;
    const char* korean;
    const char* english;
};

// In the order they are added; x 50 open, -750 closed. Every button's
// activation posts 44 first and its deactivation 5.
constexpr SButton kButtons[] = {
    {CBattleBar::kItem, "data\\ITBtn.slr", 150, 41, 13, "HP/MP", "Item Alt-I"},
    {CBattleBar::kReaction, "data\\RABtn.slr", 200, 42, 14, "반응 Alt-R", "Reaction Alt-R"},
    {CBattleBar::kAttack, "data\\ATBtn.slr", 50, 39, 13, "공격 Alt-A", "Attack Alt-A"},
    {CBattleBar::kDefence, "data\\DFBtn.slr", 100, 40, 13, "방어 Alt-D", "Defence Alt-D"},
    {CBattleBar::kSupport, "data\\SABtn.slr", 250, 43, 15, "보조 Alt-S", "Support Alt-S"},
};
constexpr int32_t kOpenX = 50, kClosedX = -750;
constexpr int32_t kActivateCmd1 = 44, kDeactivateCmd = 5;

const SButton& ButtonRow(int32_t id)
{
    for (const SButton& b : kButtons)
        if (b.id == id)
            return b;
    return kButtons[0];
}

}  // namespace

CBattleBar::CBattleBar() : CWidgetContainer(kId, nullptr, 0, 0, 0, 0)
{
    for (const SButton& b : kButtons) {
        auto* button = new CHotKeyButton(b.id, b.sprite, kOpenX, b.y, kClosedX, b.y, b.clickCmd, kActivateCmd1,
                                         b.activateCmd2, kDeactivateCmd);
        button->SetTooltip(b.korean, b.english);
        AddChild(button);
    }
    m_attackButton = static_cast<CHotKeyButton*>(FindChild(kAttack));
    m_defenceButton = static_cast<CHotKeyButton*>(FindChild(kDefence));
    m_supportButton = static_cast<CHotKeyButton*>(FindChild(kSupport));
}

int CBattleBar::OnLButtonDown(int32_t x, int32_t y)
{
    return RouteAll([=](CWidget* w) { return w->OnLButtonDown(x, y); });
}

int CBattleBar::OnRButtonDown(int32_t x, int32_t y)
{
    return RouteAll([=](CWidget* w) { return w->OnRButtonDown(x, y); });
}

int CBattleBar::OnRButtonUp(int32_t x, int32_t y)
{
    return RouteAll([=](CWidget* w) { return w->OnRButtonUp(x, y); });
}

int CBattleBar::OnLButtonUp(int32_t x, int32_t y)
{
    return RouteAll([=](CWidget* w) { return w->OnLButtonUp(x, y); });
}

void CBattleBar::ReloadData()
{
    const CAbilitySet* set = GetMyAbilitySet();
    const std::pair<CHotKeyButton*, int> named[] = {{m_attackButton, 1}, {m_defenceButton, 2}, {m_supportButton, 6}};
    for (const auto& [button, category] : named) {
        if (!button)
            continue;
        // The names are the table's CP949 texts; the tooltip converts them.
        if (const AbilityRow* row = set ? set->GetCurrentRow(category) : nullptr) {
            button->SetTooltip(row->korean, row->english);
        } else {
            const SButton& b = ButtonRow(button->GetId());
            button->SetTooltip(b.korean, b.english);
        }
    }
}
