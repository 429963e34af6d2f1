#include "audio/MusicPlayer.h"

CMusicPlayer g_musicPlayer;
CMixer g_mixer;
