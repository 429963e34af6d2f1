// What the portal's launcher handed over on the command line.
#pragma once
#include <string>

struct HandOffData {
    std::string marker;  // "tolmar" when the hand-off is valid, else empty
    std::string host;
    int port = 0;
    std::string text;    // sent raw to the server before anything else
};

extern HandOffData g_handOff;

// True when the connect step takes the hand-off path.
bool IsHandOffPath();
