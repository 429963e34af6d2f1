// What the field and the battle use of the social subsystem: the chat reply
// handler, the ranking reply and the rescue values. Game code calls
// Social(); g_chatLine and the UI layer serve it, a test may install a
// recording stand-in with SetSocial.
#pragma once
#include <cstdint>

class ISocial {
public:
    virtual ~ISocial() = default;
    // Received command 8: reads its head and payload with NetRead.
    virtual void OnChatReply() = 0;
    // Received command 110: byte 0 ('e' = not found) and 90 more bytes.
    virtual void OnRankingReply(const uint8_t* buf) = 0;
    // The rescuer's id and the battle of the rescue request, set by the chat
    // handling; the battle's end clears the id.
    virtual uint16_t GetRescuerId() = 0;
    virtual uint32_t GetRescueBattle() = 0;
    virtual void SetRescue(uint16_t rescuerId, uint32_t battle) = 0;
    virtual void ClearRescuer() = 0;
    // A line typed into a window: g_chatLine's slash commands (1 when the
    // line was one), else it goes out as chat.
    virtual int ParseCommand(const char* line) = 0;
    virtual void SendChat(const char* line) = 0;
    // Remembers the 12-byte name of a whisper's sender.
    virtual void SetLastWhisperer(const char* name) = 0;
};

ISocial& Social();
// Null puts the default back.
void SetSocial(ISocial* social);
