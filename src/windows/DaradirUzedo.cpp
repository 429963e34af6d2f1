#include "windows/DaradirUzedo.h"

#include "app/CommandRing.h"

CLayerHolder g_layerHolder;

int GetMusicVolume()
{
    return 50;
}

bool CDaradirUzedo::IsWindowOpen(int id) const
{
    if (id < 0)
        return false;
    const CWidget* w = m_root.FindChild(static_cast<uint32_t>(id));
    return w && w->IsOpenOrOpening();
}

void CDaradirUzedo::DispatchCommands()
{
    while (g_commandRing.Pop() != CCommandRing::kEmpty) {
    }
}
