// The chat line: the replies to chat commands (received command 8).
// Minimal form: the reply is taken off the stream and dropped.
#pragma once
#include <array>
#include <cstdint>

class CChatLine {
public:
    // Reads the 5-byte head (u8 sub-code, u16 value, u16 payload length)
    // and the payload with NetRead.
    void OnReply();
    // A typed line: 1 when it was a slash command (and handled), 0 for a
    // chat line. The slash commands come with the chat.
    int ParseCommand(const char* line);
};

extern CChatLine g_chatLine;

// The rescue request last received: the rescuer's id (0 none) and the
// battle number it was asked in.
extern uint16_t g_rescuerId;
extern uint32_t g_rescueBattle;
// The 12-byte CP949 name of the last player who whispered to me (replies go
// to it); not terminated when the name fills it.
extern std::array<char, 12> g_lastWhisperer;
