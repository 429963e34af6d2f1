// The chat line: the replies to chat commands (received command 8).
// Minimal form: the reply is taken off the stream and dropped.
#pragma once

class CChatLine {
public:
    // Reads the 5-byte head (u8 sub-code, u16 value, u16 payload length)
    // and the payload with NetRead.
    void OnReply();
};

extern CChatLine g_chatLine;
