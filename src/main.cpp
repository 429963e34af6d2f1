// Quorvel: the program's entry point. Picks the platform backend, then runs
// the application as the framework would.
#include <cstdio>
#include <memory>
#include <string>

#include "app/QuillonApp.h"
#include "platform/Platform.h"
#include "platform/Process.h"
#include "platform/headless/HeadlessPlatform.h"
#if defined(QUORVEL_HAVE_SDL)
#include "platform/sdl/SdlPlatform.h"
#endif
#if defined(QUORVEL_HAVE_GTK)
#include "platform/FormDialog.h"
#include "platform/gtk/GtkDialogs.h"
#include "platform/gtk/GtkFormDialogs.h"
#endif

int main(int argc, char** argv)
{
    plat::SetCommandLine(argc, argv);

    std::unique_ptr<plat::CHeadlessPlatform> headless;
#if defined(QUORVEL_HAVE_SDL)
    std::unique_ptr<plat::CSdlPlatform> sdl;
    if (plat::ChosenBackend() == plat::BackendKind::Sdl) {
        sdl = std::make_unique<plat::CSdlPlatform>();
        std::string error;
        if (!sdl->Init(error)) {
            std::fprintf(stderr, "Quorvel: cannot open the display: %s\n", error.c_str());
            return 1;
        }
    }
#if defined(QUORVEL_HAVE_GTK)
    // The writing dialogs open on the desktop beside the game's window, and
    // message boxes show there in the desktop's fonts; SDL's own box (which
    // cannot draw Hangul) only where GTK cannot reach the desktop.
    std::unique_ptr<plat::CGtkFormDialogs> forms;
    std::unique_ptr<plat::CGtkDialogs> boxes;
    if (sdl) {
        forms = std::make_unique<plat::CGtkFormDialogs>();
        forms->SetOwner([&sdl] { return sdl->window.X11Window(); });
        plat::SetFormDialogs(forms.get());
        plat::CSdlDialogs& sdlBoxes = sdl->Dialogs();
        boxes = std::make_unique<plat::CGtkDialogs>(sdlBoxes, [&sdlBoxes] { sdlBoxes.AfterBox(); });
        plat::SetDialogs(boxes.get());
    }
#endif
    if (!sdl)
#endif
    {
        plat::HeadlessConfig config;
        config.advanceOnWait = false;
        headless = std::make_unique<plat::CHeadlessPlatform>(config);
        plat::SetClock(nullptr);  // real time when run as a program
        // No box can be shown: the terminal has the text, nobody says yes.
        plat::SetDialogs(nullptr);
    }

    int code = 0;
    if (theApp.InitInstance()) {
        code = theApp.Run();
    } else {
        code = theApp.m_startExitCode;
    }
    int exitCode = theApp.ExitInstance();
    return code != 0 ? code : exitCode;
}
