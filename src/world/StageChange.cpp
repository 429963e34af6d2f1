#include "world/StageChange.h"

#include <algorithm>
#include <cstring>

#include "app/MouseState.h"
#include "app/QuillonView.h"
#include "app/StringTable.h"
#include "audio/MusicPlayer.h"
#include "audio/SoundManager.h"
#include "core/TextLayer.h"
#include "effects/EffectsService.h"
#include "platform/Crt.h"
#include "rules/CalcData.h"
#include "rules/StartPositions.h"
#include "windows/PlayerInfo.h"
#include "windows/UiService.h"
#include "world/BGLayer.h"
#include "world/Character.h"
#include "world/ObjLayer.h"
#include "world/StageLoader.h"

namespace {

constexpr int kDeathMatchFirst = CObjLayer::kDeathMatchFirst;
constexpr int kBattleItem = 88;
constexpr int kBattleItemSlot = 5;
constexpr int kWindowMarket = 59;
constexpr int kWindowProfile = 26;
constexpr int kWindowClosing = 3;
constexpr int kNoticeStrings[3] = {11, 12, 13};
constexpr int kJailString = 174;
constexpr int kBlinkPeriod = 16;
constexpr int kBlinkDark = 3;
constexpr uint8_t kNoticeColour = 15;

}  // namespace

void CStageChange::Init(int type, int stage, int x, int y)
{
    m_state = kWipe;
    m_counter = 0;
    m_type = type;
    m_stage = stage;
    m_x = x;
    m_y = y;
    for (int i = 0; i < kRows; ++i) {
        const int bias = (kRows - i) / 16;
        m_rows[static_cast<size_t>(i)].width = (plat::Rand() & 127) + bias;
        m_rows[static_cast<size_t>(i)].speed = (plat::Rand() & 63) + bias + 32;
    }
    CObjLayer* layer = m_pLayer;
    CBGLayer* bg = layer ? layer->GetBackground() : nullptr;
    if (layer && type == kEnterBattle) {
        layer->EnterBattle();
        if (static_cast<int>(layer->m_battleNumber) >= kDeathMatchFirst)
            SetMySpeedClass(GetClassBaseValue(layer->MyRecord()));
        for (int id : {kWindowMarket, kWindowProfile})
            if (Ui().IsWindowOpen(id))
                Ui().SetWindowState(id, kWindowClosing);
        g_musicPlayer.SetFileName("Combat.mid");
        g_musicPlayer.Play();
    } else if (layer && type == kLeaveBattle) {
        const CCharacter* me = layer->GetMyCharacter();
        const CharacterRecord& rec = me ? me->GetCharRecord() : layer->MyRecord();
        if (static_cast<int>(layer->m_battleNumber) >= kDeathMatchFirst &&
            CPlayerInfo::GetEquip(rec, kBattleItemSlot) == kBattleItem)
            SetMySpeedClass(GetClassBaseValue(rec) + 1);
        layer->m_stageChanging = 1;
        if (bg)
            bg->SetVisible(0);
        layer->LeaveBattle();
        ClearKeyStates();
        if (stage == 0) {
            g_musicPlayer.SetFileName(StageMusic(g_currentMapId == 3 ? 1 : g_currentMapId));
            g_musicPlayer.Play();
        } else {
            g_soundManager.StopAll();
        }
    } else if (layer) {
        layer->m_stageChanging = 1;
        if (bg)
            bg->SetVisible(0);
    }
    // Every change of stage or of battle: nothing drawn at the old map's
    // pixels, no quake hitting on the new one.
    Effects().ClearAll();
    Ui().ClearMessages();
}

// Field 24 of my record: my character's, copied to the layer, then sent.
void CStageChange::SetMySpeedClass(int value)
{
    CCharacter* me = m_pLayer->GetMyCharacter();
    CharacterRecord& rec = me ? me->GetCharRecord() : m_pLayer->MyRecord();
    rec.SetU32(CharacterRecord::kSpeedClass, static_cast<uint32_t>(value));
    m_pLayer->SetMyCharRecord(rec);
    m_pLayer->SendCharacterField(24);
}

