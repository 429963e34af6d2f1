#include "windows/HotKeyButton.h"

#include <algorithm>

#include "app/CommandRing.h"
#include "core/Blit.h"
#include "rules/AbilitySet.h"
#include "ui/MyCharacterView.h"
#include "windows/DaradirUzedo.h"

int32_t g_activeBattleButton = -1;
int32_t g_leftHeldBattleButton = -1;
int32_t g_rightHeldBattleButton = -1;
int32_t g_battleButtonDragging = 0;

namespace {

constexpr int32_t kBattleBar = 42;
constexpr int32_t kItemButton = 45;

void Post(int32_t command)
{
    g_commandRing.Push(static_cast<uint32_t>(command));
}

}  // namespace

void ResetHotKeyButtons()
{
    g_activeBattleButton = g_leftHeldBattleButton = g_rightHeldBattleButton = -1;
    g_battleButtonDragging = 0;
}

CHotKeyButton::CHotKeyButton(int32_t id, const char* slrName, int32_t openX, int32_t openY, int32_t closedX,
                             int32_t closedY, int32_t clickCmd, int32_t activateCmd1, int32_t activateCmd2,
                             int32_t deactivateCmd)
    : CButtonWidget(id, slrName, openX, openY, closedX, closedY, 0, kRepeatFrames),
      m_activateCmd1(activateCmd1),
      m_activateCmd2(activateCmd2),
      m_deactivateCmd(deactivateCmd),
      m_clickCmd(clickCmd)
{
}

void CHotKeyButton::Grab(int32_t x, int32_t y)
{
    m_grabX = x - m_pos.x;
    m_grabY = y - m_pos.y;
}

void CHotKeyButton::ReloadBar()
{
    if (CDaradirUzedo* ui = g_layerHolder.GetLayer())
        if (CWidget* bar = ui->GetRootContainer()->FindChild(kBattleBar))
            bar->ReloadData();
}

int CHotKeyButton::OnLButtonDown(int32_t x, int32_t y)
{
    Grab(x, y);
    CButtonWidget::OnLButtonDown(x, y);
    if (!Hit(x, y))
        return 0;
    g_leftHeldBattleButton = m_id;
    return 1;
}

int CHotKeyButton::OnRButtonDown(int32_t x, int32_t y)
{
    Grab(x, y);
    if (!Hit(x, y))
        return 0;
    g_rightHeldBattleButton = m_id;
    const int category = m_id == 43 ? 1 : m_id == 44 ? 2 : m_id == 47 ? 6 : 0;
    if (category)
        if (CAbilitySet* set = GetMyAbilitySet())
            set->SelectNext(category);
    ReloadBar();
    return 1;
}

int CHotKeyButton::OnMouseMove(int32_t x, int32_t y)
{
    const int64_t dx = int64_t{x} - m_pos.x, dy = int64_t{y} - m_pos.y;
    if (dx > 0 && dy > 0 && dx < m_sprite.GetWidth() && dy < m_sprite.GetHeight())
        ReloadBar();
    if (g_leftHeldBattleButton == m_id && g_rightHeldBattleButton == m_id) {
        // The whole button stays on the screen.
        const int64_t right = std::max(0, kScreenWidth - m_sprite.GetWidth());
        const int64_t bottom = std::max(0, kScreenHeight - m_sprite.GetHeight());
        m_pos = CPoint{static_cast<int32_t>(std::clamp<int64_t>(int64_t{x} - m_grabX, 0, right)),
                       static_cast<int32_t>(std::clamp<int64_t>(int64_t{y} - m_grabY, 0, bottom))};
        m_openPos = m_pos;
        m_closedPos = CPoint{m_pos.x - 800, m_pos.y};
        g_battleButtonDragging = 1;
    }
    return CButtonWidget::OnMouseMove(x, y);
}

int CHotKeyButton::OnLButtonUp(int32_t x, int32_t y)
{
    // The end of a drag is no click.
    if (g_battleButtonDragging)
        m_pressed = 0;
    ButtonRelease(x, y);
    if (!Hit(x, y))
        return 0;
    if (!g_battleButtonDragging) {
        if (m_clickCmd)
            Post(m_clickCmd);
        else
            Activate();
        if (m_id == kItemButton)
            Post(109);
    }
    g_leftHeldBattleButton = -1;
    if (g_rightHeldBattleButton == -1)
        g_battleButtonDragging = 0;
    return 1;
}

int CHotKeyButton::OnRButtonUp(int32_t x, int32_t y)
{
    if (!Hit(x, y))
        return 0;
    if (m_id == kItemButton)
        Post(108);
    g_rightHeldBattleButton = -1;
    if (g_leftHeldBattleButton == -1)
        g_battleButtonDragging = 0;
    return 1;
}

void CHotKeyButton::Activate()
{
    if (g_activeBattleButton != m_id) {
        Post(m_activateCmd1);
        Post(m_activateCmd2);
        g_activeBattleButton = m_id;
    } else {
        Post(m_deactivateCmd);
        g_activeBattleButton = -1;
    }
}
