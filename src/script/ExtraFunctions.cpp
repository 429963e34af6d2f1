#include "script/ExtraFunctions.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/CommandRing.h"
#include "core/Display.h"
#include "core/PaletteManager.h"
#include "core/TextLayer.h"
#include "script/ScriptManager.h"
#include "script/ScriptNode.h"
#include "script/ScriptServices.h"
#include "script/Variable.h"
#include "world/CharacterRecord.h"
#include "windows/PlayerInfo.h"
#include "world/ObjLayer.h"

int32_t g_uiCommandsSuspended = 0;

int CExtraFunction::Run(ScriptArgBlock&, uint32_t) { return 1; }

namespace {

// The script whose action 24 set the suspension in force; null when none
// is, or that script has ended normally.
const CScriptContext* g_pSuspender = nullptr;

constexpr size_t kShowTextSize = 80;
constexpr size_t kDialogueSize = 1024;
constexpr int kShowTextTicks = 11;

int32_t IntArg(const ScriptArgBlock& args, int index)
{
    return args.variables ? args.variables->GetIntAt(index) : 0;
}

// A missing string argument reads as empty.
const char* StringArg(const ScriptArgBlock& args, int index)
{
    const char* text = args.variables ? args.variables->GetStringAt(index) : nullptr;
    return text ? text : "";
}

// The used entries of the player's item list, counted up to the first
// empty one.
int UsedItemSlots(const CharacterRecord& rec)
{
    int n = 0;
    while (n < CPlayerInfo::kItemSlots && CPlayerInfo::GetItem(rec, n) != 0)
        ++n;
    return n;
}

// 1: every argument, ints as decimal text, drawn at (100, 150) on 11 steps.
class CShowText : public CExtraFunction {
public:
    int Run(ScriptArgBlock& args, uint32_t tick) override
    {
        char text[kShowTextSize] = {};
        size_t len = 0;
        for (int i = 0; args.variables && args.variables->GetTypeAt(i) != CVariable::kNone; ++i) {
            const std::string part = args.variables->GetTypeAt(i) == CVariable::kString
                                         ? std::string(StringArg(args, i))
                                         : std::to_string(IntArg(args, i));
            const size_t n = std::min(part.size(), sizeof text - 1 - len);
            std::memcpy(text + len, part.data(), n);
            len += n;
        }
        text[len] = '\0';
        if (g_pTextLayer && g_pFrameBits) {
            g_pTextLayer->SetTarget(g_pFrameBits, CDisplay::kWidth, CDisplay::kHeight);
            g_pTextLayer->SetColor(1);
            g_pTextLayer->SetColors(60, 255);
            g_pTextLayer->DrawText(100, 150, text, 1);
        }
        return tick + 1 >= kShowTextTicks ? 1 : 0;
    }
};

// 2 and 3: a palette fade, finished when the palette has carried it out.
class CFadeIn : public CExtraFunction {
public:
    int Run(ScriptArgBlock&, uint32_t tick) override
    {
        if (tick == 0 && g_pPalette)
            g_pPalette->StartFade(100);
        return (!g_pPalette || g_pPalette->GetFadeMode() == 0) ? 1 : 0;
    }
};

class CFadeToBlack : public CExtraFunction {
public:
    int Run(ScriptArgBlock&, uint32_t tick) override
    {
        if (tick == 0 && g_pPalette)
            g_pPalette->FadeToColor(0, 0, 0, 100);
        return (!g_pPalette || g_pPalette->GetFadeMode() == 0) ? 1 : 0;
    }
};

// 4: takes one int and does nothing with it.
class CNoAction : public CExtraFunction {
public:
    int Run(ScriptArgBlock& args, uint32_t) override
    {
        (void)IntArg(args, 0);
        return 1;
    }
};

// 17: the id goes into the command ring; the UI runs it on its next pass.
class CPushCommand : public CExtraFunction {
public:
    int Run(ScriptArgBlock& args, uint32_t) override
    {
        g_commandRing.Push(static_cast<uint32_t>(IntArg(args, 0)));
        return 1;
    }
};

// 18: the dialogue, done when the player has paged through the box.
class CDialogue : public CExtraFunction {
public:
    int Run(ScriptArgBlock& args, uint32_t tick) override
    {
        if (tick == 0) {
            ExpandText(StringArg(args, 0), m_text, sizeof m_text);
            ScriptMessageBox().SetText(m_text);
        }
        return ScriptMessageBox().IsEmpty() ? 1 : 0;
    }

private:
    char m_text[kDialogueSize] = {};
};

// 19: system variable 50002 tells whether the player holds the item.
class CHasItem : public CExtraFunction {
public:
    int Run(ScriptArgBlock& args, uint32_t) override
    {
        g_scriptListFlag = 0;
        const CharacterRecord* rec = PlayerRecord();
        if (!rec)
            return 1;
        const int32_t id = IntArg(args, 0);
        const int used = UsedItemSlots(*rec);
        for (int i = 0; i < used; ++i)
            if (CPlayerInfo::GetItem(*rec, i) == id)
                g_scriptListFlag = 1;
        return 1;
    }
};

// 20: gives the item unless all 100 slots are used.
class CGiveItem : public CExtraFunction {
public:
    int Run(ScriptArgBlock& args, uint32_t) override
    {
        const CharacterRecord* rec = PlayerRecord();
        if (rec && UsedItemSlots(*rec) < CPlayerInfo::kItemSlots)
            ScriptPlayer().AddItem(IntArg(args, 0));
        return 1;
    }
};

class CTakeItem : public CExtraFunction {
public:
    int Run(ScriptArgBlock& args, uint32_t) override
    {
        ScriptPlayer().RemoveItem(IntArg(args, 0));
        return 1;
    }
};

// 22: the timer stamp takes the game time's low 16 bits; system variable
// 50003 counts from it.
class CStampTimer : public CExtraFunction {
public:
    int Run(ScriptArgBlock&, uint32_t) override
    {
        CharacterRecord* rec = PlayerRecord();
        CObjLayer* layer = PlayerLayer();
        if (!rec || !layer)
            return 1;
        const uint32_t stamp = rec->U32(CharacterRecord::kGameTime) & 0xFFFF;
        rec->SetU16(CharacterRecord::kTimerStamp, stamp);
        layer->MyRecord().SetU16(CharacterRecord::kTimerStamp, stamp);
        layer->SendCharacterField(25);
        return 1;
    }
};

// 23: another script, in a slot of its own; this one goes on at once.
class CStartScript : public CExtraFunction {
public:
    int Run(ScriptArgBlock& args, uint32_t) override
    {
        const char* name = StringArg(args, 0);
        if (name[0] != '\0')
            CScriptManager::Load(name);
        return 1;
    }
};

class CSuspendCommands : public CExtraFunction {
public:
    int Run(ScriptArgBlock& args, uint32_t) override
    {
        g_uiCommandsSuspended = IntArg(args, 0);
        g_pSuspender = g_uiCommandsSuspended ? args.script : nullptr;
        return 1;
    }
};

CShowText g_showText;
CFadeIn g_fadeIn;
CFadeToBlack g_fadeToBlack;
CNoAction g_noAction;
CPushCommand g_pushCommand;
CDialogue g_dialogue;
CHasItem g_hasItem;
CGiveItem g_giveItem;
CTakeItem g_takeItem;
CStampTimer g_stampTimer;
CStartScript g_startScript;
CSuspendCommands g_suspendCommands;

}  // namespace