void CStageChange::Wipe(uint8_t* bits)
{
    for (int i = 0; i < kRows; ++i) {
        WipeRow& row = m_rows[static_cast<size_t>(i)];
        row.width += row.speed;
        if (bits)
            std::memset(bits + static_cast<size_t>(i) * kColumns, 0, static_cast<size_t>(std::min(row.width, kColumns)));
    }
}

int CStageChange::NoticeX(const char* text)
{
    return kNoticeRight - static_cast<int>(std::strlen(text ? text : "")) * CTextLayer::kAsciiAdvance;
}

void CStageChange::DrawNotice(uint8_t* bits, const char* text, int frame)
{
    CTextLayer* t = g_pTextLayer;
    if (!t || !bits || !text)
        return;
    const uint8_t colour = frame % kBlinkPeriod < kBlinkDark ? 0 : kNoticeColour;
    t->SetTarget(bits, kColumns, kRows);
    t->DrawTextColored(NoticeX(text), kNoticeY, text, colour, CTextLayer::kTransparent, 1);
}

bool CStageChange::LoadAndEnter(int stage, int x, int y)
{
    g_currentMapId = stage;
    if (!LoadStage(stage))
        return false;
    m_pLayer->SetEntryPoint(stage, x, y);
    m_pLayer->SendEnterField();
    return true;
}

void CStageChange::LoadFrame()
{
    CObjLayer* layer = m_pLayer;
    CBGLayer* bg = layer->GetBackground();
    if (m_type == kMove) {
        if (bg) {
            bg->SetVisible(1);
            bg->ScrollTo(-1000, -1000);
        }
        layer->SendLeaveField();
        layer->RemoveAllCharacters();
        LoadAndEnter(m_stage, m_x, m_y);
    } else if (m_type == kEnterBattle) {
        m_state = kIdle;
    } else {
        // The map layer comes back on after a battle as after a move.
        if (bg)
            bg->SetVisible(1);
        if (m_stage != 0) {
            // The field was left when the battle was entered (or my
            // character fell on it): no second leave.
            layer->RemoveAllCharacters();
            if (g_toBeJailed) {
                Ui().AddLine(GetGameString(kJailString));
                const StartPosition p = GetStartPositionB();
                if (LoadAndEnter(p.map, p.x, p.y)) {
                    g_toBeJailed = 0;
                    g_inJail = 1;
                }
            } else {
                const StartPosition p = GetStartPositionC();
                LoadAndEnter(p.map, p.x, p.y);
            }
        } else {
            if (g_currentMapId == 0)
                PlaceStageNpcs(*layer);
            layer->SetEntryPoint(g_currentMapId, GetMyTileX(), GetMyTileY());
            layer->SendEnterField();
        }
    }
}

int CStageChange::Update(uint8_t* bits)
{
    if (m_state == kIdle)
        return 1;
    if (m_state == kWipe) {
        Wipe(bits);
        if (++m_counter >= kWipeFrames) {
            m_counter = 0;
            m_state = kLoad;
        }
        return 0;
    }
    if (m_counter == 0 && m_pLayer) {
        LoadFrame();
        if (m_state == kIdle)
            return 0;
    }
    const int type = std::clamp(m_type, 0, 2);
    DrawNotice(bits, GetGameString(kNoticeStrings[type]), m_counter);
    ++m_counter;
    if (!m_pLayer)
        return 0;
    if (m_pLayer->m_enteredAnswer == 1) {
        Finish();
    } else if (m_pLayer->m_enteredAnswer == -1) {
        // Each refusal is answered once: the resend clears the answer.
        m_pLayer->SendEnterField();
    }
    return 0;
}

void CStageChange::Finish()
{
    m_state = kIdle;
    if (m_pLayer)
        m_pLayer->m_stageChanging = 0;
}

// Leaving a battle takes my character off the map; its slot keeps the cell.
int CStageChange::GetMyTileX() const
{
    if (!m_pLayer)
        return 0;
    const CCharacter* me = m_pLayer->GetMyCharacter();
    return me ? me->GetTileX() : m_pLayer->CharacterSlot(0).GetTileX();
}

int CStageChange::GetMyTileY() const
{
    if (!m_pLayer)
        return 0;
    const CCharacter* me = m_pLayer->GetMyCharacter();
    return me ? me->GetTileY() : m_pLayer->CharacterSlot(0).GetTileY();
}
