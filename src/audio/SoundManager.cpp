#include "audio/SoundManager.h"

CSoundManager g_soundManager;
