// What a town NPC or a marked structure offers when it is clicked: the field
// pushes 75 and the talk id, the dispatcher hands the id here.
#include "app/CommandRing.h"
#include "script/ScriptService.h"
#include "windows/DaradirUzedo.h"
#include "windows/ItemList.h"
#include "windows/PlayerInfo.h"
#include "world/CharacterRecord.h"

namespace {

constexpr int kBankWindow = 94;
constexpr int kBankCommand = 123;
// The script value from which the weapon merchant sells the second list.
constexpr int32_t kSecondWeaponList = 1024;

constexpr struct {
    int32_t id;
    const char* script;
} kTalkScripts[] = {
    {55, "Crackpot"},     {9001, "BakMerc"},    {10001, "Herb"},        {10002, "S1arrowsw"},
    {10003, "S1arrowse"}, {10004, "S1arrowsw2"}, {10005, "S1arrowjail"}, {10006, "Poison"},
};

}  // namespace

void CDaradirUzedo::TalkToNpc(int32_t id)
{
    auto open = [this](int32_t window) {
        if (CWidget* w = Child(window))
            w->SetState(CWidget::kOpening);
    };
    switch (id) {
    case 50: {
        const CharacterRecord* rec = g_playerInfo.GetMyRecord();
        const int32_t value = rec ? rec->I16(CharacterRecord::kScriptValue) : 0;
        g_itemList.Load(value < kSecondWeaponList ? "weapon01.bin" : "weapon02.bin");
        open(102);
        return;
    }
    case 51:
        g_itemList.Load("shield01.bin");
        open(103);
        return;
    case 52:
        if (!IsWindowOpen(kBankWindow))
            g_commandRing.Push(kBankCommand);
        Scripts().Load("Banker");
        return;
    case 54: open(101); return;
    default: break;
    }
    for (const auto& t : kTalkScripts)
        if (t.id == id) {
            Scripts().Load(t.script);
            return;
        }
}
