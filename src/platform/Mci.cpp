#include "platform/Mci.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "platform/Input.h"
#include "platform/Loop.h"
#include "platform/Music.h"
#include "platform/Process.h"

namespace plat {

namespace {

bool SameText(const std::string& a, const char* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return i == a.size() && b[i] == 0;
}

// Blank-separated words; a double-quoted word may hold blanks.
std::vector<std::string> Split(const std::string& s)
{
    std::vector<std::string> out;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
            ++i;
        if (i >= s.size())
            break;
        std::string word;
        if (s[i] == '"') {
            size_t end = s.find('"', i + 1);
            if (end == std::string::npos)
                end = s.size();
            word = s.substr(i + 1, end - i - 1);
            i = end + 1;
        } else {
            size_t end = s.find_first_of(" \t", i);
            if (end == std::string::npos)
                end = s.size();
            word = s.substr(i, end - i);
            i = end;
        }
        out.push_back(std::move(word));
    }
    return out;
}

bool IsReadableFile(const std::string& path)
{
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// A standard MIDI file starts with its "MThd" header chunk.
bool IsMidiFile(const std::string& path)
{
    char magic[4] = {};
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    const size_t got = std::fread(magic, 1, sizeof magic, f);
    std::fclose(f);
    return got == sizeof magic && std::memcmp(magic, "MThd", 4) == 0;
}

}  // namespace

CMci& Mci()
{
    // Never destroyed: the music player's destructor still closes through it
    // at exit.
    static CMci* mci = new CMci;
    return *mci;
}

int MciSendString(const std::string& command, IMessageTarget* notify)
{
    return Mci().SendString(command, notify);
}

int CMci::SendString(const std::string& command, IMessageTarget* notify)
{
    if (m_trace)
        m_trace(command);
    std::vector<std::string> args = Split(command);
    if (args.empty())
        return kMciErrUnrecognizedCommand;
    const std::string& verb = args[0];
    if (SameText(verb, "open"))
        return Open(args);
    if (SameText(verb, "play"))
        return Play(args, notify);
    if (SameText(verb, "stop"))
        return Stop(args);
    if (SameText(verb, "close"))
        return Close(args);
    return kMciErrUnrecognizedCommand;
}

bool CMci::IsOpenAlias(const std::string& name) const
{
    return m_open && SameText(name, m_alias.c_str());
}

void CMci::CancelNotify()
{
    uint32_t device = 0;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_notifyDevice != 0)
            device = m_notifyDevice;
        m_armed = false;
        m_target = nullptr;
        m_notifyDevice = 0;
    }
    // A notice the device's thread posted before the lock was taken.
    if (device != 0)
        Loop().RemovePosted(nullptr, kMmMciNotify, static_cast<intptr_t>(device));
}

int CMci::Open(const std::vector<std::string>& args)
{
    if (args.size() < 2)
        return kMciErrMissingParameter;
    std::string file = args[1];
    std::string alias = file;
    for (size_t i = 2; i < args.size(); ++i) {
        if (SameText(args[i], "type") && i + 1 < args.size()) {
            if (!SameText(args[++i], "sequencer"))
                return kMciErrInvalidDeviceName;
        } else if (SameText(args[i], "alias") && i + 1 < args.size()) {
            alias = args[++i];
        } else {
            return kMciErrUnrecognizedKeyword;
        }
    }
    if (m_open)
        return SameText(alias, m_alias.c_str()) ? kMciErrDeviceOpen : kMciErrSequencerInUse;
    if (file.empty())
        return kMciErrFileNotFound;
    if (file[0] != '/') {
        const std::string dir = RuntimeDir();
        if (dir.empty())
            return kMciErrFileNotFound;
        file = dir + "/" + file;
    }
    if (!IsReadableFile(file))
        return kMciErrFileNotFound;
    if (!IsMidiFile(file))
        return kMciErrInvalidFile;
    if (!Music().Open(file))
        return kMciErrHardware;
    m_open = true;
    m_alias = alias;
    m_deviceId = ++m_lastDeviceId;
    return 0;
}

int CMci::Play(const std::vector<std::string>& args, IMessageTarget* notify)
{
    if (args.size() < 2)
        return kMciErrMissingParameter;
    if (!IsOpenAlias(args[1]))
        return kMciErrInvalidDeviceName;
    bool fromStart = false;
    bool wantNotify = false;
    for (size_t i = 2; i < args.size(); ++i) {
        if (SameText(args[i], "from") && i + 1 < args.size()) {
            // Positions other than the start are not needed by the game.
            if (args[++i] != "0")
                return kMciErrOutOfRange;
            fromStart = true;
        } else if (SameText(args[i], "notify")) {
            wantNotify = true;
        } else {
            return kMciErrUnrecognizedKeyword;
        }
    }
    // A new play supersedes the notice of the previous one.
    CancelNotify();
    const uint64_t serial = Music().Play(fromStart);
    if (serial == 0)
        return kMciErrHardware;
    if (wantNotify && notify) {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_lastFinished == serial) {
            // It ended before we got here.
            m_notifyDevice = m_deviceId;
            Loop().PostMessage(notify, kMmMciNotify, kMciNotifySuccessful,
                               static_cast<intptr_t>(m_deviceId));
        } else {
            m_armed = true;
            m_target = notify;
            m_notifyDevice = m_deviceId;
            m_armedSerial = serial;
        }
    }
    return 0;
}

int CMci::Stop(const std::vector<std::string>& args)
{
    if (args.size() != 2)
        return args.size() < 2 ? kMciErrMissingParameter : kMciErrUnrecognizedKeyword;
    if (!IsOpenAlias(args[1]))
        return kMciErrInvalidDeviceName;
    CancelNotify();
    Music().Stop();
    return 0;
}

int CMci::Close(const std::vector<std::string>& args)
{
    if (args.size() != 2)
        return args.size() < 2 ? kMciErrMissingParameter : kMciErrUnrecognizedKeyword;
    if (SameText(args[1], "all")) {
        CloseAll();
        return 0;
    }
    if (!IsOpenAlias(args[1]))
        return kMciErrInvalidDeviceName;
    CloseAll();
    return 0;
}

void CMci::CloseAll()
{
    if (!m_open)
        return;
    CancelNotify();
    Music().Close();
    m_open = false;
    m_alias.clear();
    m_deviceId = 0;
}

void CMci::OnFinished(uint64_t serial)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_lastFinished = serial;
    if (!m_armed || serial != m_armedSerial)
        return;
    m_armed = false;
    Loop().PostMessage(m_target, kMmMciNotify, kMciNotifySuccessful, static_cast<intptr_t>(m_notifyDevice));
}

void MusicFinished(uint64_t serial) { Mci().OnFinished(serial); }

}  // namespace plat
