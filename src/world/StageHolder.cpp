#include "world/StageHolder.h"

CStageHolder* g_pStageHolder;
