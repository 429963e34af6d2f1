#include "platform/Settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/Crt.h"
#include "platform/Process.h"

namespace plat {

namespace {
CMemorySettings g_defaultSettings;
ISettings* g_settings = &g_defaultSettings;

}  // namespace

ISettings& Settings() { return *g_settings; }
void SetSettings(ISettings* settings) { g_settings = settings ? settings : &g_defaultSettings; }

bool CILess::operator()(const std::string& a, const std::string& b) const
{
    return StrICmp(a.c_str(), b.c_str()) < 0;
}

bool CMemorySettings::KeyExists(const std::string& key) { return m_keys.count(key) != 0; }

void CMemorySettings::CreateKey(const std::string& key)
{
    if (m_keys.emplace(key, std::map<std::string, Value, CILess>{}).second)
        Touched();
}

std::optional<uint32_t> CMemorySettings::GetDword(const std::string& key, const std::string& name)
{
    auto k = m_keys.find(key);
    if (k == m_keys.end())
        return std::nullopt;
    auto v = k->second.find(name);
    if (v == k->second.end() || !v->second.isDword)
        return std::nullopt;
    return v->second.dword;
}

void CMemorySettings::Touched()
{
    if (m_updates > 0)
        m_changedInUpdate = true;
    else
        Changed();
}

void CMemorySettings::EndUpdate()
{
    if (m_updates == 0 || --m_updates > 0 || !m_changedInUpdate)
        return;
    m_changedInUpdate = false;
    Changed();
}

void CMemorySettings::SetDword(const std::string& key, const std::string& name, uint32_t value)
{
    auto& values = m_keys[key];
    auto at = values.find(name);
    if (at != values.end() && at->second.isDword && at->second.dword == value)
        return;
    Value& v = values[name];
    v.isDword = true;
    v.dword = value;
    v.text.clear();
    Touched();
}

std::optional<std::string> CMemorySettings::GetString(const std::string& key, const std::string& name)
{
    auto k = m_keys.find(key);
    if (k == m_keys.end())
        return std::nullopt;
    auto v = k->second.find(name);
    if (v == k->second.end() || v->second.isDword)
        return std::nullopt;
    return v->second.text;
}

void CMemorySettings::SetString(const std::string& key, const std::string& name, const std::string& value)
{
    auto& values = m_keys[key];
    auto at = values.find(name);
    if (at != values.end() && !at->second.isDword && at->second.text == value)
        return;
    Value& v = values[name];
    v.isDword = false;
    v.dword = 0;
    v.text = value;
    Touched();
}

std::string CMemorySettings::Serialize() const
{
    std::ostringstream out;
    for (const auto& [key, values] : m_keys) {
        out << '[' << key << "]\n";
        for (const auto& [name, v] : values) {
            if (v.isDword)
                out << name << "=dword:" << v.dword << '\n';
            else
                out << name << "=sz:" << v.text << '\n';
        }
        out << '\n';
    }
    return out.str();
}

void CMemorySettings::Parse(const std::string& text)
{
    std::istringstream in(text);
    std::string line;
    std::string key;
    bool haveKey = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
            key = line.substr(1, line.size() - 2);
            m_keys[key];
            haveKey = true;
            continue;
        }
        size_t eq = line.find('=');
        if (!haveKey || eq == std::string::npos || eq == 0)
            continue;  // not a value line: skipped
        std::string name = line.substr(0, eq);
        std::string rest = line.substr(eq + 1);
        Value v;
        if (rest.rfind("dword:", 0) == 0) {
            char* end = nullptr;
            errno = 0;
            unsigned long long n = std::strtoull(rest.c_str() + 6, &end, 0);
            if (errno != 0 || end == rest.c_str() + 6 || *end != '\0' || n > 0xFFFFFFFFull)
                continue;
            v.isDword = true;
            v.dword = static_cast<uint32_t>(n);
        } else if (rest.rfind("sz:", 0) == 0) {
            v.text = rest.substr(3);
        } else {
            v.text = rest;
        }
        m_keys[key][name] = v;
    }
}

CFileSettings::CFileSettings(std::string path) : m_path(std::move(path))
{
    std::ifstream in(m_path, std::ios::binary);
    if (in) {
        std::ostringstream ss;
        ss << in.rdbuf();
        Parse(ss.str());
    }
}

std::string CFileSettings::DefaultPath()
{
    std::string base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home && *home ? home : "/tmp") + "/.config";
    }
    return base + "/quorvel/settings.ini";
}

void CFileSettings::Changed()
{
    ReplaceFile(m_path, Serialize());
}

std::string LocaleValue()
{
    if (auto v = Settings().GetString("Control Panel\\International", "Locale"))
        return *v;
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* v = std::getenv(var);
        if (v && *v)
            return std::strncmp(v, "ko", 2) == 0 ? "00000412" : "00000409";
    }
    return "00000409";
}

}  // namespace plat
