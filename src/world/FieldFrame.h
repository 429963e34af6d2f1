// The object layer frame's globals and the pieces of it that stand alone.
#pragma once
#include <cstdint>
#include <string_view>

class CTileSet;

// F5 turns on clicking at the cursor while no button is held.
extern uint32_t g_autoClick;
// The millisecond clock of the last repeated click, the last handled left
// click and the last battle-marker click.
extern uint32_t g_lastRepeatClickAt;
extern uint32_t g_lastClickAt;
extern uint32_t g_lastMarkerClickAt;
// Frames counted this second and the count of the last full second.
extern int32_t g_fpsCount;
extern int32_t g_fpsShown;
// The next tip slot (0..15).
extern int32_t g_tipCounter;
// The turn gauge, "data\charge.tle".
extern CTileSet g_turnGaugeSet;

// The character whose profile a right double-click opened: id, name and
// class value.
extern int32_t g_profileId;
extern char g_profileName[17];
extern int32_t g_profileClass;

// What a click on a named structure pushes into the command ring: the
// command, then the argument when not 0; a shop first loads its list.
struct StructureCommand {
    const char* name;
    int command;
    int argument;
    const char* shopList;
};
// Null for a name that counts as ground.
const StructureCommand* FindStructureCommand(std::string_view name);

// A status bar's width: 32 * a / b within 1..32; 1 when b is 0 or below.
int BarWidth(int a, int b);
// The turn gauge's width: timer * 116 / 1800 within 0..116.
int GaugeWidth(int timer);
// The tip of a slot; "" for the silent ones.
const char* TipText(int slot);
// The frame's bar notices on the 800 x 600 buffer.
void DrawBarNotices(uint8_t* bits);
// The battle's title "전투#%d" at (20, 4) of the 800 x 600 buffer.
void DrawBattleTitle(uint8_t* bits, int battle);
// Makes the edit line ask the object layer whether a form field has it.
void InstallFormFieldCheck();
// Back to the start state (between tests).
void ResetFieldFrame();
