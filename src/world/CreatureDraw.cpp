// How a creature is drawn, labelled and heard.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/FrameClock.h"
#include "audio/SoundManager.h"
#include "core/AnimSpriteSet.h"
#include "core/RleImage.h"
#include "core/TileSet.h"
#include "rules/CalcData.h"
#include "rules/GameData.h"
#include "windows/UiService.h"
#include "world/BGLayer.h"
#include "world/Creature.h"
#include "world/CreatureSounds.h"
#include "world/DrawMode.h"
#include "world/FieldFrame.h"
#include "world/Character.h"
#include "world/ObjLayer.h"
#include "world/ObrEntry.h"

namespace {

constexpr int kDeathMatchFirst = 20001;
constexpr int kGmLineGap = 16;
// An attack frame's point after its hot spot and hit mark: where the
// pieces of the attack are fixed.
constexpr int kAttachPoint = 2;
constexpr int kEsperGroup = 1;
constexpr int kMonsterGroup = 3;
constexpr int kChargeFirstStep = 5;

int Near(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -(int64_t{1} << 30), int64_t{1} << 30)); }

}  // namespace

void CCreature::DrawAttackPieces(int step, const CRleImage* frame)
{
    CObjLayer& layer = *m_pLayer;
    int sx = m_pixelX, sy = m_pixelY;
    if (CBGLayer* bg = layer.GetBackground())
        bg->WorldToScreen(m_pixelX, m_pixelY, sx, sy);
    // The pieces of a player's swing, from the attack set of its class
    // group, each picture with its shadow, sorted just in front of it.
    const int group = m_record.bytes[CharacterRecord::kClassGroup];
    const CEffectSpriteSet& pieces = group == kEsperGroup ? g_esperAttSet : g_whipSet;
    const RlePoint* at = frame ? frame->GetPoint(kAttachPoint) : nullptr;
    if (at && (at->x != 0 || at->y != 0) && group < kMonsterGroup) {
        const int px = Near(int64_t{sx} - frame->GetHotSpot().x + at->x);
        const int py = Near(int64_t{sy} - frame->GetHotSpot().y + at->y);
        if (CRleImage* image = pieces.GetFrame(step))
            layer.AddToDrawList(this, px, py, 0, sx, sy, 1, image, 0, 0);
        if (CRleImage* shadow = pieces.GetSecondFrame(step))
            layer.AddToDrawList(this, px, py, 0, sx, sy, 1, shadow, 5, 0);
    }
    // Classes 2 and 3 charge from step 5 on, through the frames of the
    // shared charge set (the turn gauge's).
    const int cls = m_record.I32(CharacterRecord::kClass);
    if ((cls == 2 || cls == 3) && step >= kChargeFirstStep)
        if (CRleImage* charge = g_turnGaugeSet.GetFrame(step - kChargeFirstStep))
            layer.AddDrawItem(this, sx, sy, 1, charge, 0, 0);
}

DrawModeChoice CCreature::ChooseMode(int fade) const
{
    const CBGLayer* bg = m_pLayer ? m_pLayer->GetBackground() : nullptr;
    DrawModeInput in;
    in.fade = fade;
    in.inBattle = m_pLayer && m_pLayer->m_inBattle != 0;
    in.cls = m_record.I32(CharacterRecord::kClass);
    in.light = (in.inBattle && bg) ? bg->GetSight(m_tileX, m_tileY) : CBGLayer::kFullSight;
    in.frozen = IsFrozen();
    in.hidden = IsHidden();
    in.seesHidden = IsAllyOfMine();
    in.look = m_record.U32(CharacterRecord::kLook);
    return ChooseDrawMode(in);
}

