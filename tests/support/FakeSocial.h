// A recording stand-in for the social subsystem: installed while it exists (the
// default comes back when it is destroyed); logs every call with its
// arguments in order and returns scripted values.
#pragma once
#include <cstdint>

#include "social/SocialService.h"
#include "support/CallLog.h"

class FakeSocial : public ISocial {
public:
    FakeSocial() { SetSocial(this); }
    ~FakeSocial() override { SetSocial(nullptr); }
    FakeSocial(const FakeSocial&) = delete;
    FakeSocial& operator=(const FakeSocial&) = delete;

    uint16_t GetRescuerId() override { return rescuerId; }
    uint32_t GetRescueBattle() override { return rescueBattle; }
    void ClearRescuer() override;
    int ParseCommand(const char* line) override;
    void SendChat(const char* line) override;
    void SetLastWhisperer(const char* name) override;

    CCallLog log;
    uint16_t rescuerId = 0;
    uint32_t rescueBattle = 0;
    // What ParseCommand gives back.
    int parseResult = 0;
};
