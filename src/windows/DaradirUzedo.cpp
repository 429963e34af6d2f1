#include "windows/DaradirUzedo.h"

#include <cstdio>
#include <cstring>

#include "app/CommandRing.h"
#include "app/FrameClock.h"
#include "app/MouseState.h"
#include "app/QuillonView.h"
#include "app/StringTable.h"
#include "colony/SimColony.h"
#include "colony/SimPanelList.h"
#include "core/Blit.h"
#include "core/Display.h"
#include "core/HotKey.h"
#include "core/TextLayer.h"
#include "effects/RouteTrail.h"
#include "platform/Debug.h"
#include "rules/CalcData.h"
#include "script/ScriptManager.h"
#include "social/Ranking.h"
#include "ui/AbilityList.h"
#include "ui/FieldView.h"
#include "ui/InputFocus.h"
#include "ui/MessageRing.h"
#include "world/Character.h"
#include "world/ObjLayer.h"
#include "windows/MouseCursor.h"
#include "windows/PlayerInfo.h"
#include "windows/PointerAttachment.h"
#include "windows/ProfileRecord.h"
#include "windows/SystemWindows.h"
#include "windows/WindowTable.h"

CLayerHolder g_layerHolder;

uint32_t g_uiLastTime;
uint32_t g_uiLeftHeld;
uint32_t g_uiWindowsRefreshed;
int16_t g_chatSendDelay;
uint8_t g_remainRaised;
uint8_t g_abilityRankChanged;
uint32_t g_uiCreated;
uint32_t g_uiFrameRan;
namespace {
// The one route trail of the effects, drawn and stopped by the frame.
void DrawRouteTrail(uint8_t* surface) { g_routeTrail.Draw(surface); }
void StopRouteTrail() { g_routeTrail.Stop(); }
}  // namespace
SRouteTrailHook g_routeTrailHook{DrawRouteTrail, StopRouteTrail};
void (*g_dropMouseItem)(int x, int y);

namespace {

constexpr int32_t kChatWindow = 2;
constexpr int32_t kBigChat = 3;
constexpr int32_t kMainTabs = 4;
constexpr int32_t kAbilityTabs = 7;
constexpr int32_t kGroupWindow = 12;
constexpr int32_t kProfileWindow = 26;
constexpr int32_t kParamPanel = 59;
constexpr int32_t kBaseFacPanel = 61;
constexpr int32_t kPasswordWindow = 77;
constexpr int32_t kPasswordDone = 93;
// The windows that stop the route trail while one is open.
constexpr int32_t kTrailWindows[] = {3, 12, 26, 52, 54, 58};

// Scan codes of the single-key table.
enum : uint32_t { kEsc = 1, kEnter = 28, kF1 = 59, kF2 = 60, kF3 = 61, kF4 = 62, kF6 = 64, kF7 = 65, kF8 = 66, kF9 = 67 };

// Character field 24: the walking speed word; item 88 in equipment slot 5
// raises it by one, to at most 12.
constexpr int kSpeedField = 24;
constexpr int kSpeedItemSlot = 5;
constexpr int kSpeedItem = 88;
constexpr uint32_t kSpeedCap = 12;

void Push(uint32_t id)
{
    g_commandRing.Push(id);
}

CCharacter* MyCharacter()
{
    CObjLayer* layer = GetObjLayer();
    return layer ? layer->GetMyCharacter() : nullptr;
}

// The level of the player's character, 0 without one.
uint32_t MyLevel()
{
    const CCharacter* c = MyCharacter();
    return c ? c->GetCharRecord().U32(CharacterRecord::kLevel) : 0;
}

bool InBattle()
{
    const CObjLayer* layer = GetObjLayer();
    return layer && layer->m_inBattle != 0;
}

// The 128-byte text of a string-table id.
void AddStringLine(int id)
{
    char text[128];
    std::snprintf(text, sizeof text, "%s", GetGameString(id));
    g_messageRing.AddLine(text);
}

void ConsumeMouse(uint32_t bit)
{
    g_mouseState.ConsumeMouseEvent(bit);
    g_mouseState.ClearMouseButtons();
}

}  // namespace

uint32_t UiTicksBetween(uint32_t last, uint32_t now)
{
    return static_cast<uint32_t>(static_cast<uint64_t>(now - last) * 60 / 1000);
}

uint32_t UiTimeAfterTicks(uint32_t last, uint32_t ticks)
{
    return static_cast<uint32_t>(last + static_cast<uint64_t>(ticks) * 1000 / 60);
}

