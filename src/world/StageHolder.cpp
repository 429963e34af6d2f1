#include "world/StageHolder.h"

#include <cstdio>
#include <string>

#include "app/ExitGame.h"
#include "app/QuillonView.h"
#include "app/StringTable.h"
#include "core/AnimSpriteSet.h"
#include "core/TileSet.h"
#include "effects/EffectsService.h"
#include "platform/Crt.h"
#include "platform/Debug.h"
#include "platform/Dialogs.h"
#include "rules/GameData.h"
#include "world/BGLayer.h"
#include "world/FieldFrame.h"
#include "world/ObjLayer.h"
#include "world/ObrEntry.h"

CStageHolder* g_pStageHolder;
int g_objectFilesRand;

const std::array<const char*, kObjectFileCount> kObjectFiles = {
    "eric.obr",       "celinne.obr",      "andrew.obr",        "julia.obr",      "ingeborg.obr",
    "reinhardt.obr",  "anpisvena.obr",    "baltanders.obr",    "burak.obr",      "crocta.obr",
    "ferjebab.obr",   "item.obr",         "kabunkl.obr",       "katoblepas.obr", "marcokias.obr",
    "operator.obr",   "remora.obr",       "reviatan.obr",      "satiros.obr",    "simurg.obr",
    "skuonc.obr",     "veheimos.obr",     "dweapondealer.obr", "exchaner.obr",   "merchant.obr",
    "weapondealer.obr", "madman.obr",     "oldman.obr",        "berue.obr",      "vaarak.obr",
    "agares.obr",     "eligol.obr",       "harpas.obr",        "humbaba.obr",    "jochigan.obr",
    "mantigoras.obr", "odradech.obr",     "pastitokalon.obr",  "seilen.obr",     "miermecoleon.obr",
    "craken.obr",     "huruhuru.obr",     "battleing.obr",     "deathmach.obr",  "groupske.obr",
};

const char kCharAnimNames[kCharAnimSlots][32] = {
    "WALK_0", "WALK_1", "WALK_2", "WALK_3", "WALK_4", "WALK_5", "WALK_6", "WALK_7",  // 0..7
    "STAND_0", "STAND_1", "STAND_2", "STAND_3", "STAND_4", "STAND_5", "STAND_6", "STAND_7",  // 8..15
    "DASH_0", "DASH_1", "DASH_2", "DASH_3", "DASH_4", "DASH_5", "DASH_6", "DASH_7",  // 16..23
    "FLY",  // 24
    "COUNTER_0", "COUNTER_1", "COUNTER_2", "COUNTER_3", "COUNTER_4", "COUNTER_5", "COUNTER_6", "COUNTER_7",  // 25..32
    "SLOT_33", "SLOT_34", "SLOT_35", "SLOT_36", "SLOT_37", "SLOT_38", "SLOT_39", "SLOT_40",  // 33..40
    "FLYPAST",  // 41
    "SLOT_42",  // 42
    "HIT",  // 43
    "ATTACK_0", "ATTACK_1", "ATTACK_2", "ATTACK_3", "ATTACK_4", "ATTACK_5", "ATTACK_6", "ATTACK_7",  // 44..51
    "RAISE_0", "RAISE_1", "RAISE_2", "RAISE_3", "RAISE_4", "RAISE_5", "RAISE_6", "RAISE_7",  // 52..59
    "HOLD_0", "HOLD_1", "HOLD_2", "HOLD_3", "HOLD_4", "HOLD_5", "HOLD_6", "HOLD_7",  // 60..67
    "LOWER_0", "LOWER_1", "LOWER_2", "LOWER_3", "LOWER_4", "LOWER_5", "LOWER_6", "LOWER_7",  // 68..75
    "CAST_0", "CAST_1", "CAST_2", "CAST_3", "CAST_4", "CAST_5", "CAST_6", "CAST_7",  // 76..83
};

void ReportUnreadableFile(const char* path)
{
    char text[160];
    std::snprintf(text, sizeof text, GetGameString(IDS_FILE_UNREADABLE), path);
    plat::MessageBox("", text);
    ExitGame();
}

void CStageHolder::SetLayersClip(int left, int top, int right, int bottom)
{
    if (!m_pView)
        return;
    if (CBGLayer* bg = m_pView->m_pBGLayer)
        bg->SetViewRect(left, top, right, bottom);
    if (CObjLayer* layer = m_pView->m_pObjLayer)
        layer->SetViewRect(left, top, right, bottom);
}

int CStageHolder::LoadCursor()
{
    if (g_cursorTileSet.Load("data\\cursor.tle") < 0) {
        plat::DebugOut("cursor.tle could not be read: no mouse cursor\n");
        return 0;
    }
    return 1;
}

int CStageHolder::LoadObjectFiles() { return LoadObjectFiles(false); }

int CStageHolder::LoadObjectFilesAlt() { return LoadObjectFiles(true); }

int CStageHolder::LoadObjectFiles(bool showLoading)
{
    CObjLayer* layer = m_pView ? m_pView->m_pObjLayer : nullptr;
    if (!layer)
        return 0;
    auto shown = [&](int percent) {
        if (showLoading)
            m_pView->ShowLoading(percent);
    };
    for (const char* name : kObjectFiles) {
        const std::string path = std::string("data\\") + name;
        if (layer->LoadObr(path.c_str()) != 0) {
            ReportUnreadableFile(path.c_str());
            return 0;
        }
    }
    shown(75);
    for (int i = 0; i < layer->GetCharSetCount(); ++i)
        layer->GetCharSet(i)->SetAnimation(kCharAnimNames, kCharAnimSlots);
    if (const CObrCharEntry* first = layer->GetCharEntry(0))
        layer->SetMyCharRecord(first->GetCharRecord());
    shown(80);
    // Without the turn gauge a battle shows its bar alone.
    if (g_turnGaugeSet.Load("data\\charge.tle") < 0)
        plat::DebugOut("charge.tle could not be read: no turn gauge\n");
    shown(90);
    Effects().LoadResources();
    shown(95);
    InitGameData();
    g_objectFilesRand = plat::Rand();
    shown(100);
    return 1;
}
