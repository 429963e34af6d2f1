// The MCI command strings the game sends for its music, interpreted over the
// installed music device (Music.h):
//   open <file> [type sequencer] [alias <name>]
//   play <name> [from 0] [notify]
//   stop <name>
//   close <name> | close all
// Keywords and names are case-insensitive; a relative file name is taken
// from the process's runtime directory, where the game extracts its music.
// The sequencer opens standard MIDI files only.
// With "notify", the end of the song posts kMmMciNotify with
// kMciNotifySuccessful and the device id to the given window on the loop.
// Stop, close and a new play cancel that notice, including one already
// posted and not yet delivered.
#pragma once
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace plat {

class IMessageTarget;

// The results of MciSendString: 0 on success, else one of these.
constexpr int kMciErrUnrecognizedKeyword = 259;
constexpr int kMciErrUnrecognizedCommand = 261;
constexpr int kMciErrHardware = 262;
constexpr int kMciErrInvalidDeviceName = 263;
constexpr int kMciErrDeviceOpen = 265;
constexpr int kMciErrFileNotFound = 275;
constexpr int kMciErrMissingParameter = 273;
constexpr int kMciErrOutOfRange = 282;
constexpr int kMciErrInvalidFile = 296;
constexpr int kMciErrSequencerInUse = 337;

class CMci {
public:
    int SendString(const std::string& command, IMessageTarget* notify);
    // Closes the open device, as "close all".
    void CloseAll();
    // Sees every command string before it runs (tests record them).
    void SetTrace(std::function<void(const std::string&)> trace) { m_trace = std::move(trace); }
    // The device's end-of-song report; any thread.
    void OnFinished(uint64_t serial);

    // The id of the open device, 0 when none.
    uint32_t OpenDeviceId() const { return m_open ? m_deviceId : 0; }

private:
    int Open(const std::vector<std::string>& args);
    int Play(const std::vector<std::string>& args, IMessageTarget* notify);
    int Stop(const std::vector<std::string>& args);
    int Close(const std::vector<std::string>& args);
    bool IsOpenAlias(const std::string& name) const;
    // Forgets the pending notice and removes one already posted.
    void CancelNotify();

    std::function<void(const std::string&)> m_trace;
    bool m_open = false;
    std::string m_alias;
    uint32_t m_deviceId = 0;
    uint32_t m_lastDeviceId = 0;

    // Shared with the device's thread.
    std::mutex m_lock;
    bool m_armed = false;
    IMessageTarget* m_target = nullptr;
    uint32_t m_notifyDevice = 0;
    uint64_t m_armedSerial = 0;
    uint64_t m_lastFinished = 0;
};

CMci& Mci();

// mciSendString without a return buffer.
int MciSendString(const std::string& command, IMessageTarget* notify = nullptr);

}  // namespace plat
