// What the window base asks of the UI layer, the chat code, the player data
// and the effects.
#pragma once
#include <cstdint>

// The root container's child with that id is opening or open.
bool IsWindowOpen(int32_t id);
// 1 when the line was a slash command (and handled).
int ParseChatCommand(const char* line);
// Sends a chat line (command 7).
void SendChatLine(const char* line);
// A line arrived in a window: the chat overlay shows it.
void NoteChatOverlayLine();
// The player's character id.
uint16_t MyCharId();
// The 12-byte name replies to whispers go to.
void SetLastWhisperer(const char* name);
// A balloon over the speaker, when the speaker is on the field.
void StartChatBalloon(uint16_t charId, const char* line, int32_t colour);
