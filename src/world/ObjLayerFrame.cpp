// The object layer's frame: the whole field for one frame.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/ExitGame.h"
#include "app/FrameClock.h"
#include "app/MouseState.h"
#include "app/QuillonView.h"
#include "app/StringTable.h"
#include "audio/SoundManager.h"
#include "core/Blit.h"
#include "core/DibIO.h"
#include "core/Display.h"
#include "core/PaletteManager.h"
#include "core/RleImage.h"
#include "core/TextLayer.h"
#include "core/TileSet.h"
#include "effects/EffectsService.h"
#include "intro/IntroLayer.h"
#include "platform/Clock.h"
#include "ui/FloatTextList.h"
#include "ui/InputFocus.h"
#include "ui/MessageRing.h"
#include "ui/NoticeList.h"
#include "ui/Widget.h"
#include "windows/DaradirUzedo.h"
#include "windows/UiService.h"
#include "world/BGLayer.h"
#include "world/Character.h"
#include "world/FieldFrame.h"
#include "world/ObjLayer.h"
#include "world/StageLoader.h"
#include "world/StructureObj.h"

uint32_t g_autoClick;
uint32_t g_lastRepeatClickAt;
uint32_t g_lastClickAt;
uint32_t g_lastMarkerClickAt;
int32_t g_fpsCount;
int32_t g_fpsShown;
uint32_t g_fpsCountedAt;
int32_t g_tipCounter;
CTileSet g_turnGaugeSet;

namespace {

constexpr uint32_t kScanEscape = 1;
constexpr uint32_t kScanTab = 15;
constexpr uint32_t kScanF5 = 63;
constexpr uint32_t kScanF12 = 88;
constexpr uint32_t kRepeatMs = 400;
constexpr int kSightRadius = 6;
constexpr int kDeathHp = 20;
constexpr uint8_t kNameColour = 15;
constexpr uint8_t kWantedColour = 20;
constexpr int kJailMap = 3;
constexpr int kBarWidth = 32;
constexpr int kGaugeWidth = 116;
constexpr int kGaugeTicks = 1800;
constexpr int kBattleOverPeriod = 300;
constexpr int kTipPeriod = 180;
constexpr int kTipSlots = 16;
constexpr int kStringBattleOver = 17;
constexpr int kStringAutoOn = 84;
constexpr int kStringAutoOff = 85;
constexpr int kStringFreeFight = 184;
constexpr uint8_t kBarColours[9] = {186, 254, 253, 244, 232, 243, 235, 233, 233};

// The tips for players of level 1; the last six slots are silent.
constexpr const char* kTips[kTipSlots] = {
    "안녕하십니까. Tolmar의 세계에 오신걸 환영합니다.",
    "상세한 도움말을 원하시면 F1을 누르시면 됩니다.",
    "몬스터와 전투를 하실 경우 마우스 왼쪽 버튼으로 클릭하시면 됩니다. (전투 모드 진입)",
    "방어구상점 뒷편(스테이지1 중앙부근)의 성역에선 HP와 MP의 회복력이 좋아집니다.",
    "일반 필드상에서의 전투모션은 아무런 영향을 미치지 않습니다.",
    "현재경험치가 목표경험치에 도달하면 REMAIN 하나가 증가합니다.",
    "REMAIN 5개를 특성치로 전환하면 레벨 하나가 증가합니다.",
    "특수기술은  Alt+a를 누르고 몬스터를 클릭하면 됩니다.",
    "시뮬레이션 모드로의 전환은 분수대 옆쪽건물의 케루빔을 클릭하면 됩니다.",
    "REMAIN을 특성치로 전환하려 할 때는 필드상에서 Ctrl+Tab키를 누르시면 됩니다.",
    "", "", "", "", "", "",
};

// The form rings: the password-change inputs, then the deletion inputs.
constexpr int32_t kPasswordRing[] = {78, 79, 80, 81, 82};
constexpr int32_t kDeleteRing[] = {84, 85, 86};

// Tab and the edit line's text give way to the forms once the windows exist.
bool FormFieldCheck() { return g_uiCreated && CObjLayer::GetActiveFormField() != 0; }

int FocusedWidgetId()
{
    const CWidget* w = g_inputFocus.GetFocusWidget();
    return w ? static_cast<int>(w->GetId()) : 0;
}

}  // namespace

