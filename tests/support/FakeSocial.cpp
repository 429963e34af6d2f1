#include "support/FakeSocial.h"

#include <cstring>
#include <string>


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
