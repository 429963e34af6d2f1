#include "world/StageLoader.h"

int g_currentMapId;
int g_lastLoadedStage = -1;

int LoadStage(int stage)
{
    g_lastLoadedStage = stage;
    return 1;
}

void ResetStageLoader()
{
    g_currentMapId = 0;
    g_lastLoadedStage = -1;
}