int BarWidth(int a, int b)
{
    if (b <= 0)
        return 1;
    const int64_t w = static_cast<int64_t>(kBarWidth) * a / b;
    return static_cast<int>(std::clamp<int64_t>(w, 1, kBarWidth));
}

int GaugeWidth(int timer)
{
    const int64_t w = static_cast<int64_t>(timer) * kGaugeWidth / kGaugeTicks;
    return static_cast<int>(std::clamp<int64_t>(w, 0, kGaugeWidth));
}

const char* TipText(int slot)
{
    return slot >= 0 && slot < kTipSlots ? kTips[slot] : "";
}

void DrawBarNotices(uint8_t* bits)
{
    if (!bits)
        return;
    const BlitTarget t = ScreenTarget(bits);
    for (const CNoticeList::Entry* e = g_noticeList.First(); e; e = g_noticeList.Next()) {
        const int x = (*e)[0], y = (*e)[1], kind = (*e)[6];
        const int w = BarWidth((*e)[2], (*e)[3]);
        ScreenFillRect(t, x - 16, y - 6, kBarWidth + 1, 3, 0);
        if (kind == -1) {
            ScreenFillRect(t, x - 16, y - 6, w, 2, 101);
            ScreenFillRect(t, x - 16, y - 3, kBarWidth + 1, 3, 0);
            ScreenFillRect(t, x - 16, y - 3, BarWidth((*e)[4], (*e)[5]), 2, 200);
        } else if (kind >= 0 && kind <= 8) {
            ScreenFillRect(t, x - 16, y - 6, w, 2, kBarColours[kind]);
        }
    }
}

void InstallFormFieldCheck()
{
    if (g_pTextLayer)
        g_pTextLayer->SetFormFieldCheck(&FormFieldCheck);
}

int CObjLayer::GetActiveFormField()
{
    const int id = FocusedWidgetId();
    if (id >= 78 && id <= 82)
        return id - 77;
    if (id >= 84 && id <= 86)
        return id - 78;
    return 0;
}

void CObjLayer::FocusNextFormField()
{
    if (g_lastKey != kScanTab)
        return;
    const int id = FocusedWidgetId();
    auto next = [id](const int32_t* ring, int n) -> int {
        for (int i = 0; i < n; ++i)
            if (ring[i] == id)
                return ring[(i + 1) % n];
        return 0;
    };
    // The inputs are children of their form window.
    int32_t form = 77;
    int to = next(kPasswordRing, 5);
    if (!to) {
        form = 83;
        to = next(kDeleteRing, 3);
    }
    CDaradirUzedo* ui = g_layerHolder.GetLayer();
    CWidget* window = to && ui ? ui->GetRootContainer()->FindChild(form) : nullptr;
    if (CWidget* w = window ? window->FindChild(to) : nullptr) {
        g_inputFocus.SetFocusWidget(w);
        g_inputFocus.BeginWidgetInput();
    }
}

void CObjLayer::StructureUnderPlayer()
{
    const int x = m_pMyChar->GetTileX(), y = m_pMyChar->GetTileY();
    CStructureObj* found = nullptr;
    if (const uint8_t area = m_pBackground ? m_pBackground->GetArea(x, y) : 0) {
        const int sx = x + (area >> 4), sy = y + (area & 15);
        if (InMap(sx, sy)) {
            CObj* o = ResolveHandle(GetStructureCell(sx, sy));
            if (o && o->GetKind() == CObj::kindStructure)
                found = static_cast<CStructureObj*>(o);
        }
    }
    if (found == m_pStandStructure)
        return;
    if (found) {
        found->SetSeeThrough(1);
        found->MarkFootprint(1);
    } else {
        m_pStandStructure->SetSeeThrough(0);
        m_pStandStructure->MarkFootprint(0);
    }
    m_pStandStructure = found;
}

