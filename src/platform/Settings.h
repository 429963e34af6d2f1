// The settings store that stands in for the registry: keys (registry paths
// such as "Software\Brennix\Quorvel") holding named DWORD and string values.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <utility>

namespace plat {

class ISettings {
public:
    virtual ~ISettings() = default;
    virtual bool KeyExists(const std::string& key) = 0;
    virtual void CreateKey(const std::string& key) = 0;
    virtual std::optional<uint32_t> GetDword(const std::string& key, const std::string& name) = 0;
    virtual void SetDword(const std::string& key, const std::string& name, uint32_t value) = 0;
    // Several values of one key (made when missing) as one change.
    using DwordValues = std::initializer_list<std::pair<const char*, uint32_t>>;
    virtual void SetDwords(const std::string& key, DwordValues values) = 0;
    virtual std::optional<std::string> GetString(const std::string& key, const std::string& name) = 0;
    virtual void SetString(const std::string& key, const std::string& name, const std::string& value) = 0;
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
    void SetDwords(const std::string& key, DwordValues values) override;
    std::optional<std::string> GetString(const std::string& key, const std::string& name) override;
    void SetString(const std::string& key, const std::string& name, const std::string& value) override;

    // The file form: "[key]" lines, then "name=dword:N" or "name=sz:text".
    std::string Serialize() const;
    void Parse(const std::string& text);

protected:
    // After every call that changed the store (a value stored again as it
    // stands changes nothing).
    virtual void Changed() {}

private:
    struct Value {
        bool isDword = false;
        uint32_t dword = 0;
        std::string text;
    };
    // True when the value was new or different.
    bool StoreDword(const std::string& key, const std::string& name, uint32_t value);
    std::map<std::string, std::map<std::string, Value, CILess>, CILess> m_keys;
};

// The store kept in "${XDG_CONFIG_HOME:-~/.config}/quorvel/settings.ini",
// rewritten atomically (temporary file, then rename) after every change:
// once for a SetDwords, never for a value that stays as it was.
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
