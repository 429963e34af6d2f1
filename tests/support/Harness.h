// A whole client on the headless platform: the real application and loop,
// a virtual clock, injected input, captured debug output and message boxes.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fixtures/ArchiveBuilder.h"
#include "platform/headless/HeadlessPlatform.h"

class CFakeServer;

// Puts every process-wide object of the game back to its start state.
void ResetGameGlobals();

class CHarness {
public:
    explicit CHarness(uint32_t clockStart = 0);
    ~CHarness();
    CHarness(const CHarness&) = delete;
    CHarness& operator=(const CHarness&) = delete;

    plat::CHeadlessPlatform& Platform() { return m_platform; }
    plat::CVirtualClock& Clock() { return m_platform.clock; }
    plat::CMessageLoop& Loop();

    // The scripted game server the client connects to, made on first use
    // (on a free loopback port written into the client's settings).
    CFakeServer& Server();
    // Runs the application's start-up with this command line. Installs
    // CArchiveBuilder::MinimalGame() as the archive unless the test has
    // installed one (CTestArchive). Unless the settings name a server port
    // already, the client connects to Server(), which stays silent unless
    // scripted.
    bool Start(const std::string& commandLine = "");
    // One pass of the message loop; false once the loop has quit.
    bool Step();
    void Steps(int n);
    // Steps until pred holds (true) or maxSteps ran (false).
    bool RunUntil(const std::function<bool()>& pred, int maxSteps = 200000);
    // Steps until the virtual clock has moved by ms.
    void RunForMs(uint32_t ms);
    bool Quit();

    // Input, as the desktop would deliver it.
    void KeyDown(uint8_t scan, bool extended = false, bool repeat = false);
    void KeyUp(uint8_t scan, bool extended = false);
    void KeyPress(uint8_t scan, bool extended = false);
    void MouseMove(int x, int y);
    void MouseDown(int button, int x, int y);
    void MouseUp(int button, int x, int y);
    void Click(int button, int x, int y);
    void FocusLost();
    void FocusGained();

    // Everything written to the debug output so far.
    const std::string& DebugText() const { return m_debug; }
    const std::vector<plat::RecordedBox>& Boxes() const { return m_platform.dialogs.boxes; }

private:
    plat::CHeadlessPlatform m_platform;
    std::string m_debug;
    bool m_started = false;
    std::unique_ptr<CTestArchive> m_archive;
    std::unique_ptr<CFakeServer> m_server;
};
