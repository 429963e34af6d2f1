#include "windows/ProfileCommands.h"

#include <cstring>

#include "app/CommandRing.h"
#include "app/StringTable.h"
#include "ui/MessageRing.h"
#include "windows/DaradirUzedo.h"
#include "windows/MouseCursor.h"
#include "windows/PlayerInfo.h"
#include "windows/ProfileRecord.h"
#include "world/Character.h"
#include "world/CharacterRecord.h"
#include "world/ObjLayer.h"
#include "world/StageLoader.h"

namespace {

constexpr int kGroupWindow = 12;
constexpr int kHairWindow = 87;
constexpr int kToggleProfile = 12;
constexpr int kDuelLevel = 10;
// Nobody is wanted in the free-fight map.
constexpr int kFreeFightMap = 3;
enum : int {
    kStrNotSupported = 66,
    kStrNotHere = 70,
    kStrNoChallenge = 72,
    kStrDuelLevel = 77,
    kStrInJail = 176,
    kStrOutOfUse = 187,
    kStrWanted = 200,
};
// The appearance word keeps bits 1..2; the hair colour is the rest from bit 3.
constexpr uint32_t kLookKept = 0x6;
constexpr int kLookShift = 3;
constexpr int kLookField = 23;
constexpr int kDyeItems[] = {143, 144};

void Say(int id) { g_messageRing.AddLine(GetGameString(id)); }

void RefreshGroup(CDaradirUzedo& ui)
{
    if (CWidget* w = ui.GetRootContainer()->FindChild(kGroupWindow))
        w->Refresh();
}

uint16_t ShownId() { return static_cast<uint16_t>(g_profileRecord.charId); }

// The name of the profile record, terminated.
void ShownName(char (&out)[ProfileRecord::kNameSize + 1])
{
    std::memset(out, 0, sizeof out);
    std::memcpy(out, g_profileRecord.name, ProfileRecord::kNameSize);
}

// The rules of a duel command (no battle, not in jail, level 10); true
// when it may go on. During a battle it says nothing.
bool DuelAllowed(CObjLayer* layer)
{
    if (!layer || layer->m_inBattle)
        return false;
    if (g_inJail == 1) {
        Say(kStrInJail);
        return false;
    }
    if (layer->MyRecord().I32(CharacterRecord::kLevel) < kDuelLevel) {
        Say(kStrDuelLevel);
        return false;
    }
    return true;
}

void Challenge(CObjLayer* layer)
{
    if (!DuelAllowed(layer))
        return;
    if (!layer->FindCharacterById(ShownId())) {
        Say(kStrNotHere);
        return;
    }
    char name[ProfileRecord::kNameSize + 1];
    ShownName(name);
    layer->RequestDuel(ShownId(), name);
}

void AcceptChallenge(CObjLayer* layer)
{
    if (DuelAllowed(layer)) {
        if (layer->m_pendingChallenger == 0 || layer->m_pendingChallenger != ShownId())
            Say(kStrNoChallenge);
        else if (!layer->FindCharacterById(ShownId()))
            Say(kStrNotHere);
        else
            layer->SendChallengeReply(ShownId(), 1, 0);
    }
    g_commandRing.Push(kToggleProfile);
}

void GroupWithShown(CObjLayer* layer, bool accept)
{
    const CharacterRecord* me = g_playerInfo.GetMyRecord();
    if (me && IsWanted(*me) && g_currentMapId != kFreeFightMap) {
        Say(kStrWanted);
        return;
    }
    if (!layer || layer->m_inBattle)
        return;
    char name[ProfileRecord::kNameSize + 1];
    ShownName(name);
    if (accept)
        layer->AcceptGroupInvite(ShownId());
    else
        layer->InviteToGroup(ShownId(), name);
}

void ApplyHairColour(CDaradirUzedo& ui, CObjLayer* layer)
{
    CCharacter* me = layer ? layer->GetMyCharacter() : nullptr;
    if (me && ui.m_pendingHairColor != -1) {
        CharacterRecord& rec = me->GetCharRecord();
        const uint32_t kept = rec.U32(CharacterRecord::kLook) & kLookKept;
        rec.SetU32(CharacterRecord::kLook, static_cast<uint32_t>(ui.m_pendingHairColor) << kLookShift | kept);
        layer->SetMyCharRecord(rec);
        layer->SendCharacterField(kLookField);
        ui.m_pendingHairColor = -1;
        // The dye is used up.
        for (int item : kDyeItems)
            for (int slot = 0; slot < CPlayerInfo::kItemSlots; ++slot)
                if (CPlayerInfo::GetItem(rec, slot) == item) {
                    CMouseCursor::RemoveSlotItem(slot);
                    break;
                }
    }
    ui.ToggleWindow(kHairWindow);
}

}  // namespace

bool RunProfileCommand(CDaradirUzedo& ui, int id)
{
    CObjLayer* layer = GetObjLayer();
    const bool battleFree = layer && !layer->m_inBattle;
    switch (id) {
    case 8:
    case 23:
        Say(kStrNotSupported);
        RefreshGroup(ui);
        return true;
    case 9:
    case 10:
    case 22:
        if (battleFree) {
            if (id == 9)
                layer->LeaveGroup();
            else if (id == 10)
                layer->SendGroupQ();
            else
                layer->DisbandGroup();
        }
        RefreshGroup(ui);
        return true;
    case 25: Challenge(layer); return true;
    case 27: AcceptChallenge(layer); return true;
    case 26:
    case 28: GroupWithShown(layer, id == 28); return true;
    case 117: ApplyHairColour(ui, layer); return true;
    case 143: Say(kStrOutOfUse); return true;
    default: return false;
    }
}
