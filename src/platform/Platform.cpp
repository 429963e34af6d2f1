#include "platform/Platform.h"

#include <cstdlib>
#include <cstring>

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FormDialog.h"
#include "platform/Loop.h"
#include "platform/Music.h"
#include "platform/Settings.h"
#include "platform/Video.h"
#include "platform/Sound.h"
#include "platform/Window.h"

namespace plat {

BackendKind ChosenBackend()
{
    const char* v = std::getenv("QUORVEL_PLATFORM");
    if (v && std::strcmp(v, "headless") == 0)
        return BackendKind::Headless;
    return BackendKind::Sdl;
}

void UninstallServices()
{
    SetMusicDevice(nullptr);
    SetSoundDevice(nullptr);
    Loop().Reset();
    SetClock(nullptr);
    SetDialogs(nullptr);
    SetFormDialogs(nullptr);
    SetSettings(nullptr);
    SetWindow(nullptr);
    SetVideo(nullptr);
}

}  // namespace plat
