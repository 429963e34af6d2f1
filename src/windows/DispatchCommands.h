// The UI command dispatcher's globals: the board request cooldown, what the
// are-you-sure window confirms, the option settings the sliders edit, and
// the command table's rows for the tools that check it.
#pragma once
#include <cstdint>

// Frames that must pass before the next board or mail request is taken.
extern int32_t g_requestCooldown;
// What the are-you-sure window confirms: 1 deleting the character, 0
// leaving the game.
extern int32_t g_areYouSureAction;
// The music, sound, light and transfer-percentage sliders' values, 0..100,
// each 50 at start.
extern int32_t g_musicVolume;
extern int32_t g_soundVolume;
extern int32_t g_lightLevel;
extern int32_t g_transferPercent;

// GetMusicVolume is declared with the UI layer.
int GetSoundVolume();
int GetLightLevel();
int GetTransferPercent();

// A board or mail request may go when no other went in the last 45
// dispatcher passes: true, and the cooldown starts again; false drops it.
bool TakeRequestCooldown();

// What a command id's row does: nothing known (reported and skipped), or
// its action.
enum class CommandRow : uint8_t { kUnassigned, kWritten };
CommandRow GetCommandRow(int id);
// Entries that follow the id in the ring as its arguments.
int CommandArgumentCount(int id);

// Back to the state at process start (between tests).
void ResetDispatchGlobals();
