#include "support/FakeScripts.h"

int FakeScripts::Load(const char* name)
{
    log.Add("Load", name);
    return loadResult;
}
