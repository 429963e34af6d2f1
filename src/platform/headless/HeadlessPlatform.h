// The headless backend: a virtual clock, an in-memory settings store and
// window, recorded message boxes with scripted answers, recorded sound and
// music, and input that tests inject. Everything a whole-client test needs
// to run the real loop.
#pragma once
#include <deque>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Loop.h"
#include "platform/Settings.h"
#include "platform/Window.h"
#include "platform/headless/HeadlessVideo.h"
#include "platform/headless/RecordingMusic.h"
#include "platform/headless/RecordingSound.h"
#include "platform/headless/ScriptedFormDialogs.h"

namespace plat {

struct RecordedBox {
    std::string caption;  // CP949
    std::string text;     // CP949
    bool yesNo = false;
    bool answer = true;
    std::string yes, no;  // a question's buttons, CP949
    int cursorCount = 0;  // the window's ShowCursor count while the box was up
};

class CRecordingDialogs : public IDialogs {
public:
    CRecordingDialogs() = default;
    // The window whose cursor count the boxes record.
    explicit CRecordingDialogs(const CMemoryWindow* window) : m_window(window) {}
    void ShowMessage(const std::string& caption, const std::string& text) override;
    bool AskYesNo(const std::string& caption, const std::string& text,
                  const std::string& yes, const std::string& no) override;

    std::vector<RecordedBox> boxes;
    std::deque<bool> answers;  // taken by AskYesNo; yes when empty

private:
    int CursorCount() const { return m_window ? m_window->m_cursorCount : 0; }
    const CMemoryWindow* m_window = nullptr;
};

struct HeadlessConfig {
    uint32_t clockStart = 0;
    // The loop's waits advance the virtual clock by their length.
    bool advanceOnWait = true;
};

class CHeadlessPlatform : public ILoopBackend {
public:
    explicit CHeadlessPlatform(const HeadlessConfig& config = {});
    ~CHeadlessPlatform() override;
    CHeadlessPlatform(const CHeadlessPlatform&) = delete;
    CHeadlessPlatform& operator=(const CHeadlessPlatform&) = delete;

    void PollInput(std::vector<RawEvent>& out) override;
    void Wait(uint32_t timeoutMs, std::vector<struct pollfd>& fds) override;

    CVirtualClock clock;
    CMemorySettings settings;
    CMemoryWindow window;
    CRecordingDialogs dialogs{&window};
    CScriptedFormDialogs forms;
    CHeadlessVideo video;
    CRecordingSoundDevice sound;
    CRecordingMusicDevice music;
    bool advanceOnWait;
    uint64_t waits = 0;
    // The player's files go to a directory of this platform's own, removed
    // with it, unless a data directory was set before it was made.
    std::string dataDir;
};

}  // namespace plat