void ResetUiLayerGlobals()
{
    g_uiFrameTicks = 0;
    g_uiLastTime = 0;
    g_uiLeftHeld = 0;
    g_uiWindowsRefreshed = 0;
    g_chatSendDelay = 0;
    g_remainRaised = 0;
    g_abilityRankChanged = 0;
    g_uiCreated = 0;
    g_uiFrameRan = 0;
    g_routeTrailHook = SRouteTrailHook{DrawRouteTrail, StopRouteTrail};
    g_dropMouseItem = nullptr;
    g_profileRecord.Clear();
    g_musicVolume = g_soundVolume = g_lightLevel = 50;
    SetPointerAttachment(nullptr);
    ResetRankingGlobals();
}

CDaradirUzedo::CDaradirUzedo(CDisplay* display) : m_pTarget(display) {}

CDaradirUzedo::~CDaradirUzedo()
{
    if (!m_windowsCreated)
        return;
    // Nothing may point into the windows once they are gone.
    for (int i = 0; i < m_root.GetChildCount(); ++i)
        if (m_root.GetChild(i) == g_currentNoticeLine)
            g_currentNoticeLine = nullptr;
    g_pMessageBoxWin = nullptr;
    g_simPanelList.Clear();
    g_inputFocus.ClearFocus();
    g_inputFocus.SetHomeWidget(nullptr);
    m_root.DeleteChildren();
}

// ---- creation -------------------------------------------------------------------

void CDaradirUzedo::CreateWindows()
{
    m_talkText[0] = 0;
    m_talkTopLine = 0;
    m_talkLineCount = 0;
    m_gmChatIdle = 1;
    m_chatOverlayTimer = 0;
    m_chatOverlayExpired = 0;
    m_chatOverlayShown = 0;
    g_remainRaised = 0;
    m_hpQuickItem = 0;
    m_mpQuickItem = 0;
    m_pendingHairColor = -1;
    m_itemArrivedFlag = 0;
    m_transferAmount = 0;
    g_uiCreated = 1;
    g_abilityRankChanged = 0;

    const uint32_t level = MyLevel();
    m_levelTwoHint = level != 2 ? 1 : 0;
    m_levelThreeHint = level != 3 ? 1 : 0;

    static_assert(kWindowRows <= CWidgetContainer::kMaxChildren, "every window is a child of the root");
    const auto& rows = WindowTable();
    std::array<CWidget*, kWindowRows> built{};
    CWindowBuild so;
    for (int i : WindowConstructionOrder()) {
        const SWindowRow& row = rows[static_cast<size_t>(i)];
        CWidget* w = row.factory(row, so);
        built[static_cast<size_t>(i)] = w;
        so.Add(w);
    }
    for (CWidget* w : built) {
        ApplyRowExtras(w);
        m_root.AddChild(w);
    }

    // A release no window takes goes to the field.
    g_dropMouseItem = DropMouseItemOnField;
    g_inputFocus.BeginWidgetInput();
    UpdateSpeedField();
    g_uiLastTime = g_frameNow;
    m_windowsCreated = 1;
}

// What the layer itself does to some windows before they are added, whoever
// built them.
void CDaradirUzedo::ApplyRowExtras(CWidget* w)
{
    switch (w->GetId()) {
    case kBigChat: g_inputFocus.SetHomeWidget(w); break;
    case kMainTabs: w->SetState(CWidget::kOpening); break;
    case kAbilityTabs: w->SetDelays(0, 25); break;
    case kBaseFacPanel: g_simPanelList.Add(w); break;
    default: break;
    }
    if (auto* box = dynamic_cast<CMessageBoxWin*>(w))
        g_pMessageBoxWin = box;
    if (auto* notice = dynamic_cast<CNoticeLine*>(w))
        g_currentNoticeLine = notice;
}

void CDaradirUzedo::UpdateSpeedField()
{
    CObjLayer* layer = GetObjLayer();
    if (!layer)
        return;
    CCharacter* me = layer->GetMyCharacter();
    CharacterRecord& rec = me ? me->GetCharRecord() : layer->MyRecord();
    const uint32_t base = static_cast<uint32_t>(GetClassBaseValue(layer->MyRecord()));
    const bool item = CPlayerInfo::GetEquip(rec, kSpeedItemSlot) == kSpeedItem;
    rec.SetU32(CharacterRecord::kSpeedClass,
               item && rec.U32(CharacterRecord::kSpeedClass) < kSpeedCap ? base + 1 : base);
    if (me)
        layer->SetMyCharRecord(rec);
    layer->SendCharacterField(kSpeedField);
}

// ---- the frame ------------------------------------------------------------------

