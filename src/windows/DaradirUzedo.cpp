#include "windows/DaradirUzedo.h"

CLayerHolder g_layerHolder;

int GetMusicVolume()
{
    return 50;
}
