#include "platform/headless/HeadlessPlatform.h"

#include <poll.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/Music.h"
#include "platform/Platform.h"
#include "platform/Process.h"
#include "platform/Video.h"
#include "platform/Sound.h"

namespace plat {

void CRecordingDialogs::ShowMessage(const std::string& caption, const std::string& text)
{
    boxes.push_back(RecordedBox{caption, text, false, true, {}, {}, CursorCount()});
}

bool CRecordingDialogs::AskYesNo(const std::string& caption, const std::string& text,
                                 const std::string& yes, const std::string& no)
{
    bool answer = true;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    boxes.push_back(RecordedBox{caption, text, true, answer, yes, no, CursorCount()});
    return answer;
}

CHeadlessPlatform::CHeadlessPlatform(const HeadlessConfig& config)
    : clock(config.clockStart), advanceOnWait(config.advanceOnWait)
{
    SetClock(&clock);
    SetSettings(&settings);
    SetDialogs(&dialogs);
    SetFormDialogs(&forms);
    SetWindow(&window);
    SetVideo(&video);
    SetSoundDevice(&sound);
    SetMusicDevice(&music);
    Loop().SetBackend(this);
    if (!DataDirIsSet()) {
        static int made = 0;
        dataDir = "/tmp/quorvel-data-" + std::to_string(::getuid()) + "-" + std::to_string(::getpid()) + "-" +
                  std::to_string(++made);
        SetDataDir(dataDir);
    }
}

CHeadlessPlatform::~CHeadlessPlatform()
{
    UninstallServices();
    if (!dataDir.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(dataDir, ec);
        if (DataDir() == dataDir)
            SetDataDir("");
    }
}

void CHeadlessPlatform::PollInput(std::vector<RawEvent>&)
{
    // Tests inject input into the loop directly.
}

void CHeadlessPlatform::Wait(uint32_t timeoutMs, std::vector<struct pollfd>& fds)
{
    ++waits;
    if (!advanceOnWait) {
        // Running as a program on real time: really wait.
        ::poll(fds.data(), fds.size(), static_cast<int>(timeoutMs));
        return;
    }
    if (!fds.empty())
        ::poll(fds.data(), fds.size(), 0);
    clock.Advance(timeoutMs);
}

}  // namespace plat