int CDaradirUzedo::OnFrame()
{
    g_uiFrameRan = g_gameFrameCount;
    if (!m_windowsCreated) {
        CreateWindows();
        // What the player's level or class no longer allows comes off.
        g_playerInfo.UnequipUnusable();
    }
    CTextLayer* text = g_pTextLayer;
    if (text)
        text->HandleEditKeys();
    if (g_chatSendDelay > 0)
        --g_chatSendDelay;
    if (!g_uiWindowsRefreshed && text) {
        RefreshWindows();
        g_uiWindowsRefreshed = 1;
    }
    HandleHotKeys();
    SetSpriteClipRect(0, 0, 800, 600);

    uint8_t* surface = m_pTarget ? m_pTarget->GetBits() : nullptr;
    if (!g_frameNotPresented) {
        g_uiFrameTicks = UiTicksBetween(g_uiLastTime, g_frameNow);
        SetFieldViewRight(800);
        m_root.Draw(surface);
        g_uiLastTime = UiTimeAfterTicks(g_uiLastTime, g_uiFrameTicks);
    }

    // Drawn once for every one of these windows that is closed, stopped by
    // the first open one: the trail's pace depends on it.
    for (int32_t id : kTrailWindows) {
        const CWidget* w = Child(id);
        if (w && w->GetState() == CWidget::kOpen) {
            if (g_routeTrailHook.stop)
                g_routeTrailHook.stop();
            break;
        }
        if (g_routeTrailHook.draw)
            g_routeTrailHook.draw(surface);
    }

    g_inputFocus.DrawWidgetInput(surface);
    ShowHints();
    if (AbilityRankNamesChanged())
        g_abilityRankChanged = 1;
    if (g_abilityRankChanged) {
        Push(101);
        g_abilityRankChanged = 0;
    }
    DispatchCommands();
    g_pointerAttachment->Draw(g_mouseState.GetX(), g_mouseState.GetY(), surface);
    g_mouseCursor.Draw(g_mouseState.GetX(), g_mouseState.GetY(), surface);
    CScriptManager::StepAll();
    return 1;
}

void CDaradirUzedo::ShowHints()
{
    const uint32_t level = MyLevel();
    if (level == 2 && m_levelTwoHint) {
        m_levelTwoHint = 0;
        AddStringLine(95);
    }
    if (level == 3 && m_levelThreeHint) {
        m_levelThreeHint = 0;
        AddStringLine(95);
    }
    if (g_remainRaised != 1 || InBattle())
        return;
    if (level < 4) {
        const CCharacter* me = MyCharacter();
        const uint32_t remain = me ? me->GetCharRecord().U32(CharacterRecord::kRemain) : 0;
        const CWidget* panel = Child(kParamPanel);
        if (remain != 0 && !(panel && panel->GetState() == CWidget::kOpen)) {
            AddStringLine(94);
            g_remainRaised = 0;
            Push(100);
        }
    } else if (level == 4) {
        g_remainRaised = 0;
        AddStringLine(96);
        AddStringLine(97);
    }
}

// ---- keys -------------------------------------------------------------------------

int CDaradirUzedo::HandleHotKeys()
{
    if (const uint32_t id = GetHotKeyDown()) {
        Push(id);
        return 1;
    }
    RunFunctionKey(GetPressedKey());
    return 1;
}

void CDaradirUzedo::RunFunctionKey(uint32_t key)
{
    CWidget* chat = Child(kChatWindow);
    CObjLayer* layer = GetObjLayer();
    CCharacter* me = layer ? layer->GetMyCharacter() : nullptr;
    switch (key) {
    case kEsc: EscapeTopWindow(); break;
    case kEnter: Push(29); break;
    case kF1: Push(69); break;
    case kF2:
        if (g_colonyMode || !g_gmFlag)
            break;
        if (IsWindowOpen(kChatWindow)) {
            Push(2);
            m_gmChatIdle = 0;
            m_chatOverlayShown = 1;
            m_chatOverlayExpired = 0;
        } else {
            g_inputFocus.SetFocusWidget(chat);
            Push(2);
            g_inputFocus.BeginWidgetInput();
            if (chat)
                chat->Refresh();
        }
        break;
    case kF3:
        if (!IsWindowOpen(kChatWindow))
            Push(2);
        Push(3);
        break;
    case kF4:
        if (InBattle())
            break;
        if (!IsWindowOpen(kProfileWindow)) {
            g_profileRecord.LoadProfile();
            const uint16_t id = g_playerInfo.GetCharId();
            g_simColony.SendRequest(1, id);
            if (layer)
                for (int field : {32, 35, 36, 31})
                    layer->RequestCharacterField(id, field);
        }
        Push(12);
        break;
    case kF6:
    case kF7:
        if (!g_gmFlag || !me)
            break;
        if (key == kF6)
            me->GetCharRecord().SetU32(CharacterRecord::kMp, static_cast<uint32_t>(CalcMaxMp(me->GetCharRecord())));
        else
            me->GetCharRecord().SetU32(CharacterRecord::kHp, static_cast<uint32_t>(CalcMaxHp(me->GetCharRecord())));
        RefreshWindows();
        break;
    case kF8: {
        if (!g_gmFlag || !me || me->GetAction() == 1)
            break;
        CharacterRecord& own = layer->MyRecord();
        const uint32_t value = own.U32(CharacterRecord::kSpeedClass) == kSpeedCap
                                   ? static_cast<uint32_t>(GetClassBaseValue(own))
                                   : kSpeedCap;
        me->GetCharRecord().SetU32(CharacterRecord::kSpeedClass, value);
        own.SetU32(CharacterRecord::kSpeedClass, value);
        RefreshWindows();
        layer->SendCharacterField(kSpeedField);
        break;
    }
    case kF9:
        if (g_gmFlag && me)
            me->SetMyTurn(1);
        break;
    default: break;
    }
}

