#include "ui/WindowServices.h"

#include "ui/WidgetContainer.h"
#include "windows/DaradirUzedo.h"

bool IsWindowOpen(int32_t id)
{
    CDaradirUzedo* ui = g_layerHolder.GetLayer();
    CWidget* w = ui ? ui->GetRootContainer()->FindChild(id) : nullptr;
    return w && w->IsOpenOrOpening();
}

int ParseChatCommand(const char*) { return 0; }
void SendChatLine(const char*) {}
void NoteChatOverlayLine() {}
uint16_t MyCharId() { return 0; }
void SetLastWhisperer(const char*) {}
void StartChatBalloon(uint16_t, const char*, int32_t) {}
