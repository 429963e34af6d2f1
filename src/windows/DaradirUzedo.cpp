#include "windows/DaradirUzedo.h"

CLayerHolder g_layerHolder;

bool CDaradirUzedo::IsWindowOpen(int id) const
{
    if (id < 0)
        return false;
    const CWidget* w = m_root.FindChild(static_cast<uint32_t>(id));
    return w && w->IsOpenOrOpening();
}
