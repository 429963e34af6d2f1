#include "world/StageHolder.h"

#include "core/TileSet.h"
#include "platform/Debug.h"
#include "rules/GameData.h"

CStageHolder* g_pStageHolder;

int CStageHolder::LoadCursor()
{
    if (g_cursorTileSet.Load("data\\cursor.tle") < 0) {
        plat::DebugOut("cursor.tle could not be read: no mouse cursor\n");
        return 0;
    }
    return 1;
}

int CStageHolder::LoadObjectFiles()
{
    InitGameData();
    return 1;
}
