#include "windows/PrevButton.h"

#include "app/CommandRing.h"

CPrevButton::CPrevButton(const char* slrName, int32_t openX, int32_t openY, int32_t closedX, int32_t closedY)
    : CButtonWidget(kId, slrName, openX, openY, closedX, closedY, kCommand, kRepeatFrames)
{
}

int32_t CPrevButton::OnEscape()
{
    g_commandRing.Push(static_cast<uint32_t>(kCommand));
    return kId;
}
