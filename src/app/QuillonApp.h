// The application object: start-up, the message loop and the idle handler
// that drives the game.
#pragma once
#include <cstdint>

#include "platform/Loop.h"

class CMainFrame;

using BOOL = int;
constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

class CQuillonApp : public plat::IIdleHandler {
public:
    // Everything before the first idle call; FALSE ends the program.
    BOOL InitInstance();
    // Runs the message loop until the main window is gone.
    int Run();
    // Releases what InitInstance built.
    int ExitInstance();

    // One idle pass: the connect step until the server accepted the
    // client, then the game frame. Always TRUE.
    int OnIdle(long count) override;
    uint32_t IdleWaitMs() override;
    // MM_MCINOTIFY with "successful" restarts the music, so it loops.
    bool PreTranslateMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam);

    CMainFrame* m_pMainWnd = nullptr;
    // The process's exit code when InitInstance refused to start.
    int m_startExitCode = 0;
};

extern CQuillonApp theApp;