// ---- mouse -------------------------------------------------------------------------

int CDaradirUzedo::DispatchMouseButtons()
{
    const int x = g_mouseState.GetX(), y = g_mouseState.GetY();
    if (g_mouseState.IsMouseEvent(MOUSE_LDBLCLK)) {
        if (g_uiLeftHeld)
            m_root.OnLButtonUp(x, y);
        if (m_root.OnLButtonDblClk(x, y))
            ConsumeMouse(MOUSE_LDBLCLK);
    }
    if (g_mouseState.IsMouseEvent(MOUSE_LDOWN) && !g_uiLeftHeld) {
        if (m_root.OnLButtonDown(x, y))
            ConsumeMouse(MOUSE_LDOWN);
        g_pointerAttachment->OnLButtonDown();
        g_uiLeftHeld = 1;
    }
    if (g_mouseState.IsMouseEvent(MOUSE_RDOWN)) {
        if (m_root.OnRButtonDown(x, y) || EscapeTopWindow())
            ConsumeMouse(MOUSE_RDOWN);
    }
    if (g_mouseState.IsMouseEvent(MOUSE_MOVE) && m_root.OnMouseMove(x, y))
        ConsumeMouse(MOUSE_MOVE);
    if (g_mouseState.IsMouseEvent(MOUSE_RUP) && m_root.OnRButtonUp(x, y))
        ConsumeMouse(MOUSE_RUP);
    if (g_mouseState.IsMouseEvent(MOUSE_LUP) && g_uiLeftHeld) {
        if (m_root.OnLButtonUp(x, y))
            ConsumeMouse(MOUSE_LUP);
        else if (g_dropMouseItem)
            g_dropMouseItem(x, y);
        g_pointerAttachment->OnLButtonUp();
        g_mouseCursor.ReturnCarried();
        g_uiLeftHeld = 0;
    }
    return 1;
}

int32_t CDaradirUzedo::EscapeTopWindow()
{
    return m_root.OnEscape();
}

// ---- windows by id -------------------------------------------------------------

bool CDaradirUzedo::IsWindowOpen(int id) const
{
    const CWidget* w = m_root.FindChild(id);
    return w && w->IsOpenOrOpening();
}

void CDaradirUzedo::ToggleWindow(int id)
{
    if (CWidget* w = Child(id))
        w->Toggle();
}

void CDaradirUzedo::RefreshWindows()
{
    m_root.Refresh();
}

void CDaradirUzedo::ResetPasswordForm()
{
    if (CWidget* done = Child(kPasswordDone))
        done->SetState(CWidget::kOpening);
    if (CWidget* form = Child(kPasswordWindow))
        for (int32_t id = 78; id <= 82; ++id)
            if (CWidget* field = form->FindChild(id))
                field->Clear();
    for (auto* buf : {&m_pwAccount, &m_pwNumber1, &m_pwNumber2, &m_pwNew, &m_pwConfirm})
        buf->fill(0);
}

int CDaradirUzedo::RouteChatMessage(const uint8_t* record, size_t size)
{
    int result = 0;
    for (int32_t id : {kProfileWindow, kGroupWindow, kBigChat}) {
        if (CWidget* w = Child(id)) {
            result = w->OnChatMessage(record, size);
            if (result)
                break;
        }
    }
    return result;
}

int CDaradirUzedo::RouteChatMessage(const char* message)
{
    if (!message)
        return 0;
    const auto* rec = reinterpret_cast<const uint8_t*>(message);
    // u16 sender, 12-byte name, u8 mode, u16 text length, then the text.
    const size_t lenAt = 2 + 12 + 1;
    const size_t len = rec[lenAt] | static_cast<size_t>(rec[lenAt + 1]) << 8;
    return RouteChatMessage(rec, lenAt + 2 + len);
}