int CCreature::Draw(int x, int y, int z, CRleImage* frame, int fade)
{
    if (!frame || !m_pLayer)
        return 0;
    CObjLayer& layer = *m_pLayer;
    CBGLayer* bg = layer.GetBackground();
    int sx = x, sy = y;
    if (bg)
        bg->WorldToScreen(x, y, sx, sy);
    const int64_t left = static_cast<int64_t>(sx) - frame->GetHotSpot().x;
    const int64_t top = static_cast<int64_t>(sy) - z - frame->GetHotSpot().y;
    const int64_t right = left + frame->GetDataWidth();
    const int64_t bottom = top + frame->GetDataHeight();
    if (right <= layer.GetViewLeft() || left >= layer.GetViewRight() || bottom <= layer.GetViewTop() ||
        top >= layer.GetViewBottom())
        return 0;

    const bool inBattle = layer.m_inBattle != 0;
    const int light = (inBattle && bg) ? bg->GetSight(m_tileX, m_tileY) : CBGLayer::kFullSight;
    const DrawModeChoice choice = ChooseMode(fade);
    if (!choice.draw)
        return 1;
    layer.AddDrawItem(this, sx, sy, z, frame, choice.mode, choice.param);

    const bool gm = g_gmFlag != 0;
    if (layer.m_pHoverCreature == this && !m_fieldsRequested) {
        const uint16_t id = static_cast<uint16_t>(m_serverId);
        for (int field : {1, 27, 21})
            layer.RequestCharacterField(id, field);
        if (gm)
            for (int field : {8, 30})
                layer.RequestCharacterField(id, field);
        m_fieldsRequested = 1;
    }

    // The record's name may fill its 17 bytes without an end.
    const char* name = reinterpret_cast<const char*>(m_record.bytes.data() + CharacterRecord::kName);
    const int nameLength = static_cast<int>(strnlen(name, CharacterRecord::kNameSize));
    char text[160];
    if (gm)
        std::snprintf(text, sizeof text, "%.*s l:%d j:%d su:%d jun:%d time:%d", nameLength, name,
                      m_record.I32(CharacterRecord::kLevel), m_record.I32(CharacterRecord::kMoney),
                      m_record.I16(CharacterRecord::kWanted), m_record.I16(CharacterRecord::kJailed), g_jailRemaining);
    else
        std::snprintf(text, sizeof text, "%.*s", nameLength, name);
    Ui().AddFloatText(sx, sy, text);

    if (inBattle) {
        const int hp = m_record.I32(CharacterRecord::kHp), mp = m_record.I32(CharacterRecord::kMp);
        if (IsAllyOfMine())
            Ui().AddNotice(sx, sy, hp, CalcMaxHp(m_record), mp, CalcMaxMp(m_record), -1);
        else if (layer.m_battleNumber >= kDeathMatchFirst && !IsHidden())
            Ui().AddNotice(sx, sy, hp, CalcMaxHp(m_record), mp, CalcMaxMp(m_record), light);
    }

    if (gm && g_gmOverlayMode >= 1 && g_gmOverlayMode <= 3) {
        if (g_gmOverlayMode == 1)
            std::snprintf(text, sizeof text, "H:%03d", m_serverId);
        else if (g_gmOverlayMode == 2)
            std::snprintf(text, sizeof text, "<%03d,%03d>", m_tileX, m_tileY);
        else
            std::snprintf(text, sizeof text, "ID:%d  HP:%d/%d MP:%d/%d", m_record.I32(CharacterRecord::kClass),
                          m_record.I32(CharacterRecord::kHp), CalcMaxHp(m_record), m_record.I32(CharacterRecord::kMp),
                          CalcMaxMp(m_record));
        Ui().AddFloatText(sx, sy + kGmLineGap, text);
    }
    return 1;
}

void CCreature::PlayStepSound(int anim, int step) const
{
    const CAnimSpriteSet* set = GetSpriteSet();
    const AnimStep* s = set ? set->GetStep(anim, step) : nullptr;
    if (!s || s->name[0] == '\0')
        return;
    char name[sizeof s->name + 8];
    std::snprintf(name, sizeof name, "%.*s.WAV", static_cast<int>(sizeof s->name), s->name);
    g_soundManager.PlayAt(name, 0, 0);
}

void CCreature::PlaySpeciesSound(const char* suffix) const
{
    if (m_record.bytes[CharacterRecord::kClassGroup] != 3)
        return;
    char name[64];
    if (SpeciesSound(m_record.I32(CharacterRecord::kClass), suffix, name, sizeof name))
        g_soundManager.PlayAt(name, 0, 0);
}

void CCreature::PlayHitVoice() const
{
    const int type = DecimalValue(reinterpret_cast<const char*>(m_record.bytes.data() + CharacterRecord::kTypeName),
                                  CObrEntry::kNameSize);
    if (const char* voice = HitVoice(m_record.bytes[CharacterRecord::kClassGroup], type))
        g_soundManager.PlayAt(voice, 0, 0);
}