void CObjLayer::DrawFloatTexts(uint8_t* bits)
{
    CTextLayer* t = g_pTextLayer;
    if (!t || !bits)
        return;
    uint8_t colour = kNameColour;
    if (m_pHoverCreature && g_currentMapId != kJailMap && IsWanted(m_pHoverCreature->GetCharRecord()))
        colour = kWantedColour;
    t->SetTarget(bits, CDisplay::kWidth, CDisplay::kHeight);
    for (const CFloatTextList::Entry* e = g_floatTexts.First(); e; e = g_floatTexts.Next())
        t->DrawTextColored(e->x, e->y, e->text, colour, CTextLayer::kTransparent, 1);
}

void CObjLayer::DrawTileText(uint8_t* bits)
{
    CTextLayer* t = g_pTextLayer;
    if (!t || !bits || !m_pMyChar)
        return;
    char text[32];
    std::snprintf(text, sizeof text, "<%3d,%3d>", m_pMyChar->GetTileX(), m_pMyChar->GetTileY());
    const int x = CDisplay::kWidth - static_cast<int>(std::strlen(text)) * CTextLayer::kAsciiAdvance;
    t->SetTarget(bits, CDisplay::kWidth, CDisplay::kHeight);
    t->DrawTextColored(x, g_gmFlag ? 48 : 16, text, kNameColour, CTextLayer::kTransparent, 0);
}

void CObjLayer::ScreenShotKeyFrame(uint8_t* bits)
{
    if (g_lastKey != kScanF12 || !bits)
        return;
    static const CPaletteManager::Rgb kBlack{};
    const uint8_t* rgb = g_pPalette ? g_pPalette->GetShownRgb().data() : kBlack.data();
    std::string announce;
    if (ScreenShotKey(bits, rgb, g_gmFlag != 0, &announce))
        g_soundManager.Play("printscreen.wav");
    if (!announce.empty())
        Ui().AddLine(announce.c_str());
}

void CObjLayer::PeriodicMessages()
{
    if (m_inBattle && m_battleOver && g_frameClock % kBattleOverPeriod == 0)
        Ui().AddLine(GetGameString(kStringBattleOver));
    if (!m_inBattle && PlayerRecord().I32(CharacterRecord::kLevel) == 1 && g_frameClock % kTipPeriod == 0) {
        if (const char* tip = TipText(g_tipCounter); tip[0])
            Ui().AddLine(tip);
        g_tipCounter = (g_tipCounter + 1) % kTipSlots;
    }
    if (m_freeFightNotice) {
        Ui().AddLine(GetGameString(kStringFreeFight));
        m_freeFightNotice = 0;
    }
}

