#include "social/SocialService.h"

#include <cstring>

#include "social/ChatLine.h"

uint16_t g_rescuerId;
uint32_t g_rescueBattle;

namespace {

// g_chatLine and the rescue globals.
class CSocialService : public ISocial {
public:
    uint16_t GetRescuerId() override { return g_rescuerId; }
    uint32_t GetRescueBattle() override { return g_rescueBattle; }
    void ClearRescuer() override { g_rescuerId = 0; }
    int ParseCommand(const char* line) override { return g_chatLine.ParseCommand(line); }
    void SendChat(const char* line) override
    {
        if (!line)
            return;
        // The sender works on its own copy of the input line.
        char text[CChatLine::kLineSize] = {};
        std::strncpy(text, line, sizeof text - 1);
        CChatLine::SendChat(text);
    }
    void SetLastWhisperer(const char* name) override
    {
        for (size_t i = 0; i < g_lastWhisperer.size(); ++i)
            g_lastWhisperer[i] = name ? name[i] : '\0';
    }
};

CSocialService g_socialService;
ISocial* g_pSocial = nullptr;

}  // namespace

ISocial& Social() { return g_pSocial ? *g_pSocial : g_socialService; }

void SetSocial(ISocial* social) { g_pSocial = social; }
