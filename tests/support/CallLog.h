// The calls a recording fake received, in order, each as one line
// "Name(arg, arg, ...)": numbers in decimal, texts quoted, pointers as @hex.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

class CCallLog {
public:
    template <class... Args>
    static std::string Call(std::string_view name, const Args&... args)
    {
        std::string s(name);
        s += '(';
        bool first = true;
        ((s += first ? "" : ", ", first = false, s += Arg(args)), ...);
        s += ')';
        return s;
    }

    template <class... Args>
    void Add(std::string_view name, const Args&... args)
    {
        m_calls.push_back(Call(name, args...));
    }
    const std::vector<std::string>& Calls() const { return m_calls; }
    // The calls joined by line feeds.
    std::string Joined() const;
    // How many calls of that name were made.
    int Count(std::string_view name) const;
    void Clear() { m_calls.clear(); }

    static std::string Arg(const char* text) { return text ? "\"" + std::string(text) + "\"" : "null"; }
    static std::string Arg(const std::string& text) { return Arg(text.c_str()); }
    static std::string Arg(const void* p);
    template <class T, class = std::enable_if_t<std::is_integral_v<T> || std::is_enum_v<T>>>
    static std::string Arg(T v)
    {
        if constexpr (std::is_enum_v<T>)
            return std::to_string(static_cast<long long>(v));
        else if constexpr (std::is_same_v<T, bool>)
            return v ? "true" : "false";
        else if constexpr (std::is_signed_v<T>)
            return std::to_string(static_cast<long long>(v));
        else
            return std::to_string(static_cast<unsigned long long>(v));
    }

private:
    std::vector<std::string> m_calls;
};
