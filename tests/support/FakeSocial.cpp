#include "support/FakeSocial.h"

#include <cstring>
#include <string>

#include "social/ChatLine.h"

void FakeSocial::OnChatReply()
{
    log.Add("OnChatReply");
    g_chatLine.OnReply();
}

void FakeSocial::OnRankingReply(const uint8_t* buf)
{
    log.Add("OnRankingReply", buf ? static_cast<int>(buf[0]) : -1);
}

void FakeSocial::SetRescue(uint16_t id, uint32_t battle)
{
    log.Add("SetRescue", id, battle);
    rescuerId = id;
    rescueBattle = battle;
}

void FakeSocial::ClearRescuer()
{
    log.Add("ClearRescuer");
    rescuerId = 0;
}

int FakeSocial::ParseCommand(const char* line)
{
    log.Add("ParseCommand", line);
    return parseResult;
}

void FakeSocial::SendChat(const char* line) { log.Add("SendChat", line); }

void FakeSocial::SetLastWhisperer(const char* name)
{
    // The name field need not be terminated.
    log.Add("SetLastWhisperer", name ? std::string(name, strnlen(name, 12)) : std::string());
}
