// A recording stand-in for the script engine: installed while it exists (the
// default comes back when it is destroyed); logs every call with its
// arguments in order and returns scripted values.
#pragma once
#include <cstdint>

#include "script/ScriptService.h"
#include "support/CallLog.h"

class FakeScripts : public IScripts {
public:
    FakeScripts() { SetScripts(this); }
    ~FakeScripts() override { SetScripts(nullptr); }
    FakeScripts(const FakeScripts&) = delete;
    FakeScripts& operator=(const FakeScripts&) = delete;

    int Load(const char* name) override;

    CCallLog log;
    int loadResult = 0;
};