void ScriptEnded(const CScriptContext& script, bool cutShort)
{
    if (g_pSuspender != &script)
        return;
    if (cutShort)
        g_uiCommandsSuspended = 0;
    g_pSuspender = nullptr;
}

void ClearCommandSuspension()
{
    g_uiCommandsSuspended = 0;
    g_pSuspender = nullptr;
}

CExtraFunction* FindExtraFunction(uint32_t number)
{
    switch (number) {
    case 1: return &g_showText;
    case 2: return &g_fadeIn;
    case 3: return &g_fadeToBlack;
    case 4: return &g_noAction;
    case 17: return &g_pushCommand;
    case 18: return &g_dialogue;
    case 19: return &g_hasItem;
    case 20: return &g_giveItem;
    case 21: return &g_takeItem;
    case 22: return &g_stampTimer;
    case 23: return &g_startScript;
    case 24: return &g_suspendCommands;
    default: return nullptr;
    }
}

void ExpandText(const char* source, char* out, size_t size)
{
    if (!out || size == 0)
        return;
    size_t len = 0;
    auto put = [&](const char* text, size_t n) {
        n = std::min(n, size - 1 - len);
        std::memcpy(out + len, text, n);
        len += n;
    };
    const char* p = source ? source : "";
    while (*p) {
        if (p[0] != '$' || p[1] != '$') {
            put(p++, 1);
            continue;
        }
        const char* name = p + 2;
        const char* close = std::strstr(name, "$$");
        if (!close)
            break;  // an open placeholder is dropped
        if (close - name == 2 && std::strncmp(name, "id", 2) == 0) {
            char charName[32] = {};
            ScriptPlayer().GetCharName(charName, sizeof charName);
            put(charName, std::strlen(charName));
        }
        p = close + 2;
    }
    out[len] = '\0';
}
