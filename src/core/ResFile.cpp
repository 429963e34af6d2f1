#include "core/ResFile.h"

int ExtractMusicFiles()
{
    return 1;
}

void DeleteMusicFiles()
{
}