int CObjLayer::Process()
{
    uint8_t* bits = m_pDisplay ? m_pDisplay->GetBits() : nullptr;
    if (m_stageChanging && g_keyState[kScanEscape])
        ExitGame();
    if (m_stageChanging && !m_stageChange.Update(bits))
        return 0;
    if (!m_pMyChar)
        return 0;

    const int right = m_pBackground ? m_pBackground->GetViewRight() : m_viewRight;
    SetSpriteClipRect(m_viewLeft, m_viewTop, right, m_viewBottom);
    m_drawList.Clear();
    g_floatTexts.Clear();
    g_noticeList.Clear();
    if (!g_colonyMode && bits) {
        if (m_rangeShown)
            DrawRangeCircle(bits, 1);
        DrawGroundItems(bits);
    }

    const uint32_t now = plat::NowMs();
    if ((g_mouseState.IsMouseButtonHeld(1) || g_autoClick) &&
        static_cast<int32_t>(now - g_lastRepeatClickAt) > static_cast<int32_t>(kRepeatMs)) {
        g_mouseState.SetMouseEvent(MOUSE_LDOWN, g_mouseState.GetX(), g_mouseState.GetY());
        g_lastRepeatClickAt = now;
    }
    if (CDaradirUzedo* ui = g_layerHolder.GetLayer())
        ui->DispatchMouseButtons();

    SetFocusPixel(m_pMyChar->GetPixelX(), m_pMyChar->GetPixelY());
    StructureUnderPlayer();
    TickClock();
    CheckJailAndWanted();
    UpdateZoneFlags();
    UpdateObjects();
    SortDrawList();
    if (!g_colonyMode)
        DrawSortedList(bits);
    // From here on my character may be gone: an Escape that ran in the
    // updates, or a right click that left the battle, takes it off the map
    // until the stage change brings it back.
    if (m_inBattle && m_pBackground && m_pMyChar) {
        m_pBackground->ClearSightAroundWindow();
        m_pBackground->MarkSight(m_pMyChar->GetTileX(), m_pMyChar->GetTileY(), kSightRadius);
    }

    if (!m_inBattle && m_pMyChar && m_pMyChar->GetCharRecord().I32(CharacterRecord::kHp) < 0) {
        CharacterRecord& myRec = m_pMyChar->GetCharRecord();
        myRec.SetU32(CharacterRecord::kHp, kDeathHp);
        SetMyCharRecord(myRec);
        SendCharacterField(9);
        m_pMyChar->RemoveFromMap();
        SendLeaveField();
        m_battleOver = 2;
    }

    if (GetActiveFormField())
        FocusNextFormField();
    else
        PickAndClick();
    Effects().DrawAll(bits);
    DrawFloatTexts(bits);
    DrawBarNotices(bits);
    if (CDaradirUzedo* ui = g_layerHolder.GetLayer())
        ui->Draw();

    if (m_inBattle && bits) {
        if (CRleImage* gauge = g_turnGaugeSet.GetFrame(0))
            gauge->Draw(3, 385, ScreenTarget(bits));
        ScreenFillRect(ScreenTarget(bits), 10, 417, GaugeWidth(PlayerRecord().I32(CharacterRecord::kTurnTimer)), 3,
                       3);
    }
    if (bits)
        if (CRleImage* cursor = g_cursorTileSet.GetFrame(g_cursorFrame))
            cursor->Draw(g_mouseState.GetX(), g_mouseState.GetY(), ScreenTarget(bits));
    if (m_pBackground) {
        if (m_inBattle)
            m_pBackground->FadeSightEdges();
        m_pBackground->ScrollTo(m_focusX, m_focusY);
    }
    g_messageRing.Draw(bits);

    if (g_lastKey == kScanF5) {
        g_autoClick = g_autoClick ? 0 : 1;
        Ui().AddLine(GetGameString(g_autoClick ? kStringAutoOn : kStringAutoOff));
    }
    ScreenShotKeyFrame(bits);
    PeriodicMessages();
    if (m_inBattle)
        DrawBattleTitle(bits, static_cast<int>(m_battleNumber));
    if (static_cast<int32_t>(now - g_fpsCountedAt) > 1000) {
        g_fpsShown = g_fpsCount;
        g_fpsCount = 0;
        g_fpsCountedAt = now;
    }
    ++g_fpsCount;
    DrawTileText(bits);
    return 1;
}

void DrawBattleTitle(uint8_t* bits, int battle)
{
    CTextLayer* t = g_pTextLayer;
    if (!t || !bits)
        return;
    char title[32];
    std::snprintf(title, sizeof title, "전투#%d", battle);
    t->SetTarget(bits, CDisplay::kWidth, CDisplay::kHeight);
    t->DrawTextColored(20, 4, title, kNameColour, CTextLayer::kTransparent, 1);
}

void ResetFieldFrame()
{
    g_autoClick = g_lastRepeatClickAt = g_lastClickAt = g_lastMarkerClickAt = 0;
    g_fpsCount = g_fpsShown = 0;
    g_fpsCountedAt = 0;
    g_tipCounter = 0;
    g_turnGaugeSet.FreeFrames();
}
