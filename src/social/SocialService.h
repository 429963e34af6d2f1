// What the field, the battle and the windows use of the social subsystem:
// the rescue values and the chat line. Game code calls Social(); g_chatLine
// and the rescue globals serve it, a test may install a recording stand-in
// with SetSocial.
#pragma once
#include <cstdint>

class ISocial {
public:
    virtual ~ISocial() = default;
    // The rescuer's id and the battle of the rescue request, set by the chat
    // handling; the battle's end clears the id.
    virtual uint16_t GetRescuerId() = 0;
    virtual uint32_t GetRescueBattle() = 0;
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
