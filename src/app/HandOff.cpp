#include "app/HandOff.h"

HandOffData g_handOff;

bool IsHandOffPath()
{
    return g_handOff.marker == "tolmar";
}
