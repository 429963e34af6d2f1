// The settings store that stands in for the registry: keys (registry paths
// such as "Software\Brennix\Quorvel") holding named DWORD and string values.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace plat {

class ISettings {
public:
    virtual ~ISettings() = default;
    virtual bool KeyExists(const std::string& key) = 0;
    virtual void CreateKey(const std::string& key) = 0;
    virtual std::optional<uint32_t> GetDword(const std::string& key, const std::string& name) = 0;
    virtual void SetDword(const std::string& key, const std::string& name, uint32_t value) = 0;
    virtual std::optional<std::string> GetString(const std::string& key, const std::string& name) = 0;
    virtual void SetString(const std::string& key, const std::string& name, const std::string& value) = 0;
    // The changes made between the two (they nest) count as one.
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
};

// BeginUpdate for the life of the object.
class CSettingsUpdate {
public:
    explicit CSettingsUpdate(ISettings& settings) : m_settings(settings) { m_settings.BeginUpdate(); }
    ~CSettingsUpdate() { m_settings.EndUpdate(); }
    CSettingsUpdate(const CSettingsUpdate&) = delete;
    CSettingsUpdate& operator=(const CSettingsUpdate&) = delete;

private:
    ISettings& m_settings;
};

ISettings& Settings();
void SetSettings(ISettings* settings);  // null restores an empty in-memory store

// Keys and value names compare case-insensitively, as the registry's do.
struct CILess {
    bool operator()(const std::string& a, const std::string& b) const;
};

class CMemorySettings : public ISettings {
public:
    bool KeyExists(const std::string& key) override;
    void CreateKey(const std::string& key) override;
    std::optional<uint32_t> GetDword(const std::string& key, const std::string& name) override;
    void SetDword(const std::string& key, const std::string& name, uint32_t value) override;
    std::optional<std::string> GetString(const std::string& key, const std::string& name) override;
    void SetString(const std::string& key, const std::string& name, const std::string& value) override;
    void BeginUpdate() override { ++m_updates; }
    void EndUpdate() override;

    // The file form: "[key]" lines, then "name=dword:N" or "name=sz:text".
    std::string Serialize() const;
    void Parse(const std::string& text);

protected:
    // After every call that changed the store (a value stored again as it
    // stands changes nothing), or at the end of an update that did.
    virtual void Changed() {}

private:
    struct Value {
        bool isDword = false;
        uint32_t dword = 0;
        std::string text;
    };
    void Touched();
    std::map<std::string, std::map<std::string, Value, CILess>, CILess> m_keys;
    int m_updates = 0;
    bool m_changedInUpdate = false;
};

// The store kept in "${XDG_CONFIG_HOME:-~/.config}/quorvel/settings.ini",
// rewritten atomically (temporary file, then rename) after every change:
// once for an update, never for a value that stays as it was.
class CFileSettings : public CMemorySettings {
public:
    explicit CFileSettings(std::string path);
    const std::string& Path() const { return m_path; }
    static std::string DefaultPath();

protected:
    void Changed() override;

private:
    std::string m_path;
};

// The locale value the game reads from "Control Panel\International",
// "Locale": the settings store's value when present, else "00000412" when
// LC_ALL, LC_MESSAGES or LANG (the first one set) starts with "ko", else
// "00000409".
std::string LocaleValue();

}  // namespace plat
